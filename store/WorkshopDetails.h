#pragma once

#include "store/WorkshopRegister.h"

class QWidget;
class cServiceDlg;

// Copies the four values of the details dialog into the record's fields.
void StoreDetails(const cServiceDlg& dialog, WorkshopRecord& record);

// Writes the record as the workshop's RX902/SINFO.BIN; on failure the user is told which
// file could not be written and false is returned.
bool WriteWorkshopRecordOrWarn(const QString& workshopFolder, const WorkshopRecord& record,
                               QWidget* parent);

// The details edit of the workshop list: shows the entry's details in the dialog and, on
// OK, writes them to the workshop's SINFO.BIN (its RX902 folder must exist) and reads the
// file back into the entry. False when cancelled or when the write failed; the entry's
// record is then unchanged.
bool EditWorkshopDetails(WorkshopEntry& entry, QWidget* parent);
