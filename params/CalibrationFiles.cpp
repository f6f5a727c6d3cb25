#include "params/CalibrationFiles.h"

#include "store/FolderLock.h"
#include "store/HostDisks.h"
#include "store/RecordFile.h"

#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

namespace {

// The file a name or an open file stands for.
struct FileIdentity {
    dev_t device;
    ino_t inode;
    bool operator==(const FileIdentity&) const = default;
};

std::optional<FileIdentity> IdentityOf(const struct stat& info)
{
    return FileIdentity{info.st_dev, info.st_ino};
}

std::optional<FileIdentity> IdentityOfName(const QString& path)
{
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return std::nullopt;
    return IdentityOf(info);
}

std::optional<FileIdentity> IdentityOfOpen(const QFile& file)
{
    struct stat info {};
    if (::fstat(file.handle(), &info) != 0)
        return std::nullopt;
    return IdentityOf(info);
}

// One of a calibration's record files, opened before any of them is read.
struct OpenedRecord {
    OpenedRecord(const QString& path, std::span<std::uint8_t> record)
        : path(path), record(record), file(path)
    {
    }
    QString path;
    std::span<std::uint8_t> record;
    QFile file;
    std::optional<FileIdentity> identity; // none: there was no such file
};

} // namespace

CalibrationRead ReadCalibration(const CalibrationPlace& place, const WorkshopRecord& workshop)
{
    CalibrationRead read;
    read.calibration.workshop = workshop;
    read.calibration.place = place;
    const auto take = [&read](const QString& path, std::span<std::uint8_t> record) {
        const RecordFileState state = ReadCheckedRecordFile(path, record);
        if (state != RecordFileState::Whole && state != RecordFileState::Missing)
            read.faults.append({path, state});
        return state != RecordFileState::Missing;
    };
    read.dayFileThere = take(place.paramFile(), read.calibration.param.bytes);
    read.dayFileThere = take(place.gsmFile(), read.calibration.gsm.bytes) || read.dayFileThere;
    take(place.ownerFile(), read.calibration.owner.bytes);
    return read;
}

std::optional<CalibrationRead> ReadCalibrationUnlocked(const CalibrationPlace& place,
                                                       const WorkshopRecord& workshop,
                                                       const std::function<void()>& afterOpening)
{
    CalibrationRead read;
    read.calibration.workshop = workshop;
    read.calibration.place = place;
    OpenedRecord records[] = {
        {place.paramFile(), read.calibration.param.bytes},
        {place.gsmFile(), read.calibration.gsm.bytes},
        {place.ownerFile(), read.calibration.owner.bytes},
    };
    for (OpenedRecord& opened : records) {
        if (opened.file.open(QIODevice::ReadOnly)) {
            opened.identity = IdentityOfOpen(opened.file);
            if (!opened.identity)
                return std::nullopt;
        } else if (QFileInfo::exists(opened.path)) {
            return std::nullopt;
        }
    }
    if (afterOpening)
        afterOpening();
    // A save under way holds the lock now, or renames one of the files after this look; one
    // that began and ended since the first file was opened renamed one of them already.
    if (QFileInfo::exists(FolderLock::VehicleLockPath(place.vehicleFolder())))
        return std::nullopt;
    for (const OpenedRecord& opened : records) {
        if (IdentityOfName(opened.path) != opened.identity)
            return std::nullopt;
    }
    read.dayFileThere = records[0].identity || records[1].identity;
    // What an open file holds stays as it was: a save never writes into one.
    for (OpenedRecord& opened : records) {
        if (!opened.identity)
            continue;
        const RecordFileState state = ReadCheckedRecordFile(opened.file, opened.record);
        if (state != RecordFileState::Whole)
            read.faults.append({opened.path, state});
    }
    return read;
}

CalibrationRead ReadSavedCalibration(const CalibrationPlace& place, const WorkshopRecord& workshop)
{
    // Only this host's own file systems tell for certain that a name still names the file
    // opened.
    if (OnThisHostsDisks(place.vehicleFolder())) {
        if (std::optional<CalibrationRead> read = ReadCalibrationUnlocked(place, workshop))
            return std::move(*read);
    }
    FolderLock lock(FolderLock::VehicleLockPath(place.vehicleFolder()));
    lock.Acquire();
    return ReadCalibration(place, workshop);
}
