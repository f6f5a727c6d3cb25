#pragma once

#include "store/WorkshopRegister.h"

#include <QStringList>

class QWidget;

// Makes sure the workshop of `entry` (its folder path set) has its record on disk. A
// readable, non-empty RX902/SINFO.BIN is read into the entry and true returned at once.
// Otherwise the details dialog asks for the workshop's details; on OK the RX902 folder is
// created when missing (the workshop folder itself must exist) and the record written.
// False when the path is empty, the user cancelled or the write failed (the user is told); the
// entry's record is then unchanged.
// `madeFolders` are the folders the caller made for this workshop, deepest first: when no
// record is written they are removed again with the exchange folder made here, and each
// that stays is named to the user.
bool EnsureWorkshopRecord(WorkshopEntry& entry, QWidget* parent = nullptr,
                          const QStringList& madeFolders = {});
