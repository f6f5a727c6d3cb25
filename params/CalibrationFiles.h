#pragma once

#include "params/Calibration.h"

#include <QList>
#include <QString>

#include <utility>

// A calibration read from its folders, with the files that were there but not whole.
struct CalibrationRead {
    Calibration calibration;
    QList<std::pair<QString, RecordFileState>> faults; // path, what is wrong with it
};

// Reads the day's two records and the vehicle's owner record at `place`, beside the
// workshop's details `workshop`. A missing file leaves its record all zero, and so does one
// that cannot be read; a damaged one gives what can be read of it. Every file but a missing
// one that is not whole is named in `faults`. Reads files only, so it may run on any thread.
CalibrationRead ReadCalibration(const CalibrationPlace& place, const WorkshopRecord& workshop);
