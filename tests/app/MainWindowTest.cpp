#include "tests/app/MainWindowFixture.h"
#include "tests/support/TreeWaits.h"

#include "lang/PackResources.h"
#include "navigation/cCreateClientDlg.h"
#include "platform/FolderChooser.h"
#include "store/AtomicFileWriter.h"

#include <QFileInfo>

namespace {

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
    ASSERT_TRUE(WaitForTree(*app.mainWindow()->tree()));
    CMainFrame* frame = app.mainWindow();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->tree()->topLevelItemCount(), 0);
    cTDGrid* grid = app.grid();
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->GetRowCount(), 23);
    EXPECT_EQ(grid->GetCellText(4, 1), QStringLiteral("0")); // serial number
    EXPECT_EQ(grid->GetCellText(21, 1), QStringLiteral("TCP"));
    EXPECT_EQ(grid->GetCellText(22, 1), QStringLiteral("ВЫКЛ"));
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Velmora[*]"));
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
    ASSERT_TRUE(WaitForTree(*app.mainWindow()->tree()));
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
        ASSERT_TRUE(WaitForTree(*app.mainWindow()->tree()));
        app.mainWindow()->resize(1100, 720);
        app.mainWindow()->splitter()->setSizes({320, 760});
        EXPECT_EQ(app.ExitInstance(), 0);
    }
    CVelmoraApp app;
    ASSERT_TRUE(app.InitInstance());
    ASSERT_TRUE(WaitForTree(*app.mainWindow()->tree()));
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
    ASSERT_TRUE(WaitForTree(*app.mainWindow()->tree()));
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

TEST_F(MainWindowTest, refreshCommand_readsFoldersAndWorkshopDetailsAgain)
{
    QTemporaryDir root;
    const QString workshop = makeWorkshop(root.path(), QStringLiteral("A"), QStringLiteral("A1"),
                                          QStringLiteral("20260101"));
    registerWorkshops({workshop});
    CVelmoraApp app;
    ASSERT_TRUE(app.InitInstance());
    ASSERT_TRUE(WaitForTree(*app.mainWindow()->tree()));
    ASSERT_TRUE(QDir().mkpath(workshop + QStringLiteral("/RX902/B2/20260202")));
    WorkshopRecord renamed;
    renamed.setField(WorkshopRecord::Field::Name, QStringLiteral("North"));
    ASSERT_TRUE(WriteRecordFile(WorkshopRecordPathOf(workshop), renamed.bytes));

    QAction* refresh = FindCommandAction(app.mainWindow()->menuBar()->findChildren<QAction*>(),
                                         CommandId::Refresh);
    ASSERT_NE(refresh, nullptr);
    refresh->trigger();
    ASSERT_TRUE(WaitForTree(*app.mainWindow()->tree()));

    const QTreeWidgetItem* node = app.mainWindow()->tree()->topLevelItem(0);
    ASSERT_EQ(node->childCount(), 2);
    EXPECT_EQ(node->child(1)->text(0), QStringLiteral("B2"));
    EXPECT_EQ(app.workshopRegister().entries()[0].record, renamed);
    EXPECT_EQ(node->text(0), QStringLiteral("North"));
    EXPECT_EQ(node->text(0), QStringLiteral("North"));
}

TEST_F(MainWindowTest, newWorkshopCommandWhoseRecordCannotBeWritten_leavesNoFolder)
{
    // The New workshop command makes the folder and its exchange folder, asks for the
    // details, and fails to write the record: nothing is registered, both folders go again
    // and the one message names the record.
    QTemporaryDir root;
    CVelmoraApp app;
    ASSERT_TRUE(app.InitInstance());
    ASSERT_TRUE(WaitForTree(*app.mainWindow()->tree()));
    const QString folder = QDir(root.path()).filePath(QStringLiteral("New shop"));
    ModalRunner::pushHandler([&](QDialog& dialog) {
        FolderChooser::pushChoice(root.path());
        auto& create = dynamic_cast<cCreateClientDlg&>(dialog);
        create.OnBrowse();
        dialog.findChild<QLineEdit*>(QStringLiteral("id1004"))->setText(QStringLiteral("New shop"));
        dialog.accept();
        return dialog.result();
    });
    ModalRunner::pushHandler([](QDialog& dialog) {
        dialog.findChild<QLineEdit*>(QStringLiteral("id1010"))->setText(QStringLiteral("Shop"));
        dialog.accept();
        // The record is the next file written.
        AtomicFileWriter::failEvery(AtomicFileWriter::FaultPoint::Write);
        return dialog.result();
    });
    actionFor(app.mainWindow()->menuBar(), CommandId::NewWorkshop)->trigger();
    AtomicFileWriter::failEvery(AtomicFileWriter::FaultPoint::Any);
    EXPECT_FALSE(ModalRunner::hasPendingHandlers());
    EXPECT_EQ(
        Prompts::takeShownTexts(),
        QStringList{
            Lang(StringId::WorkshopWriteFailed).arg(folder + QStringLiteral("/RX902/SINFO.BIN"))});
    EXPECT_FALSE(QFileInfo::exists(folder));
    EXPECT_TRUE(app.workshopRegister().entries().empty());
    EXPECT_EQ(app.mainWindow()->tree()->topLevelItemCount(), 0);
}

TEST_F(MainWindowTest, firstStartFollowsLangThenTheLanguageChosenLastTime)
{
    const QByteArray messages = qgetenv("LC_MESSAGES");
    qunsetenv("LC_MESSAGES");
    const QByteArray lang = qgetenv("LANG");
    const struct {
        const char* lang;
        const char* pack;
    } cases[] = {{"ru_RU.UTF-8", "Velmora_ru"},
                 {"ru_UA", "Velmora_ru"},
                 {"en_GB.UTF-8", "Velmora_en"},
                 {"de_DE.UTF-8", "Velmora_en"},
                 {"C.UTF-8", "Velmora_en"}};
    for (const auto& c : cases) {
        QSettings().clear();
        qputenv("LANG", c.lang);
        CVelmoraApp app;
        ASSERT_TRUE(app.InitInstance());
        ASSERT_TRUE(WaitForTree(*app.mainWindow()->tree()));
        EXPECT_EQ(LanguagePack::current().loadedName(), QLatin1String(c.pack)) << c.lang;
    }

    {
        CVelmoraApp app;
        ASSERT_TRUE(app.InitInstance());
        ASSERT_TRUE(WaitForTree(*app.mainWindow()->tree()));
        FindCommandAction(app.mainWindow()->menuBar()->findChildren<QAction*>(),
                          CommandId::LanguageRussian)
            ->trigger();
        app.ExitInstance();
    }
    qputenv("LANG", "en_US.UTF-8");
    CVelmoraApp app;
    ASSERT_TRUE(app.InitInstance());
    ASSERT_TRUE(WaitForTree(*app.mainWindow()->tree()));
    EXPECT_EQ(LanguagePack::current().loadedName(), QStringLiteral("Velmora_ru"));

    qputenv("LANG", lang);
    qputenv("LC_MESSAGES", messages);
}

TEST_F(MainWindowTest, help_opensThePageFromTheStartFolderAtTheLanguagesSection)
{
    CVelmoraApp app;
    ASSERT_TRUE(app.InitInstance());
    ASSERT_TRUE(WaitForTree(*app.mainWindow()->tree()));
    HelpOpener::setStartFolder(kPackDir);
    QList<QUrl> opened;
    HelpOpener::setRecorder(&opened);
    const QList<QAction*> actions = app.mainWindow()->menuBar()->findChildren<QAction*>();
    FindCommandAction(actions, CommandId::OpenHelp)->trigger();
    FindCommandAction(actions, CommandId::LanguageEnglish)->trigger();
    EXPECT_TRUE(app.mainWindow()->OnCommand(CommandId::OpenHelp));
    HelpOpener::setRecorder(nullptr);
    ASSERT_EQ(opened.size(), 2);
    EXPECT_TRUE(opened.first().toLocalFile().endsWith(QStringLiteral("vmhelp.html")));
    EXPECT_EQ(opened[0].fragment(), QStringLiteral("ru"));
    EXPECT_EQ(opened[1].fragment(), QStringLiteral("en"));
}

TEST_F(MainWindowTest, languageSwitchFromTheMenu_keepsTypedValuesSelectionAndTitle)
{
    QTemporaryDir root;
    registerWorkshops({makeWorkshop(root.path(), QStringLiteral("A"), QStringLiteral("A123BC"),
                                    QStringLiteral("20260101"))});
    CVelmoraApp app;
    CMainFrame* frame = startShown(app);
    ASSERT_NE(frame, nullptr);
    cTree* tree = frame->tree();
    QTreeWidgetItem* day = tree->topLevelItem(0)->child(0)->child(0);
    tree->SelectNode(day);
    EXPECT_TRUE(WaitForTree(*tree));
    const QString title = frame->windowTitle();
    EXPECT_EQ(title, QStringLiteral("Velmora [A123BC : 20260101][*]"));
    typeKeys(app.grid(), kRowW, QStringLiteral("7777"));

    // The action frees and rebuilds its own menu: that must wait until its click returns.
    QAction* english = actionFor(frame->menuBar(), CommandId::LanguageEnglish);
    ASSERT_NE(english, nullptr);
    english->trigger();
    QCoreApplication::processEvents();
    EXPECT_EQ(LanguagePack::current().loadedName(), QStringLiteral("Velmora_en"));
    EXPECT_EQ(frame->menuBar()->actions().first()->text(),
              PackResources::menu(ResourceId::MainMenu).first().text);
    EXPECT_EQ(tree->SelectedNode(), day);
    EXPECT_EQ(frame->windowTitle(), title);
    EXPECT_EQ(app.grid()->GetCellText(0, 0), Lang(StringId::OwnerName));
    EXPECT_EQ(app.grid()->GetCellText(kRowW, 1), QStringLiteral("7777"));
    EXPECT_EQ(LittleEndian::read(app.currentCalibration().param().bytes.data() +
                                     ParamRecord::Layout::ConstantWOffset,
                                 2),
              7777u);
    EXPECT_EQ(app.currentCalibration().gsm().bytes[0], 2);
    EXPECT_EQ(app.currentCalibration().param().bytes[ParamRecord::Layout::CodePageOffset], 1);

    QAction* russian = actionFor(frame->toolBar(), CommandId::LanguageRussian);
    if (!russian)
        russian = actionFor(frame->menuBar(), CommandId::LanguageRussian);
    ASSERT_NE(russian, nullptr);
    russian->trigger();
    QCoreApplication::processEvents();
    EXPECT_EQ(LanguagePack::current().loadedName(), QStringLiteral("Velmora_ru"));
    EXPECT_EQ(app.grid()->GetCellText(0, 0), Lang(StringId::OwnerName));
    EXPECT_EQ(app.grid()->GetCellText(kRowW, 1), QStringLiteral("7777"));
}

TEST_F(MainWindowTest, openEditEndsIntoItsOwnVehicleBeforeTheNewVehicleJumpLoadsAnother)
{
    QTemporaryDir root;
    const QString workshop = makeWorkshop(root.path(), QStringLiteral("A"),
                                          QStringLiteral("AAA111"), QStringLiteral("20260101"));
    const QString other = workshop + QStringLiteral("/RX902/BBB222/20260202");
    QDir().mkpath(other);
    writeRecord(other + QStringLiteral("/PARAM_UP.BIN"), RecordSize::Param, 3);
    registerWorkshops({workshop});
    CVelmoraApp app;
    CMainFrame* frame = startShown(app);
    ASSERT_NE(frame, nullptr);
    frame->tree()->SelectNode(frame->tree()->topLevelItem(0)->child(0)->child(0));
    EXPECT_TRUE(WaitForTree(*frame->tree()));
    typeKeys(app.grid(), kRowW, QStringLiteral("7"));
    ASSERT_TRUE(app.grid()->CellAt(kRowW, 1)->IsEditing());

    ModalRunner::pushHandler([](QDialog& d) {
        d.findChild<QLineEdit*>(QStringLiteral("id1016"))->setText(QStringLiteral("BBB222"));
        d.accept();
        return d.result();
    });
    QAction* newVehicle = actionFor(frame->toolBar(), CommandId::NewVehicle);
    ASSERT_NE(newVehicle, nullptr);
    // The typed value is given up when the program asks.
    Prompts::pushAnswer(Prompts::Answer::Discard);
    newVehicle->trigger();
    ASSERT_TRUE(WaitForTree(*frame->tree()));
    EXPECT_EQ(Prompts::takeShownTexts(), QStringList{Lang(StringId::UnsavedChangesQuestion)});
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Velmora [BBB222][*]"));
    // BBB222's own value, whatever the user does with the keyboard next.
    const auto w = [&app] {
        return LittleEndian::read(app.currentCalibration().param().bytes.data() +
                                      ParamRecord::Layout::ConstantWOffset,
                                  2);
    };
    EXPECT_EQ(w(), 0x0303u);
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : app.grid(),
                    Qt::Key_Escape);
    EXPECT_EQ(w(), 0x0303u);
    EXPECT_EQ(app.grid()->GetCellText(kRowW, 1), QString::number(0x0303));
}

TEST_F(MainWindowTest, f1InTheGridOpensTheHelpOnce)
{
    CVelmoraApp app;
    ASSERT_TRUE(app.InitInstance());
    ASSERT_TRUE(WaitForTree(*app.mainWindow()->tree()));
    QApplication::setActiveWindow(app.mainWindow());
    HelpOpener::setStartFolder(kPackDir);
    QList<QUrl> opened;
    HelpOpener::setRecorder(&opened);
    app.grid()->setFocus();
    QTest::keyClick(app.grid(), Qt::Key_F1);
    HelpOpener::setRecorder(nullptr);
    EXPECT_EQ(opened.size(), 1);
}

TEST_F(MainWindowTest, unreadableRegisterIsReportedAndTheProgramStartsEmpty)
{
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), WorkshopRegister::serviceFilePath()));
    CVelmoraApp app;
    ASSERT_TRUE(app.InitInstance());
    ASSERT_TRUE(WaitForTree(*app.mainWindow()->tree()));
    EXPECT_EQ(app.mainWindow()->tree()->topLevelItemCount(), 0);
    EXPECT_EQ(Prompts::takeShownTexts(), QStringList{Lang(StringId::RegisterUnreadable)
                                                         .arg(WorkshopRegister::serviceFilePath(),
                                                              Lang(StringId::RegisterNotAFile))});
}

TEST_F(MainWindowTest, recordFileThatCannotBeReadIsNamedWhenItsDayIsSelected)
{
    QTemporaryDir root;
    const QString workshop = makeWorkshop(root.path(), QStringLiteral("A"),
                                          QStringLiteral("A123BC"), QStringLiteral("20260101"));
    const QString gsm = workshop + QStringLiteral("/RX902/A123BC/20260101/GSM_UP.BIN");
    QFile(gsm).resize(0);
    registerWorkshops({workshop});
    CVelmoraApp app;
    ASSERT_TRUE(app.InitInstance());
    ASSERT_TRUE(WaitForTree(*app.mainWindow()->tree()));
    app.mainWindow()->tree()->SelectNode(
        app.mainWindow()->tree()->topLevelItem(0)->child(0)->child(0));
    EXPECT_TRUE(WaitForTree(*app.mainWindow()->tree()));
    EXPECT_EQ(Prompts::takeShownTexts(), QStringList{Lang(StringId::RecordUnreadable).arg(gsm)});
    EXPECT_EQ(app.currentCalibration().param().bytes[0], 1);
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
