#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <cstdint>
#include <span>

class QFile;

// A record file is one fixed-size record (the payload) followed by a 4-byte little-endian
// sum of the payload bytes. There is no header; the reader knows the payload size from the
// kind of file. The plain reader takes whatever is there; the checked reader says whether
// the file is whole, and is what decides before a record replaces or is shown as another.
namespace RecordSize {
inline constexpr std::uint32_t Workshop = 1168;   // SINFO.BIN
inline constexpr std::uint32_t Param = 175;       // PARAM_UP.BIN
inline constexpr std::uint32_t Gsm = 145;         // GSM_UP.BIN
inline constexpr std::uint32_t Owner = 1624;      // CINFO.BIN
inline constexpr std::uint32_t ParamExport = 171; // PARAM.BIN on the removable drive
inline constexpr std::uint32_t GsmExport = 137;   // GSM.BIN on the removable drive
inline constexpr std::uint32_t SumSize = 4;
} // namespace RecordSize

// What a record file holds, judged against the size of its kind.
enum class RecordFileState {
    Whole,      // exactly payload and sum, and the sum matches
    Missing,    // no such file
    Unreadable, // there, but it cannot be opened or read, or it is empty
    Short,      // fewer bytes than payload and sum
    Long,       // more bytes than payload and sum
    BadSum,     // the right size, but the sum does not match the payload
};

// The byte sum of a payload, modulo 2^32.
std::uint32_t RecordSum(std::span<const std::uint8_t> payload);

// The whole file for a payload: the payload followed by its sum.
QByteArray RecordFileContent(std::span<const std::uint8_t> payload);

// Writes payload and sum, replacing the file atomically (see AtomicFileWriter). The folder
// must exist. Returns false when nothing or not everything could be written; the previous
// file is then left whole.
bool WriteRecordFile(const QString& path, std::span<const std::uint8_t> payload);

// The payload size of the record file called `fileName` (SINFO.BIN, PARAM_UP.BIN, GSM_UP.BIN,
// CINFO.BIN, PARAM.BIN, GSM.BIN); 0 for a file that is no record file.
std::uint32_t RecordPayloadSizeOf(const QString& fileName);

// Judges the whole content of a file holding a payload of `payloadSize` bytes.
RecordFileState CheckRecordContent(QByteArrayView content, std::uint32_t payloadSize);

// Reads and checks a record file whose payload is dest.size() bytes. Unless the file is
// missing or unreadable, dest receives what can be read of the payload (zeros past the end
// of a short file) whatever the verdict, so a damaged record can still be shown as such.
RecordFileState ReadCheckedRecordFile(const QString& path, std::span<std::uint8_t> dest);
// The same, from a file already open for reading.
RecordFileState ReadCheckedRecordFile(QFile& file, std::span<std::uint8_t> dest);

// Reads the first dest.size() bytes of the file into dest; bytes past the end of a shorter
// file read as zero. A missing, unreadable or empty file returns false and leaves dest
// untouched. The file is opened read-only.
bool ReadRecordFile(const QString& path, std::span<std::uint8_t> dest);
