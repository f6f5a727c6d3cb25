#pragma once

#include "params/Calibration.h"

#include <QString>

// What became of a save.
struct StoreOutcome {
    bool saved = false;
    QString failure; // in the loaded language, naming every folder and file concerned
};

// Writes a calibration at its place:
//   <workshop>/RX902/<vehicle>/<day>/PARAM_UP.BIN and GSM_UP.BIN,
//   <workshop>/RX902/<vehicle>/CINFO.BIN.
// The vehicle and day folders are made when missing. The three files are replaced together:
// a failure before the first rename leaves the old calibration as it was and takes away the
// folders this save made; one after it names which files are new and which old. The place
// is taken as it is (the caller checks the registration number). Needs no widgets, so it
// may run on any thread.
StoreOutcome StoreCalibration(const Calibration& calibration);
