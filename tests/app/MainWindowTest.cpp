#include "app/CMainFrame.h"
#include "app/CVelmoraApp.h"
#include "app/LockIndicators.h"
#include "lang/LanguagePack.h"
#include "lang/MenuBuilder.h"
#include "lang/ResourceIds.h"
#include "lang/StringIds.h"
#include "navigation/cListParent.h"
#include "navigation/cTree.h"
#include "params/CurrentRecords.h"
#include "params/cTDGrid.h"
#include "platform/HelpOpener.h"
#include "platform/KeyboardLocks.h"
#include "platform/Prompts.h"
#include "store/FolderOps.h"
#include "store/RecordFile.h"
#include "store/WorkshopRegister.h"
#include "tests/support/TempDataFolder.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenuBar>
#include <QSettings>
#include <QSplitter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString kPackDir = QStringLiteral(VELMORA_PACK_DIR);

void writeRecord(const QString& path, std::size_t size, std::uint8_t fill)
{
    std::vector<std::uint8_t> payload(size, fill);
    ASSERT_TRUE(WriteRecordFile(path, payload));
}

// A workshop folder with one vehicle and one calibration day, registered in service.txt.
QString makeWorkshop(const QString& root, const QString& name, const QString& vehicle,
                     const QString& day)
{
    const QString workshop = QDir(root).filePath(name);
    QDir().mkpath(workshop + QStringLiteral("/RX902/") + vehicle + QLatin1Char('/') + day);
    writeRecord(workshop + QStringLiteral("/RX902/SINFO.BIN"), RecordSize::Workshop, 0);
    const QString dayFolder =
        workshop + QStringLiteral("/RX902/") + vehicle + QLatin1Char('/') + day;
    writeRecord(dayFolder + QStringLiteral("/PARAM_UP.BIN"), RecordSize::Param, 1);
    writeRecord(dayFolder + QStringLiteral("/GSM_UP.BIN"), RecordSize::Gsm, 2);
    return workshop;
}

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Prompts::setSilent(true);
        Prompts::takeShownTexts();
        // Every test starts as a first run: no remembered window geometry.
        QSettings().clear();
        LanguagePack::setSearchPaths({kPackDir});
        ASSERT_TRUE(LanguagePack::current().load(QStringLiteral("Velmora_ru")));
    }

    void TearDown() override
    {
        LanguagePack::setSearchPaths({kPackDir});
        LanguagePack::current().load(QStringLiteral("Velmora_ru"));
    }

    void registerWorkshops(const QStringList& folders)
    {
        WorkshopRegister reg;
        for (const QString& folder : folders) {
            WorkshopEntry entry;
            entry.folderPath = folder;
            reg.entries().push_back(entry);
        }
        ASSERT_TRUE(reg.save(WorkshopRegister::serviceFilePath()));
    }

    TempDataFolder m_data;
};

TEST_F(MainWindowTest, startWithoutLanguagePack_endsWithMessage)
{
    QTemporaryDir empty;
    LanguagePack::setSearchPaths({empty.path()});
    CVelmoraApp app;
    EXPECT_FALSE(app.InitInstance());
    EXPECT_EQ(app.mainWindow(), nullptr);
    const QStringList shown = Prompts::takeShownTexts();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown.first().contains(QStringLiteral("Velmora_ru.rcc")));
}

TEST_F(MainWindowTest, firstStart_showsEmptyTreeAndZeroGrid)
{
    CVelmoraApp app;
    ASSERT_TRUE(app.InitInstance());
    CMainFrame* frame = app.mainWindow();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->tree()->topLevelItemCount(), 0);
    cTDGrid* grid = app.grid();
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->GetRowCount(), 23);
    EXPECT_EQ(grid->GetCellText(4, 1), QStringLiteral("0")); // serial number
    EXPECT_EQ(grid->GetCellText(21, 1), QStringLiteral("TCP"));
    EXPECT_EQ(grid->GetCellText(22, 1), QStringLiteral("OFF"));
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Velmora"));
}

TEST_F(MainWindowTest, startUp_treeShowsRegisterAndLeftPaneIs200Wide)
{
    QTemporaryDir root;
    registerWorkshops({makeWorkshop(root.path(), QStringLiteral("A"), QStringLiteral("A123BC"),
                                    QStringLiteral("20260101")),
                       makeWorkshop(root.path(), QStringLiteral("B"), QStringLiteral("X1"),
                                    QStringLiteral("20260202"))});
    CVelmoraApp app;
    ASSERT_TRUE(app.InitInstance());
    CMainFrame* frame = app.mainWindow();
    frame->resize(1000, 700);
    EXPECT_EQ(frame->tree()->topLevelItemCount(), 2);
    EXPECT_EQ(frame->tree()->SelectedNode(), nullptr);
    EXPECT_EQ(frame->splitter()->sizes().first(), CMainFrame::kInitialTreeWidth);
}

TEST_F(MainWindowTest, windowSizeAndSplitterAreRememberedBetweenRuns)
{
    {
        CVelmoraApp app;
        ASSERT_TRUE(app.InitInstance());
        app.mainWindow()->resize(1100, 720);
        app.mainWindow()->splitter()->setSizes({320, 760});
        EXPECT_EQ(app.ExitInstance(), 0);
    }
    CVelmoraApp app;
    ASSERT_TRUE(app.InitInstance());
    EXPECT_EQ(app.mainWindow()->size(), QSize(1100, 720));
    EXPECT_EQ(app.mainWindow()->splitter()->sizes().first(), 320);
}

TEST_F(MainWindowTest, commandTable_routesEveryMenuCommand)
{
    const QList<int> routed = CMainFrame::commandIds();
    for (int id : {32771, 32772, 32773, 32774, 32778, 32779, 32781, 32782, 32783, 32784, 32785,
                   32797, 32798, 57664})
        EXPECT_TRUE(routed.contains(id)) << id;

    CVelmoraApp app;
    ASSERT_TRUE(app.InitInstance());
    const QList<QAction*> actions = app.mainWindow()->menuBar()->findChildren<QAction*>();
    int commands = 0;
    for (const QAction* action : actions) {
        const int id = MenuBuilder::commandOf(action);
        if (id == 0)
            continue;
        ++commands;
        EXPECT_TRUE(routed.contains(id)) << id;
    }
    EXPECT_GE(commands, 14);
    EXPECT_FALSE(app.mainWindow()->OnCommand(12345));
}

TEST_F(MainWindowTest, help_opensThePageFromTheStartFolder)
{
    CVelmoraApp app;
    ASSERT_TRUE(app.InitInstance());
    HelpOpener::setStartFolder(kPackDir);
    QList<QUrl> opened;
    HelpOpener::setRecorder(&opened);
    EXPECT_TRUE(app.mainWindow()->OnCommand(CommandId::OpenHelp));
    HelpOpener::setRecorder(nullptr);
    ASSERT_EQ(opened.size(), 1);
    EXPECT_TRUE(opened.first().toLocalFile().endsWith(QStringLiteral("vmhelp.html")));
}

TEST_F(MainWindowTest, languageSwitch_clearsRecordsKeepsSelectionAndTitle)
{
    QTemporaryDir root;
    registerWorkshops({makeWorkshop(root.path(), QStringLiteral("A"), QStringLiteral("A123BC"),
                                    QStringLiteral("20260101"))});
    CVelmoraApp app;
    ASSERT_TRUE(app.InitInstance());
    CMainFrame* frame = app.mainWindow();
    cTree* tree = frame->tree();
    QTreeWidgetItem* day = tree->topLevelItem(0)->child(0)->child(0);
    tree->SelectNode(day);
    ASSERT_EQ(CurrentGsmRecord().bytes[0], 2);
    const QString title = frame->windowTitle();
    EXPECT_EQ(title, QStringLiteral("Velmora [A123BC : 20260101]"));

    frame->OnCommand(CommandId::LanguageEnglish);
    frame->OnCommand(CommandId::LanguageEnglish);
    EXPECT_EQ(LanguagePack::current().loadedName(), QStringLiteral("Velmora_en"));
    EXPECT_EQ(tree->SelectedNode(), day);
    EXPECT_EQ(frame->windowTitle(), title);
    EXPECT_EQ(app.grid()->GetCellText(0, 0), Lang(185));
    EXPECT_EQ(CurrentGsmRecord().bytes[0], 0);
    EXPECT_EQ(CurrentParamRecord().bytes[117], 5);
    EXPECT_EQ(app.grid()->GetCellText(21, 1), QStringLiteral("TCP"));

    frame->OnCommand(CommandId::LanguageRussian);
    EXPECT_EQ(LanguagePack::current().loadedName(), QStringLiteral("Velmora_ru"));
    EXPECT_EQ(app.grid()->GetCellText(0, 0), Lang(185));
}

TEST_F(MainWindowTest, lockIndicators_showTextOnlyWhileTheLockIsOn)
{
    QTemporaryDir leds;
    QDir(leds.path()).mkpath(QStringLiteral("input3::capslock"));
    QDir(leds.path()).mkpath(QStringLiteral("input3::numlock"));
    QFile caps(leds.filePath(QStringLiteral("input3::capslock/brightness")));
    ASSERT_TRUE(caps.open(QIODevice::WriteOnly));
    caps.write("1\n");
    caps.close();
    QFile num(leds.filePath(QStringLiteral("input3::numlock/brightness")));
    ASSERT_TRUE(num.open(QIODevice::WriteOnly));
    num.write("0\n");
    num.close();
    KeyboardLocks::setLedsRoot(leds.path());

    LockIndicators indicators;
    EXPECT_EQ(indicators.label(0)->text(), Lang(StringId::IndicatorCaps));
    EXPECT_TRUE(indicators.label(1)->text().isEmpty());
    EXPECT_TRUE(indicators.label(2)->text().isEmpty());
    KeyboardLocks::setLedsRoot(QStringLiteral("/sys/class/leds"));
}

} // namespace
