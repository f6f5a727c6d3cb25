#include "navigation/CalibrationLoader.h"

#include "navigation/WorkshopListings.h"
#include "platform/OffThread.h"

#include <QFileInfo>
#include <QTimer>

#include <memory>

bool DayReading::SameFilesAs(const DayReading& other) const
{
    // The workshop's details come from elsewhere and do not count.
    const Calibration& mine = read.calibration;
    const Calibration& theirs = other.read.calibration;
    return mine.param == theirs.param && mine.gsm == theirs.gsm && mine.owner == theirs.owner &&
           read.faults == other.read.faults;
}

DayReading ReadDay(const CalibrationPlace& place, const WorkshopRecord& workshop)
{
    DayReading reading;
    reading.read = ReadSavedCalibration(place, workshop);
    // A file of the day tells that its folder is there without asking the disk once more.
    reading.dayThere = reading.read.dayFileThere || QFileInfo(place.dayFolder()).isDir();
    reading.vehicleThere = reading.dayThere || QFileInfo(place.vehicleFolder()).isDir();
    return reading;
}

void CalibrationLoader::Request(const CalibrationPlace& place, const WorkshopRecord& workshop)
{
    ++m_newest;
    m_awaited = place;
    m_workshop = workshop;
    if (m_workers < kMaxWorkers)
        Start();
    QTimer::singleShot(WorkshopListings::TimeoutMs(), this, [this, generation = m_newest] {
        if (m_awaited && m_newest == generation) {
            const CalibrationPlace place = *m_awaited;
            m_awaited.reset();
            emit noAnswer(place);
        }
    });
}

void CalibrationLoader::Drop()
{
    m_awaited.reset();
}

void CalibrationLoader::Start()
{
    ++m_workers;
    m_started = m_newest;
    auto reading = std::make_shared<DayReading>();
    OffThread::Run(
        this,
        [reading, place = *m_awaited, workshop = m_workshop] {
            *reading = ReadDay(place, workshop);
        },
        [this, reading, place = *m_awaited, generation = m_newest] {
            Arrived(generation, place, *reading);
        });
}

void CalibrationLoader::Arrived(quint64 generation, const CalibrationPlace& place,
                                const DayReading& reading)
{
    --m_workers;
    if (!m_awaited)
        return;
    if (generation != m_newest) {
        // The newest request may have been waiting for this worker to come back.
        if (m_started != m_newest)
            Start();
        return;
    }
    m_awaited.reset();
    emit dayRead(place, reading);
}
