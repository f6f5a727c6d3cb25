#include "tests/app/MainWindowFixture.h"
#include "tests/support/TreeWaits.h"

#include "lang/DisplayDate.h"
#include "navigation/TreeNodes.h"
#include "navigation/WorkshopListings.h"

#include <QFileInfo>
#include <QProcess>

#include <condition_variable>
#include <mutex>

// What another workstation does to a shared workshop folder shows up in this window.

namespace {

// Saves, as another workstation's process, a calibration whose records are filled with
// `marker` into <workshop>/RX902/<number>/<day>.
void saveElsewhere(const QString& workshop, const QString& number, const QString& day, int marker)
{
    QProcess other;
    other.start(QStringLiteral(WORKSTATION_HELPER),
                {QStringLiteral("save"), workshop, number, day, QString::number(marker)});
    ASSERT_TRUE(other.waitForFinished());
    ASSERT_EQ(other.exitCode(), 0) << other.readAllStandardError().toStdString();
}

std::uint8_t shownW(CVelmoraApp& app)
{
    return app.currentCalibration().param().bytes[ParamRecord::Layout::ConstantWOffset];
}

TreeNode findNode(const QTreeWidget* tree, const QString& text)
{
    const QList<QTreeWidgetItem*> found =
        tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? nullptr : found.first();
}

} // namespace

TEST_F(MainWindowTest, dayThatAnotherWorkstationSavedShowsAfterF5AndOnActivation)
{
    QTemporaryDir root;
    const QString workshop = makeWorkshop(root.path(), QStringLiteral("A"), QStringLiteral("A1"),
                                          QStringLiteral("20260101"));
    registerWorkshops({workshop});
    CVelmoraApp app;
    ASSERT_TRUE(app.InitInstance());
    ASSERT_TRUE(WaitForTree(*app.mainWindow()->tree()));
    CMainFrame* frame = app.mainWindow();
    frame->show();
    QApplication::setActiveWindow(frame);
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame));
    QCoreApplication::processEvents();

    saveElsewhere(workshop, QStringLiteral("B7"), QStringLiteral("20261201"), 3);
    EXPECT_EQ(findNode(frame->tree(), QStringLiteral("20261201")), nullptr);
    QTest::keyClick(frame->tree(), Qt::Key_F5);
    ASSERT_TRUE(WaitForTree(*frame->tree()));
    const TreeNode day = findNode(frame->tree(), QStringLiteral("20261201"));
    ASSERT_NE(day, nullptr);
    EXPECT_EQ(day->parent()->text(0), QStringLiteral("B7"));

    // Coming back to the window from another one shows what was saved meanwhile.
    saveElsewhere(workshop, QStringLiteral("B7"), QStringLiteral("20261202"), 4);
    QApplication::setActiveWindow(nullptr);
    QApplication::setActiveWindow(frame);
    QCoreApplication::processEvents();
    ASSERT_TRUE(WaitForTree(*frame->tree()));
    EXPECT_NE(findNode(frame->tree(), QStringLiteral("20261202")), nullptr);
    EXPECT_TRUE(Prompts::takeShownTexts().isEmpty());
}

TEST_F(MainWindowTest, calibrationSavedElsewhereIsReloadedOrAskedAboutOnSave)
{
    QTemporaryDir root;
    const QString workshop = root.filePath(QStringLiteral("A"));
    const QString today = TodayStamp();
    writeCalibration(workshop, QStringLiteral("A1"), today, 5);
    registerWorkshops({workshop});
    CVelmoraApp app;
    CMainFrame* frame = startShown(app);
    ASSERT_NE(frame, nullptr);
    cTree* tree = frame->tree();
    QAction* save = actionFor(frame->menuBar(), CommandId::SaveCalibration);
    QAction* refresh = actionFor(frame->menuBar(), CommandId::Refresh);
    tree->SelectNode(findNode(tree, today));
    EXPECT_TRUE(WaitForTree(*tree));
    ASSERT_EQ(shownW(app), 5);

    // Nothing edited here: the other workstation's calibration replaces it silently.
    saveElsewhere(workshop, QStringLiteral("A1"), today, 7);
    refresh->trigger();
    ASSERT_TRUE(WaitForTree(*tree));
    EXPECT_EQ(shownW(app), 7);
    EXPECT_FALSE(app.grid()->HasUnsavedChanges());

    // Edited here: the save asks; loading theirs drops the edit and writes nothing.
    typeKeys(app.grid(), kRowW, QStringLiteral("44"));
    saveElsewhere(workshop, QStringLiteral("A1"), today, 9);
    Prompts::takeShownTexts();
    Prompts::pushAnswer(Prompts::Answer::Discard);
    save->trigger();
    ASSERT_TRUE(WaitForTree(*tree));
    EXPECT_EQ(Prompts::takeShownTexts(),
              QStringList{Lang(StringId::ChangedElsewhereQuestion)
                              .arg(QStringLiteral("A1"), DisplayDayStamp(today))});
    EXPECT_EQ(shownW(app), 9);
    EXPECT_FALSE(app.grid()->HasUnsavedChanges());
    const QString param = workshop + QStringLiteral("/RX902/A1/") + today + "/PARAM_UP.BIN";
    ParamRecord stored;
    ASSERT_TRUE(ReadRecordFile(param, stored.bytes));
    EXPECT_EQ(stored.bytes[ParamRecord::Layout::ConstantWOffset], 9);

    // Keeping mine writes the values on screen over theirs.
    typeKeys(app.grid(), kRowW, QStringLiteral("44"));
    saveElsewhere(workshop, QStringLiteral("A1"), today, 11);
    Prompts::pushAnswer(Prompts::Answer::Save);
    save->trigger();
    ASSERT_TRUE(WaitForTree(*tree));
    ASSERT_TRUE(ReadRecordFile(param, stored.bytes));
    EXPECT_EQ(LittleEndian::read(stored.bytes.data() + ParamRecord::Layout::ConstantWOffset, 2),
              44u);
    EXPECT_FALSE(app.grid()->HasUnsavedChanges());
    EXPECT_EQ(Prompts::takeShownTexts().size(), 1);
}

TEST_F(MainWindowTest, calibrationDeletedElsewhereLeavesTheScreenWithAMessage)
{
    QTemporaryDir root;
    const QString workshop = root.filePath(QStringLiteral("A"));
    writeCalibration(workshop, QStringLiteral("A1"), QStringLiteral("20260101"), 5);
    writeCalibration(workshop, QStringLiteral("A1"), QStringLiteral("20260202"), 6);
    registerWorkshops({workshop});
    CVelmoraApp app;
    ASSERT_TRUE(app.InitInstance());
    ASSERT_TRUE(WaitForTree(*app.mainWindow()->tree()));
    CMainFrame* frame = app.mainWindow();
    cTree* tree = frame->tree();
    QAction* refresh = actionFor(frame->menuBar(), CommandId::Refresh);

    const struct {
        const char* what;
        QString selected;
        QString deleted;
        QString message;
    } cases[] = {
        {"day", QStringLiteral("A1"), QStringLiteral("/RX902/A1/20260202"),
         Lang(StringId::DayDeletedElsewhere)
             .arg(QStringLiteral("A1"), DisplayDayStamp(QStringLiteral("20260202")))},
        {"vehicle", QStringLiteral("20260101"), QStringLiteral("/RX902/A1"),
         Lang(StringId::VehicleDeletedElsewhere).arg(QStringLiteral("A1"))},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        tree->SelectNode(findNode(tree, c.selected));
        EXPECT_TRUE(WaitForTree(*tree));
        ASSERT_NE(shownW(app), 0);
        ASSERT_TRUE(QDir(workshop + c.deleted).removeRecursively());
        refresh->trigger();
        ASSERT_TRUE(WaitForTree(*tree));
        EXPECT_EQ(Prompts::takeShownTexts(), QStringList{c.message});
        EXPECT_EQ(shownW(app), 0);
        EXPECT_EQ(findNode(tree, QStringLiteral("20260202")), nullptr);
        EXPECT_EQ(frame->windowTitle(), QStringLiteral("Velmora[*]"));
        // Once told, the user is not told again.
        refresh->trigger();
        ASSERT_TRUE(WaitForTree(*tree));
        EXPECT_TRUE(Prompts::takeShownTexts().isEmpty());
    }
}

// A workshop folder on a server that does not answer: the window shows at once with every
// workshop, and the others are read, selected and saved into as usual meanwhile.
TEST_F(MainWindowTest, silentWorkshopLeavesTheWindowAndTheOtherWorkshopsWorking)
{
    QTemporaryDir root;
    const QString silent = root.filePath(QStringLiteral("S"));
    const QString workshop = root.filePath(QStringLiteral("A"));
    writeCalibration(silent, QStringLiteral("S1"), QStringLiteral("20260101"), 3);
    writeCalibration(workshop, QStringLiteral("A1"), QStringLiteral("20260101"), 5);
    registerWorkshops({silent, workshop});
    std::mutex mutex;
    std::condition_variable letGo;
    bool released = false;
    WorkshopListings::SetAfterListing([&](const QString& folder) {
        std::unique_lock lock(mutex);
        if (folder == silent)
            letGo.wait(lock, [&] { return released; });
    });
    const auto release = [&] {
        {
            const std::lock_guard lock(mutex);
            released = true;
        }
        letGo.notify_all();
    };

    CVelmoraApp app;
    ASSERT_TRUE(app.InitInstance());
    CMainFrame* frame = app.mainWindow();
    cTree* tree = frame->tree();
    EXPECT_TRUE(frame->isVisible());
    ASSERT_EQ(tree->topLevelItemCount(), 2);
    ASSERT_TRUE(QTest::qWaitFor([tree] { return tree->topLevelItem(1)->childCount() == 1; }));
    EXPECT_EQ(tree->topLevelItem(0)->data(0, kWorkshopMarkRole).toInt(), WorkshopMark::Reading);

    tree->SelectNode(findNode(tree, QStringLiteral("A1"))->child(0));
    ASSERT_TRUE(QTest::qWaitFor([tree] { return !tree->LoadPending(); }));
    EXPECT_EQ(shownW(app), 5);
    typeKeys(app.grid(), kRowW, QStringLiteral("77"));
    actionFor(frame->menuBar(), CommandId::SaveCalibration)->trigger();
    EXPECT_TRUE(Prompts::takeShownTexts().isEmpty());
    EXPECT_TRUE(QFileInfo::exists(workshop + QStringLiteral("/RX902/A1/") + TodayStamp()));
    EXPECT_EQ(tree->topLevelItem(0)->data(0, kWorkshopMarkRole).toInt(), WorkshopMark::Reading);

    release();
    ASSERT_TRUE(WaitForTree(*tree));
    WorkshopListings::SetAfterListing({});
    EXPECT_EQ(tree->topLevelItem(0)->data(0, kWorkshopMarkRole).toInt(), WorkshopMark::None);
    EXPECT_NE(findNode(tree, QStringLiteral("S1")), nullptr);
}
