#include "GridTestSupport.h"

#include "gridctrl/CGridDefaultCell.h"

#include <QFontMetrics>

#include <gtest/gtest.h>

// ---- structure and out-of-range answers ------------------------------------------------

TEST(GridStructure, labelLayout_fixesColumnZeroAndNumbersRowsInOrder)
{
    CGridCtrl grid;
    grid.SetColumns(2);
    grid.SetFixedColumns(1);
    grid.ResizeColumn(0, 250);
    EXPECT_EQ(grid.AppendRow(QStringLiteral("W")), 0);
    EXPECT_EQ(grid.AppendRow(QStringLiteral("K")), 1);
    EXPECT_EQ(grid.AppendRow(QString()), 2);

    EXPECT_EQ(grid.GetRowCount(), 3);
    EXPECT_EQ(grid.GetColumnWidth(0), 250);
    EXPECT_EQ(grid.GetCellText(1, 0), QStringLiteral("K"));
    EXPECT_EQ(grid.GetCellState(1, 0), GridCellState::Fixed | GridCellState::FixedCol);
    EXPECT_EQ(grid.GetCellState(1, 1), 0U);
    // A row without heading text is as high as a default cell.
    EXPECT_EQ(grid.GetRowHeight(2), grid.GetDefaultCell(false, false)->GetHeight());
}

TEST(GridStructure, appendRow_onGridWithoutColumns_createsOneColumn)
{
    CGridCtrl grid;
    EXPECT_EQ(grid.AppendRow(QStringLiteral("only")), 0);
    EXPECT_EQ(grid.GetColumnCount(), 1);
    EXPECT_EQ(grid.GetCellText(0, 0), QStringLiteral("only"));
}

TEST(GridStructure, appendRow_dropsFocusAndSelection)
{
    CGridCtrl grid;
    BuildLabelGrid(grid, 2);
    grid.SetFocusCell(1, 1);
    ASSERT_TRUE(grid.IsCellSelected(1, 1));
    grid.AppendRow(QStringLiteral("new"));
    EXPECT_FALSE(grid.GetFocusCell().IsValid());
    EXPECT_FALSE(grid.IsCellSelected(1, 1));
}

TEST(GridStructure, outOfRange_answersNullFalseOrEmpty)
{
    CGridCtrl grid;
    BuildLabelGrid(grid, 2);
    for (const auto& [row, col] : {std::pair{-1, 0}, {2, 0}, {0, -1}, {0, 2}, {99, 99}}) {
        EXPECT_EQ(grid.CellAt(row, col), nullptr);
        EXPECT_FALSE(grid.SetCellText(row, col, QStringLiteral("x")));
        EXPECT_TRUE(grid.GetCellText(row, col).isEmpty());
        EXPECT_FALSE(grid.SetCellData(row, col, 5));
        EXPECT_EQ(grid.GetCellData(row, col), 0U);
        EXPECT_FALSE(grid.SetCellState(row, col, GridCellState::ReadOnly));
        EXPECT_EQ(grid.GetCellState(row, col), 0U);
        EXPECT_FALSE(grid.SetCellClass<CGridCellCombo>(row, col));
        EXPECT_FALSE(grid.SetCellTextValidated(row, col, QStringLiteral("x")));
        grid.BeginCellEdit(row, col, QPoint(-1, -1), GridKey::LButton);
    }
    EXPECT_FALSE(grid.ResizeColumn(2, 10));
    EXPECT_FALSE(grid.ResizeColumn(0, -1));
    EXPECT_EQ(grid.GetColumnWidth(7), 0);
    EXPECT_EQ(grid.GetRowHeight(-3), 0);
    EXPECT_FALSE(grid.SetColumns(-1));
    EXPECT_EQ(grid.GetColumnCount(), 2);
}

TEST(GridStructure, clear_emptiesEverythingAndMarksModified)
{
    CGridCtrl grid;
    BuildLabelGrid(grid, 3);
    grid.SetFixedRows(1);
    grid.SetFocusCell(2, 1);
    grid.SetModified(false);

    EXPECT_TRUE(grid.Clear());
    EXPECT_EQ(grid.GetRowCount(), 0);
    EXPECT_EQ(grid.GetColumnCount(), 0);
    EXPECT_EQ(grid.GetFixedRowCount(), 0);
    EXPECT_EQ(grid.GetFixedColumnCount(), 0);
    EXPECT_FALSE(grid.GetFocusCell().IsValid());
    EXPECT_EQ(grid.CellAt(0, 0), nullptr);
    EXPECT_TRUE(grid.GetModified());
    // The grid is usable again afterwards.
    EXPECT_EQ(grid.AppendRow(QStringLiteral("again")), 0);
}

TEST(GridStructure, newColumns_getCellsOfTheCurrentClassInEveryRow)
{
    CGridCtrl grid;
    BuildLabelGrid(grid, 3);
    grid.SetDefaultCellType<CGridCellCombo>();
    grid.SetColumns(3);
    for (int row = 0; row < 3; ++row) {
        EXPECT_NE(dynamic_cast<CGridCellCombo*>(grid.CellAt(row, 2)), nullptr) << row;
        EXPECT_EQ(dynamic_cast<CGridCellCombo*>(grid.CellAt(row, 1)), nullptr) << row;
    }
}

TEST(GridStructure, shrinkingColumns_dropsFocusAndSelectionBeyondTheEnd)
{
    CGridCtrl grid;
    BuildLabelGrid(grid, 2);
    grid.SetColumns(3);
    grid.SetFocusCell(1, 2);
    grid.SetColumns(2);
    EXPECT_FALSE(grid.GetFocusCell().IsValid());
    EXPECT_FALSE(grid.IsCellSelected(1, 2));
    EXPECT_EQ(grid.CellAt(1, 2), nullptr);
}

TEST(GridStructure, fixedColumnsBeyondCount_growTheGrid)
{
    CGridCtrl grid;
    EXPECT_TRUE(grid.SetFixedColumns(2));
    EXPECT_EQ(grid.GetColumnCount(), 2);
    EXPECT_FALSE(grid.SetFixedColumns(-1));
}

TEST(GridStructure, fixedCells_areNeverFocusedNorSelected)
{
    CGridCtrl grid;
    BuildLabelGrid(grid, 2);
    grid.SetFocusCell(0, 0);
    EXPECT_FALSE(grid.GetFocusCell().IsValid());
    grid.SetCellState(0, 0, GridCellState::Selected);
    EXPECT_FALSE(grid.IsCellSelected(0, 0));
    grid.SelectAllCells();
    EXPECT_FALSE(grid.IsCellSelected(1, 0));
    EXPECT_TRUE(grid.IsCellSelected(1, 1));
}

TEST(GridStructure, cellState_addsWhatTheGridTracks)
{
    CGridCtrl grid;
    BuildLabelGrid(grid, 2);
    grid.SetCellState(0, 1, GridCellState::ReadOnly | GridCellState::Selected);
    EXPECT_TRUE(grid.IsCellSelected(0, 1));
    EXPECT_EQ(grid.CellAt(0, 1)->GetState(), GridCellState::ReadOnly);

    grid.SetCellState(0, 1, GridCellState::ReadOnly);
    EXPECT_FALSE(grid.IsCellSelected(0, 1));
    grid.SetFocusCell(1, 1);
    EXPECT_EQ(grid.GetCellState(1, 1), GridCellState::Focused | GridCellState::Selected);
}

TEST(GridStructure, setCellText_marksCellAndGridModified)
{
    CGridCtrl grid;
    BuildLabelGrid(grid, 1);
    grid.SetModified(false);
    EXPECT_TRUE(grid.SetCellText(0, 1, QStringLiteral("12")));
    EXPECT_TRUE(grid.GetCellState(0, 1) & GridCellState::Modified);
    EXPECT_TRUE(grid.GetModified());
}

TEST(GridStructure, fontChange_recomputesDefaultCellMetrics)
{
    CGridCtrl grid;
    QFont big = grid.font();
    big.setPixelSize(30);
    grid.setFont(big);
    const QFontMetrics metrics(big);
    const CGridDefaultCell* cell = grid.GetDefaultCell(false, true);
    EXPECT_EQ(cell->GetMargin(), metrics.horizontalAdvance(QLatin1Char(' ')));
    EXPECT_EQ(cell->GetHeight(), metrics.height() * 3 / 2);
    EXPECT_EQ(cell->GetWidth(), metrics.horizontalAdvance(QStringLiteral(" XXXXXXXXXXXX ")));
    // Rows appended afterwards use the new font for their height.
    BuildLabelGrid(grid, 1);
    EXPECT_GE(grid.GetRowHeight(0), metrics.height());
}

// ---- replacing a cell's class ----------------------------------------------------------

TEST(GridCellClass, replacement_keepsEverythingTheCellHeld)
{
    CGridCtrl grid;
    BuildLabelGrid(grid, 2);
    CGridCellBase* old = grid.CellAt(1, 1);
    old->SetText(QStringLiteral("TCP"));
    old->SetData(0xBEEF);
    old->SetState(GridCellState::ReadOnly | GridCellState::Modified);
    old->SetFormat(GridFormat::Right | GridFormat::SingleLine);
    old->SetTextClr(Qt::red);
    old->SetBackClr(Qt::yellow);
    QFont own = grid.font();
    own.setItalic(true);
    old->SetFont(&own);
    old->SetMargin(7);

    ASSERT_TRUE(grid.SetCellClass<CGridCellCombo>(1, 1));
    auto* combo = dynamic_cast<CGridCellCombo*>(grid.CellAt(1, 1));
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->GetText(), QStringLiteral("TCP"));
    EXPECT_EQ(combo->GetData(), 0xBEEFU);
    EXPECT_EQ(combo->GetState(), GridCellState::ReadOnly | GridCellState::Modified);
    EXPECT_EQ(combo->GetFormat(), GridFormat::Right | GridFormat::SingleLine);
    EXPECT_EQ(combo->GetTextClr(), QColor(Qt::red));
    EXPECT_EQ(combo->GetBackClr(), QColor(Qt::yellow));
    ASSERT_NE(combo->GetOwnFont(), nullptr);
    EXPECT_TRUE(combo->GetOwnFont()->italic());
    EXPECT_EQ(combo->GetMargin(), 7);
    // A new combo cell is an editable drop-down with no options.
    EXPECT_EQ(combo->GetStyle(), CGridCellCombo::DropDown);
    EXPECT_TRUE(combo->GetOptions().isEmpty());
    // The neighbours are untouched.
    EXPECT_EQ(dynamic_cast<CGridCellCombo*>(grid.CellAt(0, 1)), nullptr);
}

TEST(GridCellClass, cellWithoutOwnFont_keepsFollowingTheGridFont)
{
    CGridCtrl grid;
    BuildLabelGrid(grid, 1);
    grid.SetCellClass<CGridCellCombo>(0, 1);
    EXPECT_EQ(grid.CellAt(0, 1)->GetOwnFont(), nullptr);
    QFont changed = grid.font();
    changed.setPixelSize(25);
    grid.setFont(changed);
    ASSERT_NE(grid.CellAt(0, 1)->GetFont(), nullptr);
    EXPECT_EQ(grid.CellAt(0, 1)->GetFont()->pixelSize(), 25);
}

TEST(GridCellClass, replacingAnEditedCell_keepsTheTypedText)
{
    CGridCtrl grid;
    BuildLabelGrid(grid, 1);
    ShowActive(grid);
    grid.SetFocusCell(0, 1);
    QTest::keyClick(&grid, Qt::Key_7);
    ASSERT_NE(TextEditor(grid, 0, 1), nullptr);
    ASSERT_TRUE(grid.SetCellClass<CGridCellCombo>(0, 1));
    EXPECT_EQ(grid.GetCellText(0, 1), QStringLiteral("7"));
    EXPECT_FALSE(grid.CellAt(0, 1)->IsEditing());
}

// ---- lifetime --------------------------------------------------------------------------

TEST(GridLifetime, destroyingTheGridWithAnOpenEditor_closesItWithoutReporting)
{
    auto* grid = new RecordingGrid;
    BuildLabelGrid(*grid, 1);
    ShowActive(*grid);
    grid->SetFocusCell(0, 1);
    QTest::keyClick(grid, Qt::Key_F2);
    QPointer<CInPlaceEdit> editor = TextEditor(*grid, 0, 1);
    ASSERT_TRUE(editor);
    delete grid;
    EXPECT_FALSE(editor);
}

TEST(GridLifetime, clearWhileEditing_endsTheEditFirst)
{
    RecordingGrid grid;
    BuildLabelGrid(grid, 2);
    ShowActive(grid);
    grid.SetFocusCell(1, 1);
    QTest::keyClick(&grid, Qt::Key_9);
    QPointer<CInPlaceEdit> editor = TextEditor(grid, 1, 1);
    ASSERT_TRUE(editor);
    grid.Clear();
    ASSERT_EQ(grid.ends.size(), 1U);
    EXPECT_EQ(grid.ends[0].text, QStringLiteral("9"));
    EXPECT_FALSE(editor && editor->isVisible());
    EXPECT_EQ(grid.GetRowCount(), 0);
}
