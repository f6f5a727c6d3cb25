#pragma once

#include "params/Calibration.h"

#include <QList>
#include <QString>

#include <functional>
#include <optional>
#include <utility>

// A calibration read from its folders, with the files that were there but not whole.
struct CalibrationRead {
    Calibration calibration;
    QList<std::pair<QString, RecordFileState>> faults; // path, what is wrong with it
    bool dayFileThere = false; // one of the day's two files, whole or not
};

// Reads the day's two records and the vehicle's owner record at `place`, beside the
// workshop's details `workshop`. A missing file leaves its record all zero, and so does one
// that cannot be read; a damaged one gives what can be read of it. Every file but a missing
// one that is not whole is named in `faults`. Reads files only, so it may run on any thread.
CalibrationRead ReadCalibration(const CalibrationPlace& place, const WorkshopRecord& workshop);

// Reads as ReadCalibration() does, three files of one save and never half of one save and
// half of another, while other workstations may be saving into the vehicle. Waits, as a save
// does, while another workstation holds the vehicle's lock.
CalibrationRead ReadSavedCalibration(const CalibrationPlace& place, const WorkshopRecord& workshop);

// The reading of ReadSavedCalibration() without taking the vehicle's lock, which costs more
// than the reading: every file is opened first, and the files opened are one save's when,
// after that, no save holds the lock and every name still names the file opened, as a save
// replaces the files by renaming others over them. std::nullopt when that does not hold, or
// when a file is there but cannot be opened, for the caller to read under the lock.
// `afterOpening` runs once every file is open, before anything is checked.
std::optional<CalibrationRead>
ReadCalibrationUnlocked(const CalibrationPlace& place, const WorkshopRecord& workshop,
                        const std::function<void()>& afterOpening = {});
