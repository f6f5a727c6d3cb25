#include "tests/app/MainWindowFixture.h"
#include "tests/support/TreeWaits.h"

#include "lang/DisplayDate.h"
#include "navigation/cHistoryDlg.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QTableWidget>

namespace {

// The history window a right click on the node opens, through the tree's context menu.
cHistoryDlg* openHistoryFromContextMenu(CMainFrame* frame, TreeNode node)
{
    cTree* tree = frame->tree();
    const QPoint pos = tree->visualItemRect(node).center();
    QContextMenuEvent request(QContextMenuEvent::Mouse, pos, tree->viewport()->mapToGlobal(pos));
    QApplication::sendEvent(tree->viewport(), &request);
    QMenu* menu = nullptr;
    for (QMenu* shown : tree->findChildren<QMenu*>()) {
        if (shown->isVisible())
            menu = shown;
    }
    if (!menu)
        return nullptr;
    QAction* history = FindCommandAction(menu->actions(), CommandId::CalibrationHistory);
    if (!history)
        return nullptr;
    history->trigger();
    menu->close();
    auto* window = frame->findChild<cHistoryDlg*>();
    if (!window || !QTest::qWaitFor([window] { return window->isFilled(); }, 10000))
        return nullptr;
    return window;
}

TEST_F(MainWindowTest, historyWindowListsDaysNewestFirstMarksAChangedWAndSelectsADay)
{
    QTemporaryDir root;
    const QString workshop = root.filePath(QStringLiteral("w"));
    const QString vehicle = QStringLiteral("A123BC77");
    writeCalibration(workshop, vehicle, QStringLiteral("20230105"), 8000);
    writeCalibration(workshop, vehicle, QStringLiteral("20240105"), 8000);
    // A day whose record is gone is listed, and the newest day is compared past it.
    ASSERT_TRUE(QDir().mkpath(workshop + QStringLiteral("/RX902/") + vehicle +
                              QStringLiteral("/20240601")));
    writeCalibration(workshop, vehicle, QStringLiteral("20250105"), 8500);
    registerWorkshops({workshop});
    CVelmoraApp app;
    CMainFrame* frame = startShown(app);
    ASSERT_NE(frame, nullptr);
    cTree* tree = frame->tree();
    const TreeNode vehicleNode = tree->topLevelItem(0)->child(0);
    tree->SelectNode(vehicleNode->child(0));
    EXPECT_TRUE(WaitForTree(*tree));

    cHistoryDlg* window = openHistoryFromContextMenu(frame, vehicleNode->child(0));
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle(), Lang(StringId::HistoryTitle).arg(vehicle));
    QTableWidget* table = window->table();
    ASSERT_EQ(table->rowCount(), 4);
    const QStringList dates{QStringLiteral("05.01.2025"), QStringLiteral("01.06.2024"),
                            QStringLiteral("05.01.2024"), QStringLiteral("05.01.2023")};
    const QStringList ws{QStringLiteral("8500"), QString(), QStringLiteral("8000"),
                         QStringLiteral("8000")};
    const bool changed[] = {true, false, false, false};
    for (int row = 0; row < 4; ++row) {
        EXPECT_EQ(table->item(row, 0)->text(), dates[row]) << row;
        EXPECT_EQ(table->item(row, CalibrationHistory::W)->text(), ws[row]) << row;
        EXPECT_EQ(table->item(row, CalibrationHistory::W)->font().bold(), changed[row]) << row;
        // K stayed 0 throughout.
        EXPECT_FALSE(table->item(row, CalibrationHistory::K)->font().bold()) << row;
    }
    EXPECT_TRUE(table->item(0, CalibrationHistory::W)->toolTip().contains(QStringLiteral("8000")));

    // A double-click on the oldest row selects that day in the tree and loads it.
    const QRect oldest = table->visualRect(table->model()->index(3, 1));
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, oldest.center());
    EXPECT_EQ(tree->GetNodeText(), QStringLiteral("20230105"));
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Velmora [A123BC77 : 20230105][*]"));

    // A calibration saved while the window is open comes in at the top, compared with the
    // one that was the newest.
    QApplication::setActiveWindow(frame);
    typeKeys(app.grid(), kRowW, QStringLiteral("9000"));
    actionFor(frame->menuBar(), CommandId::SaveCalibration)->trigger();
    ASSERT_TRUE(QTest::qWaitFor([table] { return table->rowCount() == 5; }, 10000));
    EXPECT_EQ(table->item(0, 0)->text(), DisplayDate(QDate::currentDate()));
    EXPECT_EQ(table->item(0, CalibrationHistory::W)->text(), QStringLiteral("9000"));
    EXPECT_TRUE(table->item(0, CalibrationHistory::W)->font().bold());
    window->close();
}

TEST_F(MainWindowTest, historyOfAWorkshopNodeAsksForAVehicle)
{
    QTemporaryDir root;
    const QString workshop = root.filePath(QStringLiteral("w"));
    writeCalibration(workshop, QStringLiteral("A1"), QStringLiteral("20250105"), 8000);
    registerWorkshops({workshop});
    CVelmoraApp app;
    ASSERT_TRUE(app.InitInstance());
    ASSERT_TRUE(WaitForTree(*app.mainWindow()->tree()));
    CMainFrame* frame = app.mainWindow();
    frame->tree()->SelectNode(frame->tree()->topLevelItem(0));
    EXPECT_TRUE(WaitForTree(*frame->tree()));
    actionFor(frame->menuBar(), CommandId::CalibrationHistory)->trigger();
    EXPECT_EQ(frame->findChild<cHistoryDlg*>(), nullptr);
    EXPECT_EQ(Prompts::takeShownTexts(), QStringList{Lang(StringId::HistorySelectVehicle)});
}

} // namespace
