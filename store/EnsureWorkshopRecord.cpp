#include "store/EnsureWorkshopRecord.h"

#include "lang/LanguagePack.h"
#include "lang/StringIds.h"
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
    if (ReadRecordFile(WorkshopRecordPathOf(entry.folderPath), entry.record.bytes))
        return true;

    cServiceDlg dialog(parent);
    if (ModalRunner::run(dialog) != QDialog::Accepted) {
        // A workshop given up leaves no empty folder made for it; one that stays is named.
        const QString left = RemoveMadeFolders(madeFolders);
        if (!left.isEmpty())
            Prompts::warn(parent, left.mid(1));
        return false;
    }

    const QString exchange = ExchangeFolderOf(entry.folderPath);
    QStringList made = madeFolders;
    bool madeNow = false;
    EnsureFolder(exchange, &madeNow);
    if (madeNow)
        made.prepend(exchange);

    WorkshopRecord record;
    StoreDetails(dialog, record);
    const QString path = WorkshopRecordPathOf(entry.folderPath);
    if (!WriteRecordFile(path, record.bytes)) {
        // The folders made for the record go again; one that stays is named.
        Prompts::warn(parent,
                      Lang(StringId::WorkshopWriteFailed).arg(path) + RemoveMadeFolders(made));
        return false;
    }
    entry.record = record;
    return true;
}
