#pragma once

#include "params/GsmRecord.h"
#include "params/OwnerRecord.h"
#include "params/ParamRecord.h"
#include "store/CalibrationPlace.h"
#include "store/WorkshopRecord.h"

// One calibration as the program works on it: its three records, the details of the
// workshop it belongs to (which the reports print), and where it lives.
struct Calibration {
    ParamRecord param;
    GsmRecord gsm;
    OwnerRecord owner;
    WorkshopRecord workshop;
    CalibrationPlace place;

    bool operator==(const Calibration&) const = default;
};
