#pragma once

#include <QString>

// Where one calibration lives: <workshop>/RX902/<vehicle>/<day>. Every vehicle and day path
// of the program is built here.
struct CalibrationPlace {
    QString workshopFolder; // as the register names it
    QString vehicle;        // the vehicle folder's name, its registration number
    QString day;            // "yyyyMMdd"; empty for a vehicle without a day yet

    QString vehicleFolder() const;
    QString dayFolder() const;
    // The day's two records and the vehicle's owner record.
    QString paramFile() const;
    QString gsmFile() const;
    QString ownerFile() const;

    bool isEmpty() const { return workshopFolder.isEmpty(); }
    bool operator==(const CalibrationPlace&) const = default;
};

QString JoinPath(const QString& folder, const QString& name);
// "<workshop>/RX902/<vehicle>"
QString VehicleFolderOf(const QString& workshopFolder, const QString& vehicle);
