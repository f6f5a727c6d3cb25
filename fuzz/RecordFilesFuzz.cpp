#include "fuzz/FuzzCheck.h"
#include "params/CurrentCalibration.h"
#include "params/FieldHandlers.h"
#include "params/FieldText.h"
#include "params/ParamDescriptor.h"
#include "params/ValueLists.h"
#include "params/cTDGrid.h"
#include "store/RecordFile.h"
#include "store/WorkshopRecord.h"

#include <QApplication>
#include <QStringDecoder>

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

// A record file of any length read as each kind of record: the reader fills exactly its
// record (a short file zero-filled) and writes nothing around it. Then the parameter grid
// shows the records, and every value it shows is judged against the bytes at the field's
// own offset in the file, with the offsets and widths written out here rather than taken
// from the program.
namespace {

constexpr std::size_t kGuard = 32;
constexpr std::uint8_t kGuardByte = 0xA5;
constexpr std::array kSizes = {RecordSize::Workshop,    RecordSize::Param,
                               RecordSize::Gsm,         RecordSize::Owner,
                               RecordSize::ParamExport, RecordSize::GsmExport};

enum class Record { Param, Gsm, Owner };
enum class Kind { Text, Wide, Number, Choice };

struct Field {
    const char* tag;
    Record record;
    std::size_t offset;
    std::size_t width; // bytes, or code units for wide text
    Kind kind;
};

constexpr Field kFields[] = {
    {"tag_cname", Record::Owner, 0, 260, Kind::Wide},
    {"tag_address", Record::Owner, 520, 260, Kind::Wide},
    {"tag_phone", Record::Owner, 1040, 32, Kind::Wide},
    {"tag_model", Record::Owner, 1104, 260, Kind::Wide},
    {"tag_serial", Record::Param, 171, 4, Kind::Number},
    {"tag_purpose", Record::Param, 4, 1, Kind::Choice},
    {"tag_vin", Record::Param, 99, 17, Kind::Text},
    {"tag_nation", Record::Param, 116, 1, Kind::Choice},
    {"tag_vnumber", Record::Param, 118, 13, Kind::Text},
    {"tag_constantW", Record::Param, 131, 2, Kind::Number},
    {"tag_constantK", Record::Param, 133, 2, Kind::Number},
    {"tag_tyreL", Record::Param, 135, 2, Kind::Number},
    {"tag_tyreS", Record::Param, 137, 15, Kind::Text},
    {"tag_maxSpeed", Record::Param, 152, 1, Kind::Number},
    {"tag_odometer", Record::Param, 156, 3, Kind::Number},
    {"tag_imei", Record::Gsm, 137, 8, Kind::Number},
    {"tag_apn", Record::Gsm, 0, 40, Kind::Text},
    {"tag_login", Record::Gsm, 40, 30, Kind::Text},
    {"tag_password", Record::Gsm, 70, 20, Kind::Text},
    {"tag_host", Record::Gsm, 90, 40, Kind::Text},
    {"tag_port", Record::Gsm, 130, 2, Kind::Number},
    {"tag_protocol", Record::Gsm, 132, 1, Kind::Choice},
    {"tag_period", Record::Gsm, 133, 4, Kind::Choice},
};
constexpr std::size_t kRegNumberOffset = 118;
constexpr std::size_t kCodePageOffset = 117;

// The workshop record's four UTF-16 fields: offset and code units.
constexpr std::pair<WorkshopRecord::Field, std::array<std::size_t, 2>> kWorkshopFields[] = {
    {WorkshopRecord::Field::Name, {0, 260}},
    {WorkshopRecord::Field::Address, {520, 260}},
    {WorkshopRecord::Field::Phone, {1040, 32}},
    {WorkshopRecord::Field::Index, {1104, 32}},
};

cTDGrid* g_grid = nullptr;

std::uint64_t LiteralNumber(const std::uint8_t* at, std::size_t width)
{
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < width; ++i)
        value |= std::uint64_t{at[i]} << (8 * i);
    return value;
}

QString LiteralWideText(const std::uint8_t* at, std::size_t units)
{
    QString text;
    for (std::size_t i = 0; i < units; ++i) {
        const auto unit = static_cast<char16_t>(at[2 * i] | at[2 * i + 1] << 8);
        if (unit == 0)
            break;
        text.append(QChar(unit));
    }
    return text;
}

// A single-byte field shows its bytes up to the first zero or the width: bytes that are
// valid UTF-8 as that text (unless a known code page is named for them), anything else as
// one character per byte, each ASCII byte as itself.
bool ShowsSingleByteText(const QString& shown, const std::uint8_t* at, std::size_t width,
                         bool codePageNamed)
{
    const auto length = static_cast<std::size_t>(std::find(at, at + width, std::uint8_t{0}) - at);
    const QByteArray bytes(reinterpret_cast<const char*>(at), static_cast<qsizetype>(length));
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    // The decoder works, and finds errors, only when its result is taken.
    [[maybe_unused]] const QString decoded = utf8.decode(bytes);
    if (!codePageNamed && !utf8.hasError())
        return shown.toUtf8() == bytes;
    if (shown.size() != static_cast<qsizetype>(length))
        return false;
    for (std::size_t i = 0; i < length; ++i)
        if (at[i] < 0x80 && shown.at(static_cast<qsizetype>(i)) != QChar(at[i]))
            return false;
    return true;
}

// The drop-down row shows the list text of the code found at the field, or nothing.
QString ChoiceText(const ParamDescriptor& row, std::uint64_t code)
{
    std::vector<std::uint64_t> codes;
    if (row.handler == &PurposeHandler)
        for (const PurposeEntry& e : PurposeList)
            codes.push_back(e.code);
    else if (row.handler == &NationHandler)
        for (const NationEntry& e : NationList)
            codes.push_back(e.code);
    else if (row.handler == &ProtocolHandler)
        for (const ProtocolEntry& e : ProtocolList)
            codes.push_back(e.code);
    else if (row.handler == &PeriodHandler)
        for (const PeriodEntry& e : PeriodList)
            codes.push_back(e.code);
    const QStringList labels = ChoiceLabels(row.handler);
    FUZZ_CHECK(!labels.isEmpty());
    // The lists end with a terminating entry that has no label.
    for (qsizetype i = 0; i < labels.size(); ++i)
        if (codes.at(static_cast<std::size_t>(i)) == code)
            return labels.at(i);
    return {};
}

void CheckShownRows(Record record, const std::uint8_t* bytes)
{
    g_grid->Refresh();
    const ParamDescriptor* table = ParamTable();
    for (int n = 0; table[n].labelId != 0; ++n) {
        const auto field =
            std::find_if(std::begin(kFields), std::end(kFields),
                         [&](const Field& f) { return std::strcmp(f.tag, table[n].tag) == 0; });
        FUZZ_CHECK(field != std::end(kFields));
        if (field->record != record)
            continue;
        const QString shown = g_grid->GetCellText(n, 1);
        const std::uint8_t* at = bytes + field->offset;
        switch (field->kind) {
        case Kind::Text:
            FUZZ_CHECK(ShowsSingleByteText(shown, at, field->width,
                                           field->offset == kRegNumberOffset &&
                                               IsKnownCodePage(bytes[kCodePageOffset])));
            break;
        case Kind::Wide:
            FUZZ_CHECK(shown == LiteralWideText(at, field->width));
            break;
        case Kind::Number:
            FUZZ_CHECK(shown == QString::number(LiteralNumber(at, field->width)));
            break;
        case Kind::Choice:
            FUZZ_CHECK(shown == ChoiceText(table[n], LiteralNumber(at, field->width)));
            break;
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    // The grid is a widget: the program's own way of showing a record.
    Fuzz::UseTemporaryDataFolder();
    static QApplication app(*argc, *argv);
    Fuzz::LoadLanguagePack();
    static CurrentCalibration current;
    static cTDGrid grid(current);
    grid.SetupRows();
    g_grid = &grid;
    // Every row of the table is judged, each by a field of its own.
    int rows = 0;
    while (ParamTable()[rows].labelId != 0)
        ++rows;
    FUZZ_CHECK(rows == static_cast<int>(std::size(kFields)));
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
        // The shortened forms of the drive are shown as the tachograph would read them back:
        // zero where their tail is missing.
        if (recordSize == RecordSize::Workshop) {
            WorkshopRecord workshop;
            std::copy(record.begin(), record.end(), workshop.bytes.begin());
            for (const auto& [field, place] : kWorkshopFields)
                FUZZ_CHECK(workshop.field(field) ==
                           LiteralWideText(record.data() + place[0], place[1]));
        } else if (recordSize == RecordSize::Param || recordSize == RecordSize::ParamExport) {
            g_grid->current().param() = {};
            std::copy(record.begin(), record.end(), g_grid->current().param().bytes.begin());
            CheckShownRows(Record::Param, g_grid->current().param().bytes.data());
        } else if (recordSize == RecordSize::Gsm || recordSize == RecordSize::GsmExport) {
            g_grid->current().gsm() = {};
            std::copy(record.begin(), record.end(), g_grid->current().gsm().bytes.begin());
            CheckShownRows(Record::Gsm, g_grid->current().gsm().bytes.data());
        } else {
            std::copy(record.begin(), record.end(), g_grid->current().owner().bytes.begin());
            CheckShownRows(Record::Owner, g_grid->current().owner().bytes.data());
        }
    }
    return 0;
}
