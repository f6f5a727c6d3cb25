#pragma once

#include "params/GsmRecord.h"
#include "params/OwnerRecord.h"
#include "params/ParamRecord.h"

// The records of the calibration on screen. Each lives at one fixed place for the whole
// run: the parameter descriptor table points into them, so they are never reallocated.
// Loads copy whole records over them; the grid's set-up zeroes them.
ParamRecord& CurrentParamRecord();
GsmRecord& CurrentGsmRecord();
OwnerRecord& CurrentOwnerRecord();

// Zeroes the three records, as the grid's set-up does (the workshop copy is left alone).
void ClearCurrentRecords();
