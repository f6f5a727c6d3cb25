#include "params/CalibrationFiles.h"

#include "store/RecordFile.h"

CalibrationRead ReadCalibration(const CalibrationPlace& place, const WorkshopRecord& workshop)
{
    CalibrationRead read;
    read.calibration.workshop = workshop;
    read.calibration.place = place;
    const auto take = [&read](const QString& path, std::span<std::uint8_t> record) {
        const RecordFileState state = ReadCheckedRecordFile(path, record);
        if (state != RecordFileState::Whole && state != RecordFileState::Missing)
            read.faults.append({path, state});
    };
    take(place.paramFile(), read.calibration.param.bytes);
    take(place.gsmFile(), read.calibration.gsm.bytes);
    take(place.ownerFile(), read.calibration.owner.bytes);
    return read;
}
