#pragma once

#include "params/Calibration.h"

#include <QString>

// What became of a save.
struct StoreOutcome {
    bool saved = false;
    QString failure; // in the loaded language, naming every folder and file concerned
};

// Writes a calibration at its place, under the vehicle's lock so that two workstations saving
// the same vehicle at once never leave one's records beside the other's:
//   <workshop>/RX902/<vehicle>/<day>/PARAM_UP.BIN and GSM_UP.BIN,
//   <workshop>/RX902/<vehicle>/CINFO.BIN.
// The vehicle and day folders are made when missing. The three files are replaced together:
// a failure before the first rename leaves the old calibration as it was and takes away the
// folders this save made; one after it names which files are new and which old. The place
// is taken as it is (the caller checks the registration number). A lock held elsewhere is
// waited for (FolderLock::WaitMs()), then the save is refused naming the workstation. Needs no
// widgets; it waits, so it runs on a worker.
StoreOutcome StoreCalibration(const Calibration& calibration);
