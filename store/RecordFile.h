#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <span>

// A record file is one fixed-size record (the payload) followed by a 4-byte little-endian
// sum of the payload bytes. There is no header; the reader knows the payload size from the
// kind of file. The sum is written but never checked on reading.
namespace RecordSize {
inline constexpr std::uint32_t Workshop = 1168;   // SINFO.BIN
inline constexpr std::uint32_t Param = 175;       // PARAM_UP.BIN
inline constexpr std::uint32_t Gsm = 145;         // GSM_UP.BIN
inline constexpr std::uint32_t Owner = 1624;      // CINFO.BIN
inline constexpr std::uint32_t ParamExport = 171; // PARAM.BIN on the removable drive
inline constexpr std::uint32_t GsmExport = 137;   // GSM.BIN on the removable drive
inline constexpr std::uint32_t SumSize = 4;
} // namespace RecordSize

// The byte sum of a payload, modulo 2^32.
std::uint32_t RecordSum(std::span<const std::uint8_t> payload);

// The whole file for a payload: the payload followed by its sum.
QByteArray RecordFileContent(std::span<const std::uint8_t> payload);

// Writes payload and sum, replacing the file atomically (see AtomicFileWriter). The folder
// must exist. Returns false when nothing or not everything could be written; the previous
// file is then left whole.
bool WriteRecordFile(const QString& path, std::span<const std::uint8_t> payload);

// Reads the first dest.size() bytes of the file into dest; bytes past the end of a shorter
// file read as zero. A missing, unreadable or empty file returns false and leaves dest
// untouched. The file is opened read-only.
bool ReadRecordFile(const QString& path, std::span<std::uint8_t> dest);
