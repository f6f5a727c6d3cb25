#include "tests/app/MainWindowFixture.h"
#include "tests/support/TreeWaits.h"

#include <QComboBox>
#include <QDate>
#include <QFileInfo>
#include <QStatusBar>

namespace {

QString dayPath(const QString& workshop, const QString& vehicle, const QString& day)
{
    return workshop + QStringLiteral("/RX902/") + vehicle + u'/' + day;
}

void clickNode(cTree* tree, TreeNode node)
{
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(node).center());
}

// Types a value into a cell and ends the edit with Enter.
void enterValue(cTDGrid* grid, int row, const QString& value)
{
    typeKeys(grid, row, value);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
}

// Selection after a save.

TEST_F(MainWindowTest, saveSelectsTheDayJustWrittenInItsOwnWorkshopAndSaysSo)
{
    QTemporaryDir root;
    const QString first = root.filePath(QStringLiteral("first"));
    const QString second = root.filePath(QStringLiteral("second"));
    writeCalibration(first, QStringLiteral("DUP"), QStringLiteral("20210101"), 1);
    writeCalibration(second, QStringLiteral("DUP"), QStringLiteral("20210101"), 2);
    registerWorkshops({first, second});
    CVelmoraApp app;
    CMainFrame* frame = startShown(app);
    ASSERT_NE(frame, nullptr);
    cTree* tree = frame->tree();
    QAction* save = actionFor(frame->menuBar(), CommandId::SaveCalibration);
    ASSERT_NE(save, nullptr);

    // Both workshops know DUP; each save must stay with the workshop it was written to.
    const struct {
        int workshop;
        QString w;
    } steps[] = {{0, QStringLiteral("11")}, {1, QStringLiteral("22")}};
    for (const auto& step : steps) {
        tree->SelectNode(tree->topLevelItem(step.workshop)->child(0)->child(0));
        EXPECT_TRUE(WaitForTree(*tree));
        typeKeys(app.grid(), kRowW, step.w);
        save->trigger();
        EXPECT_EQ(tree->GetNodePath(),
                  dayPath(step.workshop ? second : first, QStringLiteral("DUP"), TodayStamp()));
        EXPECT_EQ(app.grid()->GetCellText(kRowW, 1), step.w);
        // A W of two digits is surely mistyped: it is saved, and the status bar says so.
        EXPECT_EQ(frame->statusBar()->currentMessage(),
                  Lang(StringId::CalibrationSaved)
                          .arg(QStringLiteral("DUP"),
                               QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy"))) +
                      u' ' +
                      Lang(StringId::SavedWithUnusualValues).arg(1).arg(Lang(StringId::ConstantW)));
        EXPECT_FALSE(frame->isWindowModified());
    }
}

// New vehicle.

TEST_F(MainWindowTest, newVehicleGoesIntoTheWorkshopOfTheSelectionWhichTheDialogShowsWhole)
{
    QTemporaryDir root;
    const QString north = makeWorkshop(root.path(), QStringLiteral("Мастерская Север"),
                                       QStringLiteral("A1"), QStringLiteral("20260101"));
    const QString south =
        makeWorkshop(root.path(), QStringLiteral("Мастерская Юг, Краснодар, ул. Северная, 12"),
                     QStringLiteral("B2"), QStringLiteral("20260101"));
    registerWorkshops({north, south});
    CVelmoraApp app;
    CMainFrame* frame = startShown(app);
    ASSERT_NE(frame, nullptr);
    clickNode(frame->tree(), frame->tree()->topLevelItem(1));

    ModalRunner::pushHandler([&south](QDialog& d) {
        const auto* combo = d.findChild<QComboBox*>(QStringLiteral("id1015"));
        EXPECT_EQ(combo->currentText(), south);
        EXPECT_GT(combo->width(), combo->fontMetrics().horizontalAdvance(south));
        auto* number = d.findChild<QLineEdit*>(QStringLiteral("id1016"));
        QTest::keyClicks(number, QStringLiteral("NEW1"));
        QTest::keyClick(number, Qt::Key_Return);
        return d.result();
    });
    actionFor(frame->menuBar(), CommandId::NewVehicle)->trigger();
    EXPECT_FALSE(ModalRunner::hasPendingHandlers());
    EXPECT_TRUE(QFileInfo(dayPath(south, QStringLiteral("NEW1"), TodayStamp())).isDir());
    EXPECT_FALSE(QFileInfo::exists(north + QStringLiteral("/RX902/NEW1")));
}

// Editing and leaving.

TEST_F(MainWindowTest, changedValuesAreMarkedAndLeavingThemAsksSaveDiscardOrCancel)
{
    QTemporaryDir root;
    const QString workshop = root.filePath(QStringLiteral("A"));
    writeCalibration(workshop, QStringLiteral("A123BC"), QStringLiteral("20260101"), 1);
    writeCalibration(workshop, QStringLiteral("A123BC"), QStringLiteral("20260202"), 2);
    registerWorkshops({workshop});
    CVelmoraApp app;
    CMainFrame* frame = startShown(app);
    ASSERT_NE(frame, nullptr);
    cTree* tree = frame->tree();
    cTDGrid* grid = app.grid();
    const TreeNode first = tree->topLevelItem(0)->child(0)->child(0);
    const QString firstPath = tree->GetNodePath(first);
    const QStringList firstAddress = tree->NodeAddress(first);
    tree->SelectNode(first);
    EXPECT_TRUE(WaitForTree(*tree));
    EXPECT_FALSE(frame->isWindowModified());
    enterValue(grid, kRowW, QStringLiteral("7777"));
    EXPECT_TRUE(frame->isWindowModified());
    EXPECT_TRUE(frame->windowTitle().endsWith(QStringLiteral("[*]")));

    // Cancel keeps the selection and the values, whether a key or the mouse asked.
    tree->setFocus();
    Prompts::pushAnswer(Prompts::Answer::Cancel);
    QTest::keyClick(tree, Qt::Key_Down);
    Prompts::pushAnswer(Prompts::Answer::Cancel);
    clickNode(tree, first->parent()->child(1));
    QCoreApplication::processEvents();
    EXPECT_EQ(tree->SelectedNode(), first);
    EXPECT_TRUE(tree->selectedItems().contains(first));
    EXPECT_EQ(grid->GetCellText(kRowW, 1), QStringLiteral("7777"));
    EXPECT_TRUE(frame->isWindowModified());
    EXPECT_EQ(Prompts::takeShownTexts(), QStringList(2, Lang(StringId::UnsavedChangesQuestion)));

    // Discard: the next day is loaded.
    Prompts::pushAnswer(Prompts::Answer::Discard);
    QTest::keyClick(tree, Qt::Key_Down);
    ASSERT_TRUE(WaitForTree(*tree));
    EXPECT_EQ(tree->GetNodePath(),
              dayPath(workshop, QStringLiteral("A123BC"), QStringLiteral("20260202")));
    EXPECT_EQ(grid->GetCellText(kRowW, 1), QStringLiteral("2"));
    EXPECT_FALSE(frame->isWindowModified());

    // Save: filed as today's calibration, then the node clicked is selected.
    enterValue(grid, kRowW, QStringLiteral("4242"));
    Prompts::pushAnswer(Prompts::Answer::Save);
    clickNode(tree, tree->NodeAt(firstAddress));
    QCoreApplication::processEvents();
    ASSERT_TRUE(WaitForTree(*tree));
    ParamRecord saved;
    ASSERT_TRUE(ReadRecordFile(dayPath(workshop, QStringLiteral("A123BC"), TodayStamp()) +
                                   QStringLiteral("/PARAM_UP.BIN"),
                               saved.bytes));
    EXPECT_EQ(LittleEndian::read(saved.bytes.data() + ParamRecord::Layout::ConstantWOffset, 2),
              4242u);
    EXPECT_EQ(tree->GetNodePath(), firstPath);
    EXPECT_EQ(grid->GetCellText(kRowW, 1), QStringLiteral("1"));

    // Leaving the program asks too.
    QAction* exit = actionFor(frame->menuBar(), CommandId::AppExit);
    ASSERT_NE(exit, nullptr);
    enterValue(grid, kRowW, QStringLiteral("5"));
    Prompts::pushAnswer(Prompts::Answer::Cancel);
    exit->trigger();
    EXPECT_TRUE(frame->isVisible());
    Prompts::pushAnswer(Prompts::Answer::Discard);
    exit->trigger();
    EXPECT_FALSE(frame->isVisible());
}

} // namespace
