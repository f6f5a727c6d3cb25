#pragma once

#include "params/ParamRecord.h"
#include "store/RecordFile.h"

#include <QString>

#include <vector>

// A vehicle's calibrations as its history window lists them: one per day folder, newest
// first, each with the parameter record of that day.
namespace CalibrationHistory {

struct Entry {
    QString day; // the day folder's name
    ParamRecord param;
    RecordFileState state; // of the day's PARAM_UP.BIN
};

// The columns, in the window's order.
enum Column { Date, Purpose, W, K, L, TyreSize, Odometer, Speed, ColumnCount };

// Reads every day of the vehicle folder. Reads files, so it may run on any thread.
std::vector<Entry> Read(const QString& vehicleFolder);

// Whether the entry has values to show: its record file is there and could be read.
bool HasValues(const Entry& entry);
// The text of a column of the entry, in the language in use; only the date for an entry
// without values.
QString CellText(const Entry& entry, int column);

} // namespace CalibrationHistory
