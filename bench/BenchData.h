#pragma once

#include "store/WorkshopRegister.h"

#include <QString>

// A data folder of real workshop folders under the system's temporary folder: `workshops`
// workshops of `vehicles` vehicles of `days` calibration days each, every day with its
// PARAM_UP.BIN (naming the vehicle) and GSM_UP.BIN, every vehicle with its CINFO.BIN. Made
// once and reused by later runs; a marker file says it is complete.
class BenchData {
public:
    BenchData(int workshops, int vehicles, int days);

    // Makes the folders unless an earlier run did; false when that failed.
    bool make() const;
    // Appends one register entry per workshop, in order.
    void registerWorkshops(WorkshopRegister& reg) const;

    QString root() const;
    QString workshopFolder(int w) const;
    static QString vehicleName(int w, int v);
    static QString dayName(int d);
    // Vehicle and day folders in all.
    int folderCount() const { return m_workshops * m_vehicles * (1 + m_days); }

private:
    int m_workshops;
    int m_vehicles;
    int m_days;
};
