#include "../reports/FakePrinters.h"
#include "lang/LanguagePack.h"
#include "lang/StringIds.h"
#include "platform/ModalRunner.h"
#include "platform/Prompts.h"
#include "reports/PrinterSettings.h"
#include "reports/cPrinterSettingsDlg.h"
#include "store/AtomicFileWriter.h"
#include "store/DataFolder.h"
#include "store/RegisterSaver.h"
#include "store/WorkshopDetails.h"
#include "store/WorkshopRegister.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

// Every saver run through every failure position of the file writer: afterwards the file is
// the old one or the new one byte for byte, exactly as the saver's result says; no temporary
// file is left; a failure was told once; and what the program holds matches the disk.
namespace {

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct Saver {
    QString file;
    std::function<void()> putOld;  // the state before the save, on disk and in memory
    std::function<bool()> saveNew; // the user's save of the new state
    std::function<bool(bool saved)> memoryMatches;
};

void Sweep(const Saver& saver)
{
    Prompts::setSilent(true);
    saver.putOld();
    const QByteArray first = ReadFile(saver.file);
    AtomicFileWriter::failAtStep(0);
    ASSERT_TRUE(saver.saveNew());
    const int steps = AtomicFileWriter::stepsTaken();
    const QByteArray second = ReadFile(saver.file);
    ASSERT_NE(first, second);
    ASSERT_TRUE(Prompts::takeShownTexts().isEmpty());
    // Creation, mode, at least one write, sync, close, rename, folder open and sync.
    ASSERT_GE(steps, 8);

    int refused = 0;
    for (int position = 1; position <= steps; ++position) {
        saver.putOld();
        AtomicFileWriter::failAtStep(position);
        const bool saved = saver.saveNew();
        AtomicFileWriter::failAtStep(0);
        refused += saved ? 0 : 1;
        EXPECT_EQ(ReadFile(saver.file), saved ? second : first) << position;
        EXPECT_EQ(Prompts::takeShownTexts().size(), saved ? 0 : 1) << position;
        EXPECT_TRUE(saver.memoryMatches(saved)) << position;
        const QStringList left =
            QFileInfo(saver.file).dir().entryList(QDir::Files | QDir::Hidden | QDir::System);
        for (const QString& name : left)
            EXPECT_FALSE(name.startsWith(u'.')) << position << ' ' << name.toStdString();
    }
    // Every step up to the rename fails the save; only the folder's flush after it does not.
    EXPECT_GE(refused, steps - 2);
    Prompts::setSilent(false);
}

WorkshopRegister RegisterOf(const QStringList& paths)
{
    WorkshopRegister reg;
    for (const QString& path : paths) {
        WorkshopEntry entry;
        entry.folderPath = path;
        reg.entries().push_back(std::move(entry));
    }
    return reg;
}

QStringList PathsOf(const WorkshopRegister& reg)
{
    QStringList paths;
    for (const WorkshopEntry& entry : reg.entries())
        paths << entry.folderPath;
    return paths;
}

TEST(SaverSweep, RegisterSave)
{
    const QStringList oldPaths{QStringLiteral("/srv/one")};
    const QStringList newPaths{QStringLiteral("/srv/one"), QStringLiteral("/home/мастерская")};
    const WorkshopRegister changed = RegisterOf(newPaths);
    const QString file = WorkshopRegister::serviceFilePath();
    Sweep({file, [&] { ASSERT_TRUE(RegisterOf(oldPaths).save(file)); },
           [&] { return SaveRegisterOrWarn(changed, nullptr); },
           [&](bool saved) {
               // A register whose save failed stays changed for this run, as the message
               // says; the disk keeps the register as it was.
               WorkshopRegister onDisk;
               onDisk.load(file);
               return PathsOf(onDisk) == (saved ? newPaths : oldPaths);
           }});
}

TEST(SaverSweep, WorkshopDetailsEdit)
{
    QTemporaryDir folder;
    ASSERT_TRUE(QDir(folder.path()).mkpath(QStringLiteral("RX902")));
    WorkshopEntry entry;
    entry.folderPath = folder.path();
    const QString file = WorkshopRecordPathOf(folder.path());
    WorkshopRecord oldRecord;
    oldRecord.setField(WorkshopRecord::Field::Name, QStringLiteral("Old shop"));

    Sweep({file,
           [&] {
               ASSERT_TRUE(WriteRecordFile(file, oldRecord.bytes));
               entry.record = oldRecord;
           },
           [&] {
               // The user types new details into the dialog and presses OK.
               ModalRunner::pushHandler([](QDialog& dialog) {
                   const QStringList typed{QStringLiteral("New shop"), QStringLiteral("Street 1"),
                                           QStringLiteral("+7 900"), QStringLiteral("101000")};
                   for (int i = 0; i < typed.size(); ++i)
                       dialog.findChild<QLineEdit*>(QStringLiteral("id%1").arg(1010 + i))
                           ->setText(typed[i]);
                   dialog.accept();
                   return dialog.result();
               });
               return EditWorkshopDetails(entry, nullptr);
           },
           [&](bool saved) {
               WorkshopRecord onDisk;
               const bool read = ReadRecordFile(file, onDisk.bytes);
               return read && onDisk == entry.record &&
                      (entry.record.field(WorkshopRecord::Field::Name) ==
                       (saved ? QStringLiteral("New shop") : QStringLiteral("Old shop")));
           }});
    EXPECT_FALSE(ModalRunner::hasPendingHandlers());
}

TEST(SaverSweep, PrinterSettingsOk)
{
    FakePrinters printers({QStringLiteral("Office"), QStringLiteral("Tickets")},
                          QStringLiteral("Office"));
    const QString file = PrinterSettings::filePath();
    QDir().mkpath(QFileInfo(file).path());
    std::unique_ptr<cPrinterSettingsDlg> dialog;
    Sweep({file,
           [&] {
               ASSERT_TRUE((
                   PrinterSettings{QStringLiteral("Office"), QStringLiteral("Office")}.save(file)));
               dialog = std::make_unique<cPrinterSettingsDlg>();
           },
           [&] {
               // The user picks the ticket printer and presses OK; a failed write keeps the
               // dialog open.
               auto* ticket = dialog->findChild<QComboBox*>(QStringLiteral("id1008"));
               ticket->setCurrentText(QStringLiteral("Tickets"));
               dialog->accept();
               return dialog->result() == QDialog::Accepted;
           },
           [&](bool saved) {
               const PrinterSettings onDisk = PrinterSettings::load(file);
               return dialog->settings() == onDisk &&
                      onDisk.ticketPrinter ==
                          (saved ? QStringLiteral("Tickets") : QStringLiteral("Office"));
           }});
}

} // namespace
