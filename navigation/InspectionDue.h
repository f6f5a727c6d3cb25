#pragma once

#include "store/WorkshopRegister.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <vector>

// A tachograph must be inspected at least every two years. The program knows when a vehicle
// was last calibrated from the name of its latest calibration folder ("yyyyMMdd"), and
// reckons the next inspection from that.

inline constexpr int kInspectionIntervalYears = 2;

// The day a calibration folder named "yyyyMMdd" stands for; a null date when the name is
// not such a date.
QDate CalibrationDayOf(QStringView dayName);

// The day the next inspection is due after a calibration on `calibrated`: two years later,
// on the same day of the month; a calibration on 29 February is due on 28 February, so the
// inspection is never late by the reckoning. Null for a null date.
QDate InspectionDueDate(QDate calibrated);

// The latest of `dayNames` that is a date; null when none is.
QDate LatestCalibrationDay(const QStringList& dayNames);

// "Next inspection due by 09.12.2026", or "Inspection overdue since ..." when `due` is
// before `today`, in the loaded language.
QString InspectionDueText(QDate due, QDate today);

// One vehicle whose inspection is due, as the due list shows it.
struct DueVehicle {
    QString workshopFolder;
    QString workshopName; // as the tree shows it (WorkshopDisplayName)
    QString vehicle;      // the vehicle's folder name
    QString lastDayFolder;
    QDate lastCalibration;
    QDate due;
    // Read from the vehicle's files on a worker (ReadDueDetails); empty or 0 until then.
    QString owner;
    QString phone;
    int purpose = 0;
};

// The vehicles of the register whose inspection falls due before `before`, earliest due
// date first (so overdue ones lead), then by workshop and number. Built from the register's
// lists alone: nothing is read from disk. Vehicles without a calibration day that is a date
// are left out.
std::vector<DueVehicle> VehiclesDueBefore(const WorkshopRegister& reg, QDate before);

// Fills owner, phone and purpose of each vehicle from its owner record (CINFO.BIN) and the
// parameter record of its latest calibration. Reads files only, so it may run on a worker; a
// file that is missing or damaged leaves its values empty.
void ReadDueDetails(std::vector<DueVehicle>& vehicles);
