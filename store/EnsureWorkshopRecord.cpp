#include "store/EnsureWorkshopRecord.h"

#include "platform/ModalRunner.h"
#include "store/FolderOps.h"
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
    if (!PathExists(exchange))
        CreateFolder(exchange);

    WorkshopRecord record;
    StoreDetails(dialog, record);
    if (!WriteWorkshopRecordOrWarn(entry.folderPath, record, parent))
        return false;
    entry.record = record;
    return true;
}
