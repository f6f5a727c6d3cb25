#include "params/CalibrationFiles.h"

#include "store/FolderLock.h"
#include "store/HostDisks.h"
#include "store/RecordFile.h"

#include <QFile>
#include <QFileInfo>

#include <array>
#include <utility>

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

// A calibration's three record files: the day's two, then the vehicle's owner record, each
// with the record of `read` it fills.
std::array<std::pair<QString, std::span<std::uint8_t>>, 3> RecordFilesOf(CalibrationRead& read)
{
    const CalibrationPlace& place = read.calibration.place;
    return {{{place.paramFile(), read.calibration.param.bytes},
             {place.gsmFile(), read.calibration.gsm.bytes},
             {place.ownerFile(), read.calibration.owner.bytes}}};
}
constexpr std::size_t kDayFiles = 2;

CalibrationRead EmptyRead(const CalibrationPlace& place, const WorkshopRecord& workshop)
{
    CalibrationRead read;
    read.calibration.workshop = workshop;
    read.calibration.place = place;
    return read;
}

// Every file but a missing one that is not whole is a fault.
void Note(CalibrationRead& read, const QString& path, RecordFileState state)
{
    if (state != RecordFileState::Whole && state != RecordFileState::Missing)
        read.faults.append({path, state});
}

} // namespace

CalibrationRead ReadCalibration(const CalibrationPlace& place, const WorkshopRecord& workshop)
{
    CalibrationRead read = EmptyRead(place, workshop);
    const auto files = RecordFilesOf(read);
    for (std::size_t i = 0; i < files.size(); ++i) {
        const auto& [path, record] = files[i];
        const RecordFileState state = ReadCheckedRecordFile(path, record);
        Note(read, path, state);
        if (i < kDayFiles && state != RecordFileState::Missing)
            read.dayFileThere = true;
    }
    return read;
}

std::optional<CalibrationRead> ReadCalibrationUnlocked(const CalibrationPlace& place,
                                                       const WorkshopRecord& workshop,
                                                       const std::function<void()>& afterOpening)
{
    CalibrationRead read = EmptyRead(place, workshop);
    const auto files = RecordFilesOf(read);
    std::array<QFile, 3> opened;
    std::array<std::optional<FileIdentity>, 3> identities; // none: there was no such file
    for (std::size_t i = 0; i < files.size(); ++i) {
        opened[i].setFileName(files[i].first);
        if (opened[i].open(QIODevice::ReadOnly)) {
            identities[i] = IdentityOfOpen(opened[i]);
            if (!identities[i])
                return std::nullopt;
        } else if (QFileInfo::exists(files[i].first)) {
            return std::nullopt;
        }
    }
    if (afterOpening)
        afterOpening();
    // A save under way holds the lock now, or renames one of the files after this look; one
    // that began and ended since the first file was opened renamed one of them already.
    if (QFileInfo::exists(FolderLock::VehicleLockPath(place.vehicleFolder())))
        return std::nullopt;
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (IdentityOfName(files[i].first) != identities[i])
            return std::nullopt;
    }
    // What an open file holds stays as it was: a save never writes into one.
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (!identities[i])
            continue;
        Note(read, files[i].first, ReadCheckedRecordFile(opened[i], files[i].second));
        if (i < kDayFiles)
            read.dayFileThere = true;
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
