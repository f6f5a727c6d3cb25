#pragma once

#include "params/CalibrationFiles.h"
#include "store/CalibrationPlace.h"
#include "store/WorkshopRecord.h"

#include <QObject>

#include <optional>

// What was read of one calibration day: its records with the files that were not whole, and
// whether the day and its vehicle were there at all.
struct DayReading {
    CalibrationRead read;
    bool dayThere = false;
    bool vehicleThere = false;

    // Whether the files hold what they held when `other` was read: another workstation saved
    // over them when not.
    bool SameFilesAs(const DayReading& other) const;
};

// Reads the day at `place` as ReadSavedCalibration() does, so that a save of another
// workstation is never seen half done; when the vehicle's lock cannot be had the files are
// read as they are. Touches files only, so it may run on any thread.
DayReading ReadDay(const CalibrationPlace& place, const WorkshopRecord& workshop);

// Reads calibration days for the window on worker threads. Only the newest request counts:
// a reading that a newer request overtook is dropped when it arrives. A day that does not
// answer ties up at most kMaxWorkers threads; a newer request waits for one of them to come
// back, and one that has no answer within WorkshopListings::TimeoutMs() is given up.
class CalibrationLoader : public QObject {
    Q_OBJECT
public:
    explicit CalibrationLoader(QObject* parent = nullptr) : QObject(parent) {}

    void Request(const CalibrationPlace& place, const WorkshopRecord& workshop);
    // Forgets the awaited reading: it is dropped when it arrives.
    void Drop();
    bool Pending() const { return m_awaited.has_value(); }

    static constexpr int kMaxWorkers = 2;

signals:
    void dayRead(const CalibrationPlace& place, const DayReading& reading);
    void noAnswer(const CalibrationPlace& place);

private:
    void Start();
    void Arrived(quint64 generation, const CalibrationPlace& place, const DayReading& reading);

    quint64 m_newest = 0;
    quint64 m_started = 0;
    int m_workers = 0;
    std::optional<CalibrationPlace> m_awaited;
    WorkshopRecord m_workshop;
};
