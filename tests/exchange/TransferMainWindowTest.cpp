#include "app/CMainFrame.h"
#include "app/CVelmoraApp.h"
#include "lang/LanguagePack.h"
#include "lang/ResourceIds.h"
#include "lang/StringIds.h"
#include "navigation/cTree.h"
#include "params/CurrentCalibration.h"
#include "params/RegistrationNumber.h"
#include "platform/BackgroundWork.h"
#include "platform/ModalRunner.h"
#include "platform/Prompts.h"
#include "store/AtomicFileWriter.h"
#include "store/FolderOps.h"
#include "store/LittleEndian.h"
#include "store/RecordFile.h"
#include "store/WorkshopRegister.h"
#include "tests/exchange/TransferFixture.h"
#include "tests/support/CommandActions.h"
#include "tests/support/TreeWaits.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QMenuBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

namespace {

// The technician's way: menu Export onto the stick, the tachograph writes its records back,
// toolbar Import brings them into the workshop.
class TransferMainWindow : public TransferFixture {};

// Leaves `workshop` the only registered workshop, for the program started next.
bool RegisterOnly(const QString& workshop)
{
    WorkshopRegister reg;
    reg.entries().push_back({nullptr, {}, {}, workshop});
    return reg.save(WorkshopRegister::serviceFilePath());
}

TEST_F(TransferMainWindow, exportFromMenuAndImportFromToolbar)
{
    m_drives.mount(QStringLiteral("card"), FakeDrives::Disk::SdCard);
    const QString stick = m_drive;
    const QString workshop = m_data.filePath(QStringLiteral("W"));
    const QString day = ExchangeFolderOf(workshop) + QStringLiteral("/A111AA/20250101");
    ASSERT_TRUE(QDir().mkpath(day));
    const QByteArray param = RecordFileBytes(QByteArray(175, '\x05'));
    const QByteArray gsm = RecordFileBytes(QByteArray(145, '\x07'));
    for (const auto& [name, bytes] :
         {std::pair{kParamFileName, param}, std::pair{kGsmFileName, gsm}}) {
        QFile file(day + u'/' + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    ASSERT_TRUE(RegisterOnly(workshop));
    CVelmoraApp app;
    ASSERT_TRUE(app.InitInstance());
    ASSERT_TRUE(WaitForTree(*app.mainWindow()->tree()));
    CMainFrame* frame = app.mainWindow();
    cTree* tree = frame->tree();
    tree->SelectNode(tree->topLevelItem(0)->child(0)->child(0));
    EXPECT_TRUE(WaitForTree(*tree));

    QStringList offered;
    QString title;
    ModalRunner::pushHandler([&](QDialog& dialog) {
        auto* list = dialog.findChild<QComboBox*>(QStringLiteral("id1006"));
        for (int i = 0; list && i < list->count(); ++i)
            offered << list->itemText(i);
        title = dialog.windowTitle();
        list->setCurrentIndex(1);
        dialog.accept();
        return dialog.result();
    });
    QAction* exportAction =
        FindCommandAction(frame->menuBar()->findChildren<QAction*>(), CommandId::Export);
    ASSERT_NE(exportAction, nullptr);
    exportAction->trigger();

    EXPECT_EQ(title, Lang(StringId::ExportCaption));
    EXPECT_EQ(offered,
              (QStringList{m_drives.root() + QStringLiteral("/media/card/"), stick + u'/'}));
    const QString onStick = stick + QStringLiteral("/RX902/A111AA/20250101");
    EXPECT_EQ(
        FilesUnder(onStick),
        (QMap<QString, QByteArray>{{QStringLiteral("PARAM.BIN"), RecordFileBytes(param.left(171))},
                                   {QStringLiteral("GSM.BIN"), RecordFileBytes(gsm.left(137))}}));
    EXPECT_EQ(frame->statusBar()->currentMessage(),
              Lang(StringId::TransferExported).arg(1).arg(stick + QStringLiteral("/RX902")));

    // The tachograph's answer, on a new day.
    ASSERT_TRUE(QDir().mkpath(stick + QStringLiteral("/RX902/A111AA/20250202")));
    QFile back(stick + QStringLiteral("/RX902/A111AA/20250202/PARAM_UP.BIN"));
    ASSERT_TRUE(back.open(QIODevice::WriteOnly));
    back.write(RecordFileBytes(QByteArray(175, '\x09')));
    back.close();
    tree->SelectNode(tree->topLevelItem(0));
    EXPECT_TRUE(WaitForTree(*tree));
    PushDriveChoice(stick + u'/');
    QAction* importAction = FindCommandAction(frame->toolBar()->actions(), CommandId::Import);
    ASSERT_NE(importAction, nullptr);
    importAction->trigger();

    EXPECT_FALSE(ModalRunner::hasPendingHandlers());
    EXPECT_EQ(
        ReadFile(ExchangeFolderOf(workshop) + QStringLiteral("/A111AA/20250202/PARAM_UP.BIN")),
        RecordFileBytes(QByteArray(175, '\x09')));
    EXPECT_EQ(ReadFile(ExchangeFolderOf(workshop) + QStringLiteral("/A111AA/20250101/PARAM.BIN")),
              RecordFileBytes(param.left(171)));
    EXPECT_EQ(tree->topLevelItem(0)->child(0)->childCount(), 2);
    EXPECT_EQ(frame->statusBar()->currentMessage(),
              Lang(StringId::TransferImported).arg(3).arg(stick + QStringLiteral("/RX902")));
    EXPECT_TRUE(ShownTexts().isEmpty());
}

} // namespace

namespace {

// A day whose parameter record names AB123CD and holds the constant W.
QByteArray ParamWithW(std::uint16_t w)
{
    ParamRecord param;
    EncodeRegistrationNumber(
        QStringLiteral("AB123CD"), param.bytes.data() + ParamRecord::Layout::RegNumberOffset,
        ParamRecord::Layout::RegNumberWidth, param.bytes[ParamRecord::Layout::CodePageOffset]);
    LittleEndian::write(param.bytes.data() + ParamRecord::Layout::ConstantWOffset, w, 2);
    return RecordFileContent(param.bytes);
}

// The grid must show what the tachograph returned, so that a save cannot write the old
// calibration back over it.
TEST_F(TransferMainWindow, importShowsTheReturnedRecordOfTheSelectedDayAndSaveKeepsIt)
{
    const QString workshop = m_data.filePath(QStringLiteral("W"));
    const QString day = TodayStamp();
    const QString stored = ExchangeFolderOf(workshop) + QStringLiteral("/AB123CD/") + day;
    ASSERT_TRUE(QDir().mkpath(stored));
    ASSERT_TRUE(QDir().mkpath(DriveFolder() + QStringLiteral("/AB123CD/") + day));
    for (const auto& [path, w] :
         {std::pair{stored, 8000},
          std::pair{DriveFolder() + QStringLiteral("/AB123CD/") + day, 9999}}) {
        QFile file(path + u'/' + kParamFileName);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(ParamWithW(static_cast<std::uint16_t>(w)));
    }
    ASSERT_TRUE(RegisterOnly(workshop));
    CVelmoraApp app;
    ASSERT_TRUE(app.InitInstance());
    ASSERT_TRUE(WaitForTree(*app.mainWindow()->tree()));
    CMainFrame* frame = app.mainWindow();
    cTree* tree = frame->tree();
    tree->SelectNode(tree->topLevelItem(0)->child(0)->child(0));
    EXPECT_TRUE(WaitForTree(*tree));
    ASSERT_EQ(app.currentCalibration().param().bytes[ParamRecord::Layout::ConstantWOffset],
              8000 & 0xFF);

    PushDriveChoice(m_drive + u'/');
    FindCommandAction(frame->menuBar()->findChildren<QAction*>(), CommandId::Import)->trigger();
    ASSERT_TRUE(WaitForTree(*tree));
    ASSERT_NE(tree->SelectedNode(), nullptr);
    EXPECT_EQ(tree->GetNodePath(), stored);
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Velmora [AB123CD : %1][*]").arg(day));
    EXPECT_FALSE(frame->isWindowModified());
    EXPECT_EQ(RecordFileContent(app.currentCalibration().param().bytes), ParamWithW(9999));

    tree->SelectNode(tree->topLevelItem(0));
    EXPECT_TRUE(WaitForTree(*tree));
    FindCommandAction(frame->menuBar()->findChildren<QAction*>(), CommandId::SaveCalibration)
        ->trigger();
    EXPECT_EQ(ReadFile(stored + u'/' + kParamFileName), ParamWithW(9999));
    EXPECT_TRUE(ShownTexts().isEmpty());
}

// Two sticks whose mount points differ only at the end: the drive list shows each end, a
// point wider than the screen losing its middle, never its end.
TEST_F(TransferMainWindow, driveListShowsTheEndOfLongMountPoints)
{
    const QStringList roots = {
        m_drives.mount(QString(20, u'm') + QStringLiteral("_STICK_A"), FakeDrives::Disk::Usb) +
            u'/',
        m_drives.mount(QString(240, u'w') + QStringLiteral("_STICK_B"), FakeDrives::Disk::Usb) +
            u'/'};
    ASSERT_TRUE(RegisterOnly(MakeWorkshopFolder(QStringLiteral("W"))));
    CVelmoraApp app;
    ASSERT_TRUE(app.InitInstance());
    ASSERT_TRUE(WaitForTree(*app.mainWindow()->tree()));
    CMainFrame* frame = app.mainWindow();
    frame->tree()->SelectNode(frame->tree()->topLevelItem(0));
    EXPECT_TRUE(WaitForTree(*frame->tree()));
    const int screenWidth = frame->screen()->availableGeometry().width();
    ModalRunner::pushHandler([&](QDialog& dialog) {
        auto* list = dialog.findChild<QComboBox*>(QStringLiteral("id1006"));
        dialog.show();
        if (!list || list->findData(roots[0]) < 0 || list->findData(roots[1]) < 0) {
            ADD_FAILURE() << "the sticks are not offered";
            dialog.reject();
            return dialog.result();
        }
        for (const QString& root : roots) {
            const int i = list->findData(root);
            const QString shown = list->itemText(i);
            EXPECT_TRUE(shown.endsWith(root.right(9))) << shown.toStdString();
            EXPECT_EQ(list->itemData(i, Qt::ToolTipRole).toString(), root);
            EXPECT_GE(list->width(), list->fontMetrics().horizontalAdvance(shown));
        }
        EXPECT_EQ(list->itemText(list->findData(roots[0])), roots[0]);
        EXPECT_LE(dialog.width(), screenWidth);
        dialog.reject();
        return dialog.result();
    });
    FindCommandAction(frame->menuBar()->findChildren<QAction*>(), CommandId::Export)->trigger();
    EXPECT_FALSE(ModalRunner::hasPendingHandlers());
}

} // namespace

namespace {

// A stick that takes its time over the first day: the window keeps handling events, no
// other file work may start, the progress counts the days, and its Cancel ends the export
// after the day under way.
TEST_F(TransferMainWindow, slowExportKeepsTheWindowRunningAndCancelEndsAfterTheDayUnderWay)
{
    const QString workshop = m_data.filePath(QStringLiteral("W"));
    MakeStoredCalibration(workshop, QStringLiteral("A111AA"), QStringLiteral("20250101"), 1);
    MakeStoredCalibration(workshop, QStringLiteral("A111AA"), QStringLiteral("20250202"), 2);
    ASSERT_TRUE(RegisterOnly(workshop));
    CVelmoraApp app;
    ASSERT_TRUE(app.InitInstance());
    CMainFrame* frame = app.mainWindow();
    ASSERT_TRUE(WaitForTree(*frame->tree()));
    frame->tree()->SelectNode(frame->tree()->topLevelItem(0)->child(0));
    ASSERT_TRUE(WaitForTree(*frame->tree()));

    // The first write onto the stick waits until the test lets it go (or 5 s have passed).
    std::mutex mutex;
    std::condition_variable letGo;
    bool released = false;
    std::atomic<int> writes{0};
    std::atomic<bool> held{false};
    AtomicFileWriter::setStepHook([&](AtomicFileWriter::FaultPoint point) {
        if (point != AtomicFileWriter::FaultPoint::Write || writes.fetch_add(1) != 0)
            return;
        held = true;
        std::unique_lock lock(mutex);
        letGo.wait_for(lock, std::chrono::seconds(5), [&] { return released; });
        held = false;
    });
    int ticksWhileHeld = 0;
    bool busyWhileHeld = true;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        if (!held)
            return;
        ++ticksWhileHeld;
        busyWhileHeld = busyWhileHeld && BackgroundWork::Busy();
    });
    ticker.start(10);
    std::pair<int, int> shownCount{-1, -1};
    bool stillShownAfterCancel = false;
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        auto* progress = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget());
        auto* cancel = progress ? progress->findChild<QPushButton*>() : nullptr;
        if (!held || !cancel || !progress->isVisible() || shownCount.first >= 0)
            return;
        shownCount = {progress->value(), progress->maximum()};
        cancel->click();
        // The day under way is still being written: the progress stays until it is.
        stillShownAfterCancel = progress->isVisible() && !cancel->isEnabled();
        const std::lock_guard lock(mutex);
        released = true;
        letGo.notify_all();
    });
    watcher.start(20);

    PushDriveChoice(m_drive + u'/');
    FindCommandAction(frame->menuBar()->findChildren<QAction*>(), CommandId::Export)->trigger();
    AtomicFileWriter::setStepHook({});

    EXPECT_GT(ticksWhileHeld, 5);
    EXPECT_TRUE(busyWhileHeld);
    EXPECT_EQ(shownCount, (std::pair{0, 2}));
    EXPECT_TRUE(stillShownAfterCancel);
    EXPECT_EQ(FilesUnder(DriveFolder()).keys(),
              (QStringList{QStringLiteral("A111AA/20250101/GSM.BIN"),
                           QStringLiteral("A111AA/20250101/PARAM.BIN")}));
    EXPECT_EQ(frame->statusBar()->currentMessage(),
              Lang(StringId::TransferExported).arg(1).arg(DriveFolder()) + u' ' +
                  Lang(StringId::TransferStopped).arg(1).arg(2));
    EXPECT_TRUE(ShownTexts().isEmpty());
}

} // namespace
