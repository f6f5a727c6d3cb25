#include "store/RecordFile.h"

#include "store/AtomicFileWriter.h"
#include "store/LittleEndian.h"

#include <QByteArray>
#include <QFile>

#include <algorithm>

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
    if (total == 0 && (dest.size() > 0 || file.size() == 0))
        return false;
    // Bytes past the end of a shorter file read as zero (the buffer started zeroed).
    std::copy(data.cbegin(), data.cend(), reinterpret_cast<char*>(dest.data()));
    return true;
}
