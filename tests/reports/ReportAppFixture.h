#pragma once

#include "app/CMainFrame.h"
#include "app/CVelmoraApp.h"
#include "lang/LanguagePack.h"
#include "lang/ResourceIds.h"
#include "navigation/cTree.h"
#include "platform/ModalRunner.h"
#include "platform/Prompts.h"
#include "reports/cHTMLFrame.h"
#include "store/FolderOps.h"
#include "store/RecordFile.h"
#include "store/WorkshopRegister.h"
#include "tests/reports/ReportTestRecords.h"
#include "tests/support/CommandActions.h"
#include "tests/support/TempDataFolder.h"
#include "tests/support/TreeWaits.h"

#include <QAction>
#include <QDir>
#include <QMenuBar>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QToolBar>

#include <gtest/gtest.h>

#include <memory>

// The output of a command-line tool (poppler-utils, CUPS's clients) with its errors.
inline QString RunTool(const QString& program, const QStringList& args)
{
    QProcess process;
    process.start(program, args);
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError());
}

// The pictures in a PDF file as "<width>x<height>", from `pdfimages -list` (masks left out).
inline QStringList PdfPictures(const QString& pdf)
{
    QStringList pictures;
    const QString listing = RunTool(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf});
    for (const QString& line : listing.split(u'\n')) {
        const QStringList columns = line.simplified().split(u' ');
        if (columns.size() > 4 && columns[2] == QLatin1String("image"))
            pictures.append(columns[3] + u'x' + columns[4]);
    }
    return pictures;
}

// The workshop's logo as a page shows it.
inline const QString kLogoPicture = QStringLiteral("24x24");

// While it lives, the current folder is an empty one, so that nothing a page names is found
// there by chance (the build folder holds the program's data files).
class EmptyCurrentFolder {
public:
    EmptyCurrentFolder() { QDir::setCurrent(m_dir.path()); }
    ~EmptyCurrentFolder() { QDir::setCurrent(m_previous); }

private:
    QTemporaryDir m_dir;
    QString m_previous = QDir::currentPath();
};

// The whole program over one registered workshop with vehicle A123BC and its calibration
// of 14 February 2026, holding the records of FilledDocument().
class ReportAppFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        Prompts::setSilent(true);
        Prompts::takeShownTexts();
        QSettings().clear();
        ASSERT_TRUE(LanguagePack::current().load(QStringLiteral("Velmora_ru")));
        const CalibrationDocument doc = FilledDocument();
        m_workshop = m_root.filePath(QStringLiteral("Tver workshop"));
        const QString vehicle = ExchangeFolderOf(m_workshop) + QStringLiteral("/A123BC");
        ASSERT_TRUE(QDir().mkpath(vehicle + QStringLiteral("/20260214")));
        ASSERT_TRUE(WriteRecordFile(ExchangeFolderOf(m_workshop) + QStringLiteral("/SINFO.BIN"),
                                    doc.workshop.bytes));
        ASSERT_TRUE(WriteRecordFile(vehicle + QStringLiteral("/20260214/") + kParamFileName,
                                    doc.param.bytes));
        ASSERT_TRUE(
            WriteRecordFile(vehicle + QStringLiteral("/20260214/") + kGsmFileName, doc.gsm.bytes));
        ASSERT_TRUE(WriteRecordFile(vehicle + u'/' + kOwnerFileName, doc.owner.bytes));
        WorkshopRegister reg;
        WorkshopEntry entry;
        entry.folderPath = m_workshop;
        reg.entries().push_back(entry);
        ASSERT_TRUE(reg.save(WorkshopRegister::serviceFilePath()));
    }

    void TearDown() override
    {
        EXPECT_FALSE(ModalRunner::hasPendingHandlers());
        ModalRunner::clearHandlers();
        LanguagePack::current().load(QStringLiteral("Velmora_ru"));
    }

    void start()
    {
        m_app = std::make_unique<CVelmoraApp>();
        ASSERT_TRUE(m_app->InitInstance());
        ASSERT_TRUE(WaitForTreeWithoutPainting(*m_app->mainWindow()->tree()));
    }

    CMainFrame* frame() const { return m_app->mainWindow(); }
    cTree* tree() const { return frame()->tree(); }

    void selectLevel(int level)
    {
        QTreeWidgetItem* node = tree()->topLevelItem(0);
        for (int l = TreeLevel::Workshop; l < level; ++l)
            node = node->child(0);
        tree()->SelectNode(node);
        EXPECT_TRUE(WaitForTreeWithoutPainting(*tree()));
    }

    // Starts the program, selects the first calibration day and prints its record from the
    // menu: the report window, or null when none opened.
    cHTMLFrame* printDayRecord()
    {
        start();
        if (::testing::Test::HasFatalFailure())
            return nullptr;
        selectLevel(TreeLevel::Day);
        triggerMenu(frame(), CommandId::PrintRecord);
        return m_app->reportWindow();
    }

    // Triggers the action of `commandId` in the window's menu bar, as a click does.
    static void triggerMenu(QMainWindow* window, int commandId)
    {
        if (QAction* action =
                FindCommandAction(window->menuBar()->findChildren<QAction*>(), commandId)) {
            action->trigger();
            return;
        }
        ADD_FAILURE() << "no menu entry for command " << commandId;
    }

    TempDataFolder m_data;
    QTemporaryDir m_root;
    QString m_workshop;
    std::unique_ptr<CVelmoraApp> m_app;
};
