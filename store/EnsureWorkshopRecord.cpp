#include "store/EnsureWorkshopRecord.h"

#include "lang/LanguagePack.h"
#include "lang/StringIds.h"
#include "platform/ModalRunner.h"
#include "platform/Prompts.h"
#include "store/AtomicFileWriter.h"
#include "store/FolderOps.h"
#include "store/RecordFile.h"
#include "store/WorkshopDetails.h"
#include "store/cServiceDlg.h"

bool EnsureWorkshopRecord(WorkshopEntry& entry, QWidget* parent)
{
    // Without a folder the paths below would point at the root of the file system.
    if (entry.folderPath.isEmpty())
        return false;
    if (ReadRecordFile(WorkshopRecordPathOf(entry.folderPath), entry.record.bytes))
        return true;

    cServiceDlg dialog(parent);
    if (ModalRunner::run(dialog) != QDialog::Accepted)
        return false;

    const QString exchange = ExchangeFolderOf(entry.folderPath);
    bool made = false;
    EnsureFolder(exchange, &made);

    WorkshopRecord record;
    StoreDetails(dialog, record);
    const QString path = WorkshopRecordPathOf(entry.folderPath);
    if (!WriteRecordFile(path, record.bytes)) {
        // An exchange folder made for the record goes again; one that stays is named.
        QString message = Lang(StringId::WorkshopWriteFailed).arg(path);
        if (made && !AtomicFileWriter::remove(exchange))
            message += u'\n' + Lang(StringId::FolderDeleteFailed).arg(exchange);
        Prompts::warn(parent, message);
        return false;
    }
    entry.record = record;
    return true;
}
