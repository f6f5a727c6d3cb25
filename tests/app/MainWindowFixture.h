#pragma once

#include "app/CMainFrame.h"
#include "tests/support/TreeWaits.h"
#include "app/CVelmoraApp.h"
#include "app/LockIndicators.h"
#include "lang/LanguagePack.h"
#include "lang/MenuBuilder.h"
#include "lang/ResourceIds.h"
#include "lang/StringIds.h"
#include "navigation/cTree.h"
#include "params/FieldText.h"
#include "params/cListParent.h"
#include "params/cTDGrid.h"
#include "platform/HelpOpener.h"
#include "platform/KeyboardLocks.h"
#include "platform/ModalRunner.h"
#include "platform/Prompts.h"
#include "store/FolderOps.h"
#include "store/LittleEndian.h"
#include "store/RecordFile.h"
#include "store/WorkshopRegister.h"
#include "tests/support/CommandActions.h"
#include "tests/support/GridKeys.h"
#include "tests/support/TempDataFolder.h"
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QSettings>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <gtest/gtest.h>

// The whole program started over workshop folders made for each test, and the ways a user
// reaches it: menu and toolbar actions, keys typed into the grid.

inline const QString kPackDir = QStringLiteral(VELMORA_PACK_DIR);

inline void writeRecord(const QString& path, std::size_t size, std::uint8_t fill)
{
    std::vector<std::uint8_t> payload(size, fill);
    ASSERT_TRUE(WriteRecordFile(path, payload));
}

// A workshop folder with one vehicle and one calibration day, registered in service.txt.
inline QString makeWorkshop(const QString& root, const QString& name, const QString& vehicle,
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

// A calibration day whose parameter record names `vehicle` and holds `w`; the workshop's
// folder and record are made when missing.
inline void writeCalibration(const QString& workshop, const QString& vehicle, const QString& day,
                             std::uint16_t w)
{
    const QString dayFolder = workshop + QStringLiteral("/RX902/") + vehicle + u'/' + day;
    ASSERT_TRUE(QDir().mkpath(dayFolder));
    if (!QFile::exists(workshop + QStringLiteral("/RX902/SINFO.BIN")))
        writeRecord(workshop + QStringLiteral("/RX902/SINFO.BIN"), RecordSize::Workshop, 0);
    ParamRecord param;
    ASSERT_TRUE(EncodeUtf8Text(vehicle, param.bytes.data() + ParamRecord::Layout::RegNumberOffset,
                               ParamRecord::Layout::RegNumberWidth));
    LittleEndian::write(param.bytes.data() + ParamRecord::Layout::ConstantWOffset, w, 2);
    ASSERT_TRUE(WriteRecordFile(dayFolder + QStringLiteral("/PARAM_UP.BIN"), param.bytes));
    writeRecord(dayFolder + QStringLiteral("/GSM_UP.BIN"), RecordSize::Gsm, 0);
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

// Starts the program and shows its window as the active one, as a user finds it once the
// workshops have been read; null when it could not start.
inline CMainFrame* startShown(CVelmoraApp& app)
{
    if (!app.InitInstance())
        return nullptr;
    CMainFrame* frame = app.mainWindow();
    frame->show();
    QApplication::setActiveWindow(frame);
    if (!WaitForTree(*frame->tree()))
        return nullptr;
    return frame;
}

inline QAction* actionFor(const QWidget* bar, int command)
{
    return FindCommandAction(bar->findChildren<QAction*>(), command);
}

inline constexpr int kRowW = 9;
