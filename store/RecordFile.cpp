#include "store/RecordFile.h"

#include "store/AtomicFileWriter.h"
#include "store/FolderOps.h"
#include "store/LittleEndian.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <utility>

std::uint32_t RecordSum(std::span<const std::uint8_t> payload)
{
    std::uint32_t sum = 0;
    for (const std::uint8_t byte : payload)
        sum += byte;
    return sum;
}

QByteArray RecordFileContent(std::span<const std::uint8_t> payload)
{
    QByteArray content(static_cast<qsizetype>(payload.size() + RecordSize::SumSize), '\0');
    auto* out = reinterpret_cast<std::uint8_t*>(content.data());
    std::copy(payload.begin(), payload.end(), out);
    LittleEndian::write(out + payload.size(), RecordSum(payload), RecordSize::SumSize);
    return content;
}

bool WriteRecordFile(const QString& path, std::span<const std::uint8_t> payload)
{
    return AtomicFileWriter::replace(path, RecordFileContent(payload));
}

bool ReadRecordFile(const QString& path, std::span<std::uint8_t> dest)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    // Read into a buffer first so that a failed or empty read leaves dest untouched.
    QByteArray data(static_cast<qsizetype>(dest.size()), '\0');
    qsizetype total = 0;
    while (total < data.size()) {
        const qint64 got = file.read(data.data() + total, data.size() - total);
        if (got < 0)
            return false;
        if (got == 0)
            break;
        total += got;
    }
    if (total == 0 && (!dest.empty() || file.size() == 0))
        return false;
    // Bytes past the end of a shorter file read as zero (the buffer started zeroed).
    std::copy(data.cbegin(), data.cend(), reinterpret_cast<char*>(dest.data()));
    return true;
}

std::uint32_t RecordPayloadSizeOf(const QString& fileName)
{
    static const std::pair<QString, std::uint32_t> kinds[] = {
        {kWorkshopFileName, RecordSize::Workshop},
        {kParamFileName, RecordSize::Param},
        {kGsmFileName, RecordSize::Gsm},
        {kOwnerFileName, RecordSize::Owner},
        {kParamExportName, RecordSize::ParamExport},
        {kGsmExportName, RecordSize::GsmExport},
    };
    for (const auto& [name, size] : kinds) {
        if (name == fileName)
            return size;
    }
    return 0;
}

RecordFileState CheckRecordContent(QByteArrayView content, std::uint32_t payloadSize)
{
    const qsizetype whole = static_cast<qsizetype>(payloadSize) + RecordSize::SumSize;
    if (content.size() < whole)
        return RecordFileState::Short;
    if (content.size() > whole)
        return RecordFileState::Long;
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(content.data());
    const std::span<const std::uint8_t> payload(bytes, payloadSize);
    const auto stored =
        static_cast<std::uint32_t>(LittleEndian::read(bytes + payloadSize, RecordSize::SumSize));
    return stored == RecordSum(payload) ? RecordFileState::Whole : RecordFileState::BadSum;
}

RecordFileState ReadCheckedRecordFile(const QString& path, std::span<std::uint8_t> dest)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QFileInfo::exists(path) ? RecordFileState::Unreadable : RecordFileState::Missing;
    return ReadCheckedRecordFile(file, dest);
}

RecordFileState ReadCheckedRecordFile(QFile& file, std::span<std::uint8_t> dest)
{
    // One byte more than a whole file tells a long file from a whole one.
    const qint64 limit = static_cast<qint64>(dest.size()) + RecordSize::SumSize + 1;
    const QByteArray content = file.read(limit);
    if (file.error() != QFileDevice::NoError || content.isEmpty())
        return RecordFileState::Unreadable;
    std::fill(dest.begin(), dest.end(), std::uint8_t{0});
    std::copy_n(content.cbegin(), std::min(content.size(), static_cast<qsizetype>(dest.size())),
                reinterpret_cast<char*>(dest.data()));
    return CheckRecordContent(content, static_cast<std::uint32_t>(dest.size()));
}
