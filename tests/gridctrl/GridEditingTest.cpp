#include "GridTestSupport.h"

#include <QAbstractItemView>
#include <QStyle>

#include <gtest/gtest.h>

namespace {

// A shown, active grid in the parameter grid's layout with texts in its value cells.
class GridEditing : public ::testing::Test {
protected:
    void SetUp() override
    {
        BuildLabelGrid(grid, 3);
        for (int row = 0; row < 3; ++row)
            grid.SetCellText(row, 1, QStringLiteral("value%1").arg(row));
        ShowActive(grid);
        grid.SetFocusCell(0, 1);
    }

    CInPlaceEdit* editor(int row = 0) const { return TextEditor(grid, row, 1); }

    RecordingGrid grid;
};

} // namespace

// ---- what starts an edit and where the caret goes --------------------------------------

TEST_F(GridEditing, typedLetter_replacesTheTextWithIt)
{
    QTest::keyClick(&grid, Qt::Key_Q);
    ASSERT_NE(editor(), nullptr);
    EXPECT_EQ(editor()->text(), QStringLiteral("q"));
    EXPECT_FALSE(editor()->hasSelectedText());
    EXPECT_EQ(grid.beginKeys.back(), int('q'));
}

TEST_F(GridEditing, typedCharacterSharingANavigationCode_stillReplacesTheText)
{
    // '(' has the code of the down arrow; it must be typed, not treated as navigation.
    QTest::keyClick(&grid, '(');
    ASSERT_NE(editor(), nullptr);
    EXPECT_EQ(editor()->text(), QStringLiteral("("));
}

TEST_F(GridEditing, f2_putsTheCaretAfterTheText)
{
    QTest::keyClick(&grid, Qt::Key_F2);
    ASSERT_NE(editor(), nullptr);
    EXPECT_EQ(editor()->text(), QStringLiteral("value0"));
    EXPECT_FALSE(editor()->hasSelectedText());
    EXPECT_EQ(editor()->cursorPosition(), 6);
    EXPECT_EQ(grid.beginKeys.back(), GridKey::LButton);
    EXPECT_TRUE(editor()->hasFocus());
}

TEST_F(GridEditing, backspace_deletesTheLastCharacter)
{
    QTest::keyClick(&grid, Qt::Key_Backspace);
    ASSERT_NE(editor(), nullptr);
    EXPECT_EQ(editor()->text(), QStringLiteral("value"));
}

TEST_F(GridEditing, space_selectsTheWholeTextWithoutReplacingIt)
{
    QTest::keyClick(&grid, Qt::Key_Space);
    ASSERT_NE(editor(), nullptr);
    EXPECT_EQ(editor()->text(), QStringLiteral("value0"));
    EXPECT_EQ(editor()->selectedText(), QStringLiteral("value0"));
}

TEST_F(GridEditing, controlWithLetter_opensNothing)
{
    QTest::keyClick(&grid, Qt::Key_B, Qt::ControlModifier);
    EXPECT_EQ(editor(), nullptr);
}

TEST_F(GridEditing, clickOnTheFocusCell_opensTheEditorButAFirstClickOnlyMovesTheFocus)
{
    const QPoint second = grid.CellRect(1, 1).center();
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, second);
    EXPECT_EQ(grid.GetFocusCell(), (CCellID{1, 1}));
    EXPECT_EQ(editor(1), nullptr);

    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, second);
    ASSERT_NE(editor(1), nullptr);
    EXPECT_EQ(editor(1)->cursorPosition(), 6);
}

TEST_F(GridEditing, doubleClick_opensTheEditorAndTellsTheParent)
{
    std::vector<CCellID> clicked;
    QObject::connect(&grid, &CGridCtrl::cellDoubleClicked, [&clicked](int row, int col) {
        clicked.push_back({row, col});
    });
    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, grid.CellRect(2, 1).center());
    EXPECT_NE(editor(2), nullptr);
    ASSERT_EQ(clicked.size(), 1U);
    EXPECT_EQ(clicked.front(), (CCellID{2, 1}));
}

TEST_F(GridEditing, readOnlyCellNonEditableGridAndFixedCell_openNothing)
{
    grid.SetCellState(0, 1, GridCellState::ReadOnly);
    QTest::keyClick(&grid, Qt::Key_F2);
    EXPECT_EQ(editor(0), nullptr);

    grid.SetEditable(false);
    grid.SetFocusCell(1, 1);
    QTest::keyClick(&grid, Qt::Key_A);
    EXPECT_EQ(editor(1), nullptr);

    grid.SetEditable(true);
    grid.BeginCellEdit(1, 0, QPoint(-1, -1), GridKey::LButton);
    EXPECT_EQ(grid.CellAt(1, 0)->GetEditWnd(), nullptr);
}

// ---- ending an edit --------------------------------------------------------------------

TEST_F(GridEditing, escape_putsTheTextBackAndStillEndsTheEdit)
{
    QTest::keyClick(&grid, Qt::Key_X);
    ASSERT_NE(editor(), nullptr);
    QTest::keyClick(editor(), Qt::Key_Escape);
    EXPECT_EQ(grid.GetCellText(0, 1), QStringLiteral("value0"));
    ASSERT_EQ(grid.ends.size(), 1U);
    EXPECT_EQ(grid.ends[0].text, QStringLiteral("value0"));
    EXPECT_FALSE(grid.CellAt(0, 1)->IsEditing());
    EXPECT_TRUE(grid.hasFocus());
}

TEST_F(GridEditing, enter_keepsTheTypedTextAndMarksTheCell)
{
    grid.CellAt(0, 1)->SetState(0);
    QTest::keyClick(&grid, Qt::Key_5);
    QTest::keyClicks(editor(), QStringLiteral("00"));
    QTest::keyClick(editor(), Qt::Key_Return);
    EXPECT_EQ(grid.GetCellText(0, 1), QStringLiteral("500"));
    EXPECT_TRUE(grid.GetCellState(0, 1) & GridCellState::Modified);
    ASSERT_EQ(grid.ends.size(), 1U);
    // Enter does not move on.
    EXPECT_EQ(grid.GetFocusCell(), (CCellID{0, 1}));
}

TEST_F(GridEditing, rejectedText_leavesThePreviousTextAndState)
{
    grid.SetCellText(0, 1, QStringLiteral("42"));
    grid.CellAt(0, 1)->SetState(0);
    grid.validator = [](const QString& text) {
        bool number = false;
        text.toInt(&number);
        return number;
    };
    QTest::keyClick(&grid, Qt::Key_F2);
    QTest::keyClicks(editor(), QStringLiteral("abc"));
    QTest::keyClick(editor(), Qt::Key_Return);
    EXPECT_EQ(grid.GetCellText(0, 1), QStringLiteral("42"));
    EXPECT_FALSE(grid.GetCellState(0, 1) & GridCellState::Modified);
    ASSERT_EQ(grid.ends.size(), 1U);
    EXPECT_EQ(grid.ends[0].text, QStringLiteral("42abc"));
    EXPECT_EQ(grid.ends[0].cellTextAfter, QStringLiteral("42"));
}

TEST_F(GridEditing, endNotification_arrivesOnlyOnce)
{
    QTest::keyClick(&grid, Qt::Key_F2);
    QPointer<CInPlaceEdit> open = editor();
    ASSERT_TRUE(open);
    open->EndEdit();
    open->EndEdit(GridKey::Enter);
    grid.EndFocusEdit();
    EXPECT_EQ(grid.ends.size(), 1U);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(open);
}

TEST_F(GridEditing, losingTheFocus_endsTheEdit)
{
    QTest::keyClick(&grid, Qt::Key_F2);
    QTest::keyClicks(editor(), QStringLiteral("!"));
    grid.setFocus(Qt::MouseFocusReason);
    ASSERT_EQ(grid.ends.size(), 1U);
    EXPECT_EQ(grid.GetCellText(0, 1), QStringLiteral("value0!"));
}

TEST_F(GridEditing, arrowKeys_endATypedEditButMoveTheCaretAfterF2)
{
    QTest::keyClick(&grid, Qt::Key_F2);
    QTest::keyClick(editor(), Qt::Key_Left);
    QTest::keyClick(editor(), Qt::Key_Down);
    QTest::keyClick(editor(), Qt::Key_Home);
    ASSERT_NE(editor(), nullptr);
    EXPECT_EQ(editor()->cursorPosition(), 0);
    EXPECT_TRUE(grid.ends.empty());
    EXPECT_EQ(grid.GetFocusCell(), (CCellID{0, 1}));

    // Control with an arrow ends even an F2 edit.
    QTest::keyClick(editor(), Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(grid.ends.size(), 1U);
    EXPECT_EQ(grid.GetFocusCell(), (CCellID{1, 1}));
    grid.EndFocusEdit();

    grid.ends.clear();
    QTest::keyClick(&grid, Qt::Key_Z);
    ASSERT_NE(editor(1), nullptr);
    QTest::keyClick(editor(1), Qt::Key_Down);
    EXPECT_EQ(grid.GetCellText(1, 1), QStringLiteral("z"));
    // The next row's editor opens with its text selected.
    ASSERT_NE(editor(2), nullptr);
    EXPECT_EQ(editor(2)->selectedText(), QStringLiteral("value2"));
}

// ---- Tab continuing into the next cell -------------------------------------------------

TEST_F(GridEditing, tab_storesAndOpensTheNextRowsValueCell)
{
    QTest::keyClick(&grid, Qt::Key_N);
    QTest::keyClick(editor(), Qt::Key_Tab);
    EXPECT_EQ(grid.GetCellText(0, 1), QStringLiteral("n"));
    ASSERT_EQ(grid.ends.size(), 1U);
    EXPECT_EQ(grid.GetFocusCell(), (CCellID{1, 1}));
    ASSERT_NE(editor(1), nullptr);
    EXPECT_EQ(editor(1)->selectedText(), QStringLiteral("value1"));
    EXPECT_EQ(grid.beginKeys.back(), GridKey::Tab);
}

TEST_F(GridEditing, tabOnTheLastCell_staysAndReopensTheSameEditor)
{
    grid.SetFocusCell(2, 1);
    QTest::keyClick(&grid, Qt::Key_F2);
    QTest::keyClick(editor(2), Qt::Key_Tab);
    EXPECT_EQ(grid.GetFocusCell(), (CCellID{2, 1}));
    ASSERT_NE(editor(2), nullptr);
    EXPECT_EQ(editor(2)->selectedText(), QStringLiteral("value2"));
    EXPECT_EQ(grid.ends.size(), 1U);
}

TEST_F(GridEditing, shiftTab_goesBackToThePreviousRowButNotIntoTheLabels)
{
    grid.SetFocusCell(1, 1);
    QTest::keyClick(&grid, Qt::Key_F2);
    QTest::keyClick(editor(1), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(grid.GetFocusCell(), (CCellID{0, 1}));
    ASSERT_NE(editor(0), nullptr);
    QTest::keyClick(editor(0), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(grid.GetFocusCell(), (CCellID{0, 1}));
}

TEST_F(GridEditing, tabOnTheGrid_skipsColumnsOfZeroWidth)
{
    grid.EndFocusEdit();
    grid.SetColumns(4);
    grid.ResizeColumn(2, 0);
    grid.SetFocusCell(0, 1);
    QTest::keyClick(&grid, Qt::Key_Tab);
    EXPECT_EQ(grid.GetFocusCell(), (CCellID{0, 3}));
    QTest::keyClick(&grid, Qt::Key_Tab);
    EXPECT_EQ(grid.GetFocusCell(), (CCellID{1, 1}));
    QTest::keyClick(&grid, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(grid.GetFocusCell(), (CCellID{0, 3}));
}

// ---- vetoes ----------------------------------------------------------------------------

TEST_F(GridEditing, beginVeto_opensNothing)
{
    QObject::connect(&grid, &CGridCtrl::beginLabelEdit, [](int, int, bool* veto) { *veto = true; });
    QTest::keyClick(&grid, Qt::Key_F2);
    EXPECT_EQ(editor(), nullptr);
}

TEST_F(GridEditing, endVeto_putsThePreviousTextBack)
{
    QObject::connect(&grid, &CGridCtrl::endLabelEdit, [](int, int, bool* veto) { *veto = true; });
    QTest::keyClick(&grid, Qt::Key_Q);
    QTest::keyClick(editor(), Qt::Key_Return);
    EXPECT_EQ(grid.GetCellText(0, 1), QStringLiteral("value0"));
}

// ---- the drop-down editor --------------------------------------------------------------

TEST(GridCombo, optionMatch_isTheFirstCaseInsensitivePrefix)
{
    const QStringList options{QStringLiteral("OFF"), QStringLiteral("1 min"),
                              QStringLiteral("10 min"), QStringLiteral("Off-line")};
    EXPECT_EQ(CInPlaceList::MatchOption(options, QStringLiteral("off")), 0);
    EXPECT_EQ(CInPlaceList::MatchOption(options, QStringLiteral("1")), 1);
    EXPECT_EQ(CInPlaceList::MatchOption(options, QStringLiteral("10")), 2);
    EXPECT_EQ(CInPlaceList::MatchOption(options, QStringLiteral("OFF-")), 3);
    EXPECT_EQ(CInPlaceList::MatchOption(options, QStringLiteral("x")), -1);
    EXPECT_EQ(CInPlaceList::MatchOption({}, QStringLiteral("x")), -1);
}

namespace {
class GridComboEditing : public ::testing::Test {
protected:
    void SetUp() override
    {
        BuildLabelGrid(grid, 2);
        grid.SetCellClass<CGridCellCombo>(0, 1);
        auto* combo = static_cast<CGridCellCombo*>(grid.CellAt(0, 1));
        combo->SetOptions({QStringLiteral("TCP"), QStringLiteral("UDP")});
        combo->SetStyle(CGridCellCombo::DropDown);
        ShowActive(grid);
        grid.SetFocusCell(0, 1);
    }

    RecordingGrid grid;
};
} // namespace

TEST_F(GridComboEditing, cellText_selectsTheMatchingOption)
{
    grid.SetCellText(0, 1, QStringLiteral("udp"));
    QTest::keyClick(&grid, Qt::Key_F2);
    CInPlaceList* list = ListEditor(grid, 0, 1);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->currentIndex(), 1);
    EXPECT_EQ(list->count(), 2);
    EXPECT_EQ(list->itemText(0), QStringLiteral("TCP"));
    list->EndEdit(GridKey::Enter);
    EXPECT_EQ(grid.GetCellText(0, 1), QStringLiteral("UDP"));
}

TEST_F(GridComboEditing, unmatchedText_isShownWithNoOptionSelected)
{
    grid.SetCellText(0, 1, QStringLiteral("SCTP"));
    QTest::keyClick(&grid, Qt::Key_F2);
    CInPlaceList* list = ListEditor(grid, 0, 1);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->currentIndex(), -1);
    EXPECT_EQ(list->currentText(), QStringLiteral("SCTP"));
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(grid.GetCellText(0, 1), QStringLiteral("SCTP"));
}

TEST_F(GridComboEditing, typedCharacter_replacesTheEditField)
{
    grid.SetCellText(0, 1, QStringLiteral("TCP"));
    QTest::keyClick(&grid, Qt::Key_U);
    CInPlaceList* list = ListEditor(grid, 0, 1);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->lineEdit()->text(), QStringLiteral("u"));
    QTest::keyClick(list, Qt::Key_Escape);
    EXPECT_EQ(grid.GetCellText(0, 1), QStringLiteral("TCP"));
    EXPECT_EQ(grid.ends.size(), 1U);
}

TEST_F(GridComboEditing, pureListWithoutMatch_keepsTheCellText)
{
    static_cast<CGridCellCombo*>(grid.CellAt(0, 1))->SetStyle(CGridCellCombo::DropDownList);
    grid.SetCellText(0, 1, QStringLiteral("old"));
    QTest::keyClick(&grid, Qt::Key_F2);
    CInPlaceList* list = ListEditor(grid, 0, 1);
    ASSERT_NE(list, nullptr);
    EXPECT_FALSE(list->isEditable());
    list->EndEdit(GridKey::Enter);
    EXPECT_EQ(grid.GetCellText(0, 1), QStringLiteral("old"));
}

TEST_F(GridComboEditing, droppedWidth_followsTheWidestOptionUpTo200Pixels)
{
    QTest::keyClick(&grid, Qt::Key_F2);
    CInPlaceList* list = ListEditor(grid, 0, 1);
    ASSERT_NE(list, nullptr);
    const int narrow = list->GetDroppedWidth();
    EXPECT_GT(narrow, list->fontMetrics().horizontalAdvance(QStringLiteral("UDP")));
    list->EndEdit();

    static_cast<CGridCellCombo*>(grid.CellAt(0, 1))->SetOptions({QString(300, QLatin1Char('W'))});
    QTest::keyClick(&grid, Qt::Key_F2);
    list = ListEditor(grid, 0, 1);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->GetDroppedWidth(), 200);
    EXPECT_EQ(list->GetDroppedHeight() - 5 * grid.GetRowHeight(0),
              list->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, list));
}

TEST_F(GridComboEditing, tab_continuesFromTheComboIntoTheNextRow)
{
    QTest::keyClick(&grid, Qt::Key_F2);
    QTest::keyClick(ListEditor(grid, 0, 1), Qt::Key_Tab);
    EXPECT_EQ(grid.GetFocusCell(), (CCellID{1, 1}));
    EXPECT_NE(TextEditor(grid, 1, 1), nullptr);
}

// ---- title tips ------------------------------------------------------------------------

TEST_F(GridEditing, titleTip_showsTheWholeTextOfACutCellAndHidesOnAKey)
{
    const QString longText(80, QLatin1Char('m'));
    grid.SetCellText(1, 1, longText);
    // Earlier simulated clicks may leave the simulated button state pressed.
    if (QApplication::mouseButtons() != Qt::NoButton)
        QTest::mouseRelease(grid.viewport(), Qt::LeftButton, {}, grid.CellRect(2, 1).center());
    QTest::mouseMove(grid.viewport(), grid.CellRect(1, 1).center());
    QCoreApplication::processEvents();
    ASSERT_TRUE(grid.TitleTip()->isVisible());
    EXPECT_EQ(grid.TitleTip()->GetText(), longText);

    QTest::keyClick(&grid, Qt::Key_Right);
    EXPECT_FALSE(grid.TitleTip()->isVisible());

    // A text that fits gets no tip.
    QTest::mouseMove(grid.viewport(), grid.CellRect(0, 1).center());
    QCoreApplication::processEvents();
    EXPECT_FALSE(grid.TitleTip()->isVisible());
}

TEST_F(GridComboEditing, pickFromTheOpenListEndsTheEditAtOnce)
{
    // F2 opens the list; Down then Enter in it, or a click on an entry, is the whole edit.
    for (const bool byMouse : {false, true}) {
        grid.SetCellText(0, 1, QStringLiteral("TCP"));
        QTest::keyClick(&grid, Qt::Key_F2);
        CInPlaceList* list = ListEditor(grid, 0, 1);
        ASSERT_NE(list, nullptr);
        ASSERT_TRUE(list->view()->isVisible());
        if (byMouse) {
            const QModelIndex udp = list->view()->model()->index(1, 0);
            QTest::mouseClick(list->view()->viewport(), Qt::LeftButton, {},
                              list->view()->visualRect(udp).center());
        } else {
            QTest::keyClick(list->view(), Qt::Key_Down);
            QTest::keyClick(list->view(), Qt::Key_Return);
        }
        EXPECT_EQ(ListEditor(grid, 0, 1), nullptr) << byMouse;
        EXPECT_EQ(grid.GetCellText(0, 1), QStringLiteral("UDP")) << byMouse;
        QCoreApplication::processEvents();
    }
}
