#include "store/WorkshopDetails.h"

#include "lang/LanguagePack.h"
#include "lang/StringIds.h"
#include "platform/BackgroundWork.h"
#include "platform/ModalRunner.h"
#include "platform/Prompts.h"
#include "store/cServiceDlg.h"

void StoreDetails(const cServiceDlg& dialog, WorkshopRecord& record)
{
    record.setField(WorkshopRecord::Field::Name, dialog.name);
    record.setField(WorkshopRecord::Field::Address, dialog.address);
    record.setField(WorkshopRecord::Field::Phone, dialog.phone);
    record.setField(WorkshopRecord::Field::Index, dialog.index);
}

bool WriteWorkshopRecordOrWarn(const QString& workshopFolder, const WorkshopRecord& record,
                               QWidget* parent)
{
    const QString path = WorkshopRecordPathOf(workshopFolder);
    bool written = false;
    BackgroundWork::Run(parent, Lang(StringId::WaitingForFolder),
                        [&] { written = WriteRecordFile(path, record.bytes); });
    if (written)
        return true;
    Prompts::warn(parent, Lang(StringId::WorkshopWriteFailed).arg(path));
    return false;
}

bool EditWorkshopDetails(WorkshopEntry& entry, QWidget* parent)
{
    if (entry.folderPath.isEmpty())
        return false;
    cServiceDlg dialog(parent);
    dialog.name = entry.record.field(WorkshopRecord::Field::Name);
    dialog.address = entry.record.field(WorkshopRecord::Field::Address);
    dialog.phone = entry.record.field(WorkshopRecord::Field::Phone);
    dialog.index = entry.record.field(WorkshopRecord::Field::Index);
    if (ModalRunner::run(dialog) != QDialog::Accepted)
        return false;

    WorkshopRecord edited = entry.record;
    StoreDetails(dialog, edited);
    // Until the file holds the new details, the entry keeps what is on disk.
    if (!WriteWorkshopRecordOrWarn(entry.folderPath, edited, parent))
        return false;
    bool read = false;
    WorkshopRecord stored;
    BackgroundWork::Run(parent, Lang(StringId::WaitingForFolder), [&] {
        read = ReadRecordFile(WorkshopRecordPathOf(entry.folderPath), stored.bytes);
    });
    entry.record = read ? stored : edited;
    return true;
}
