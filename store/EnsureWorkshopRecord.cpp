#include "store/EnsureWorkshopRecord.h"

#include "lang/LanguagePack.h"
#include "lang/StringIds.h"
#include "platform/BackgroundWork.h"
#include "platform/ModalRunner.h"
#include "platform/Prompts.h"
#include "store/FolderOps.h"
#include "store/MadeFolders.h"
#include "store/RecordFile.h"
#include "store/WorkshopDetails.h"
#include "store/cServiceDlg.h"

bool EnsureWorkshopRecord(WorkshopEntry& entry, QWidget* parent, const QStringList& madeFolders)
{
    // Without a folder the paths below would point at the root of the file system.
    if (entry.folderPath.isEmpty())
        return false;
    // The folder may be on a file server: its disk work runs off this thread.
    bool read = false;
    WorkshopRecord stored;
    BackgroundWork::Run(parent, Lang(StringId::WaitingForFolder), [&] {
        read = ReadRecordFile(WorkshopRecordPathOf(entry.folderPath), stored.bytes);
    });
    if (read) {
        entry.record = stored;
        return true;
    }

    cServiceDlg dialog(parent);
    if (ModalRunner::run(dialog) != QDialog::Accepted) {
        // A workshop given up leaves no empty folder made for it; one that stays is named.
        QString left;
        BackgroundWork::Run(parent, Lang(StringId::WaitingForFolder),
                            [&] { left = RemoveMadeFolders(madeFolders); });
        if (!left.isEmpty())
            Prompts::warn(parent, left.mid(1));
        return false;
    }

    WorkshopRecord record;
    StoreDetails(dialog, record);
    const QString path = WorkshopRecordPathOf(entry.folderPath);
    bool written = false;
    QString left;
    BackgroundWork::Run(parent, Lang(StringId::WaitingForFolder), [&] {
        const QString exchange = ExchangeFolderOf(entry.folderPath);
        QStringList made = madeFolders;
        bool madeNow = false;
        EnsureFolder(exchange, &madeNow);
        if (madeNow)
            made.prepend(exchange);
        written = WriteRecordFile(path, record.bytes);
        // The folders made for the record go again; one that stays is named.
        if (!written)
            left = RemoveMadeFolders(made);
    });
    if (!written) {
        Prompts::warn(parent, Lang(StringId::WorkshopWriteFailed).arg(path) + left);
        return false;
    }
    entry.record = record;
    return true;
}
