#include "fuzz/FuzzCheck.h"
#include "params/Calibration.h"
#include "params/FieldText.h"
#include "params/ParamDescriptor.h"
#include "params/RegistrationNumber.h"
#include "store/RecordFile.h"
#include "store/WorkshopRecord.h"

#include <algorithm>
#include <array>
#include <vector>

// A record file of any length read as each kind of record, then every field decoded: the
// reader fills exactly its record (a short file zero-filled) and writes nothing around it.
namespace {

constexpr std::size_t kGuard = 32;
constexpr std::uint8_t kGuardByte = 0xA5;
constexpr std::array kSizes = {RecordSize::Workshop,    RecordSize::Param,
                               RecordSize::Gsm,         RecordSize::Owner,
                               RecordSize::ParamExport, RecordSize::GsmExport};

// The records the last input filled, as the grid would show them.
Calibration g_records;

void DecodeEveryField()
{
    const ParamDescriptor* table = ParamTable();
    for (int n = 0; table[n].labelId != 0; ++n) {
        const ParamDescriptor& row = table[n];
        if (row.type == ParamFieldType::Text)
            FUZZ_CHECK(DecodeSingleByteText(row.fieldIn(g_records), row.width).size() <=
                       static_cast<qsizetype>(row.width));
        else if (row.type == ParamFieldType::WideText)
            FUZZ_CHECK(DecodeWideText(row.fieldIn(g_records), row.width).size() <=
                       static_cast<qsizetype>(row.width));
    }
    const ParamRecord& param = g_records.param;
    const QString number = RegistrationNumberOf(param);
    FUZZ_CHECK(number.size() <= static_cast<qsizetype>(ParamRecord::Layout::RegNumberWidth));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    Fuzz::StartCoreApplication(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString path = Fuzz::WriteScratchFile(QStringLiteral("RECORD.BIN"), bytes);

    for (const std::uint32_t recordSize : kSizes) {
        std::vector<std::uint8_t> block(recordSize + 2 * kGuard, kGuardByte);
        const std::span<std::uint8_t> record(block.data() + kGuard, recordSize);
        const bool read = ReadRecordFile(path, record);
        FUZZ_CHECK(read == (size > 0));
        FUZZ_CHECK(std::all_of(block.begin(), block.begin() + kGuard,
                               [](std::uint8_t b) { return b == kGuardByte; }));
        FUZZ_CHECK(std::all_of(block.end() - kGuard, block.end(),
                               [](std::uint8_t b) { return b == kGuardByte; }));
        for (std::size_t i = 0; i < recordSize; ++i) {
            // A refused read leaves the record as it was.
            const std::uint8_t expected = !read ? kGuardByte : i < size ? data[i] : 0;
            FUZZ_CHECK(record[i] == expected);
        }
        if (!read)
            continue;
        if (recordSize == RecordSize::Workshop) {
            WorkshopRecord workshop;
            std::copy(record.begin(), record.end(), workshop.bytes.begin());
            for (const auto field : {WorkshopRecord::Field::Name, WorkshopRecord::Field::Address,
                                     WorkshopRecord::Field::Phone, WorkshopRecord::Field::Index})
                FUZZ_CHECK(workshop.field(field).size() <= WorkshopRecord::capacity(field) + 1);
        } else if (recordSize == RecordSize::Param || recordSize == RecordSize::ParamExport) {
            g_records.param = {};
            std::copy(record.begin(), record.end(), g_records.param.bytes.begin());
        } else if (recordSize == RecordSize::Gsm || recordSize == RecordSize::GsmExport) {
            g_records.gsm = {};
            std::copy(record.begin(), record.end(), g_records.gsm.bytes.begin());
        } else {
            std::copy(record.begin(), record.end(), g_records.owner.bytes.begin());
        }
    }
    DecodeEveryField();
    return 0;
}
