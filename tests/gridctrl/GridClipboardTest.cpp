#include "GridTestSupport.h"

#include <QClipboard>
#include <QGuiApplication>

#include <gtest/gtest.h>

namespace {

// Three editable columns after a fixed label column, two rows of text.
class GridClipboard : public ::testing::Test {
protected:
    void SetUp() override
    {
        grid.SetColumns(4);
        grid.SetFixedColumns(1);
        for (int row = 0; row < 3; ++row)
            grid.AppendRow(QStringLiteral("L%1").arg(row));
        for (int row = 0; row < 3; ++row) {
            for (int col = 1; col < 4; ++col)
                grid.SetCellText(row, col, QStringLiteral("%1%2").arg(QChar(u'a' + row)).arg(col));
        }
        ShowActive(grid);
        grid.SetFocusCell(0, 1);
    }

    RecordingGrid grid;
};

} // namespace

TEST_F(GridClipboard, copy_writesTabsBetweenColumnsAndLineBreaksBetweenRows)
{
    grid.SetSelectedRange(0, 1, 1, 2);
    QTest::keyClick(&grid, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("a1\ta2\nb1\tb2\n"));

    grid.SetSelectedRange(2, 3, 2, 3);
    QTest::keyClick(&grid, Qt::Key_Insert, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("c3\n"));
}

TEST_F(GridClipboard, copyOfAGappedSelection_leavesUnselectedCellsEmpty)
{
    grid.ClearSelection();
    grid.SetCellState(0, 1, GridCellState::Selected);
    grid.SetCellState(1, 3, GridCellState::Selected);
    EXPECT_EQ(grid.SelectionText(), QStringLiteral("a1\t\t\n\t\tb3\n"));
}

TEST_F(GridClipboard, paste_splitsLinesIntoRowsAndTabsOrCommasIntoColumns)
{
    QGuiApplication::clipboard()->setText(QStringLiteral("x1\tx2,x3\r\ny1,y2\n"));
    grid.SetFocusCell(1, 1);
    QTest::keyClick(&grid, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(grid.GetCellText(1, 1), QStringLiteral("x1"));
    EXPECT_EQ(grid.GetCellText(1, 2), QStringLiteral("x2"));
    EXPECT_EQ(grid.GetCellText(1, 3), QStringLiteral("x3"));
    EXPECT_EQ(grid.GetCellText(2, 1), QStringLiteral("y1"));
    EXPECT_EQ(grid.GetCellText(2, 2), QStringLiteral("y2"));
    // Cells the paste did not reach keep their text; the labels are never pasted over.
    EXPECT_EQ(grid.GetCellText(2, 3), QStringLiteral("c3"));
    EXPECT_EQ(grid.GetCellText(0, 1), QStringLiteral("a1"));
    EXPECT_EQ(grid.GetCellText(1, 0), QStringLiteral("L1"));
}

TEST_F(GridClipboard, pasteIntoTheLastColumn_keepsTheRestOfTheLine)
{
    grid.SetFocusCell(0, 3);
    QGuiApplication::clipboard()->setText(QStringLiteral("Moscow, Lenina 5"));
    QTest::keyClick(&grid, Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(grid.GetCellText(0, 3), QStringLiteral("Moscow, Lenina 5"));
}

TEST_F(GridClipboard, pastedTexts_goThroughValidationAndTheEndOfAnEdit)
{
    grid.validator = [](const QString& text) { return !text.contains(QLatin1Char('!')); };
    QGuiApplication::clipboard()->setText(QStringLiteral("ok\tbad!"));
    QTest::keyClick(&grid, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(grid.GetCellText(0, 1), QStringLiteral("ok"));
    EXPECT_EQ(grid.GetCellText(0, 2), QStringLiteral("a2"));
    // Each cell ends like a typed edit, with the text the cell shows.
    ASSERT_EQ(grid.ends.size(), 2U);
    EXPECT_EQ(grid.ends[0].text, QStringLiteral("ok"));
    EXPECT_EQ(grid.ends[1].text, QStringLiteral("a2"));
    EXPECT_FALSE(grid.CellAt(0, 1)->IsEditing());
    // The end of the edit finds the text already in the cell and does not validate again.
    EXPECT_EQ(grid.validations, 2);
}

TEST_F(GridClipboard, paste_onANonEditableGrid_changesNothing)
{
    grid.SetEditable(false);
    QGuiApplication::clipboard()->setText(QStringLiteral("zz"));
    QTest::keyClick(&grid, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(grid.GetCellText(0, 1), QStringLiteral("a1"));
    EXPECT_TRUE(grid.ends.empty());
}

TEST_F(GridClipboard, pasteWhileEditing_goesIntoTheEditor)
{
    QGuiApplication::clipboard()->setText(QStringLiteral("+7"));
    QTest::keyClick(&grid, Qt::Key_F2);
    CInPlaceEdit* edit = TextEditor(grid, 0, 1);
    ASSERT_NE(edit, nullptr);
    grid.OnEditPaste();
    EXPECT_EQ(edit->text(), QStringLiteral("a1+7"));
    EXPECT_EQ(grid.GetCellText(0, 2), QStringLiteral("a2"));
}

TEST_F(GridClipboard, cut_copiesAndClearsThroughTheValidatedSet)
{
    grid.SetSelectedRange(0, 1, 0, 2);
    QTest::keyClick(&grid, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("a1\ta2\n"));
    EXPECT_TRUE(grid.GetCellText(0, 1).isEmpty());
    EXPECT_TRUE(grid.GetCellText(0, 2).isEmpty());
    EXPECT_EQ(grid.ends.size(), 2U);
}

TEST_F(GridClipboard, selectAll_selectsEveryCellButTheLabels)
{
    QTest::keyClick(&grid, Qt::Key_A, Qt::ControlModifier);
    EXPECT_TRUE(grid.IsCellSelected(0, 1));
    EXPECT_TRUE(grid.IsCellSelected(2, 3));
    EXPECT_FALSE(grid.IsCellSelected(1, 0));
}

// ---- Delete ----------------------------------------------------------------------------

TEST_F(GridClipboard, delete_clearsTheSelectedCellsAndEndsEachLikeAnEdit)
{
    grid.SetSelectedRange(1, 1, 2, 1);
    QTest::keyClick(&grid, Qt::Key_Delete);
    EXPECT_TRUE(grid.GetCellText(1, 1).isEmpty());
    EXPECT_TRUE(grid.GetCellText(2, 1).isEmpty());
    EXPECT_EQ(grid.GetCellText(1, 2), QStringLiteral("b2"));
    ASSERT_EQ(grid.ends.size(), 2U);
    EXPECT_TRUE(grid.ends[0].cellTextAfter.isEmpty());
}

TEST_F(GridClipboard, delete_onAReadOnlyCell_doesNothing)
{
    grid.SetCellState(0, 1, GridCellState::ReadOnly | GridCellState::Selected);
    QTest::keyClick(&grid, Qt::Key_Delete);
    EXPECT_EQ(grid.GetCellText(0, 1), QStringLiteral("a1"));
    EXPECT_TRUE(grid.ends.empty());
}

TEST_F(GridClipboard, delete_rejectedByValidation_keepsTheText)
{
    grid.validator = [](const QString& text) { return !text.isEmpty(); };
    QTest::keyClick(&grid, Qt::Key_Delete);
    EXPECT_EQ(grid.GetCellText(0, 1), QStringLiteral("a1"));
    ASSERT_EQ(grid.ends.size(), 1U);
    EXPECT_EQ(grid.ends[0].text, QStringLiteral("a1"));
}

TEST_F(GridClipboard, validatedSet_vetoedAtTheBegin_changesNothing)
{
    QObject::connect(&grid, &CGridCtrl::beginLabelEdit,
                     [](int, int col, bool* veto) { *veto = col == 2; });
    EXPECT_TRUE(grid.SetCellTextValidated(0, 1, QStringLiteral("new")));
    EXPECT_FALSE(grid.SetCellTextValidated(0, 2, QStringLiteral("new")));
    EXPECT_EQ(grid.GetCellText(0, 2), QStringLiteral("a2"));
    EXPECT_EQ(grid.ends.size(), 1U);
}

TEST_F(GridClipboard, validatedSet_vetoedAtTheEnd_putsThePreviousTextBack)
{
    QObject::connect(&grid, &CGridCtrl::endLabelEdit, [](int, int, bool* veto) { *veto = true; });
    EXPECT_FALSE(grid.SetCellTextValidated(1, 1, QStringLiteral("new")));
    EXPECT_EQ(grid.GetCellText(1, 1), QStringLiteral("b1"));
}
