#include "fuzz/FuzzCheck.h"
#include "params/CurrentCalibration.h"
#include "params/FieldText.h"
#include "params/ParamDescriptor.h"
#include "params/RegistrationNumber.h"
#include "params/cTDGrid.h"

#include <QApplication>

#include <algorithm>
#include <vector>

// Text in the records' fields, on its own and through the parameter grid: a text that fits
// is written whole and reads back exactly, a text is refused exactly when its bytes do not
// fit, nothing is written outside the field, and showing records then storing them without
// an edit changes no byte.
namespace {

constexpr std::size_t kGuard = 16;
constexpr std::uint8_t kFill = 0xA5;
constexpr int kValueColumn = 1;

CurrentCalibration* g_current = nullptr;
cTDGrid* g_grid = nullptr;

// A field of `width` bytes between two guards, all filled with kFill.
struct Field {
    explicit Field(std::size_t width) : bytes(width + 2 * kGuard, kFill), width(width) {}
    std::uint8_t* data() { return bytes.data() + kGuard; }
    bool guardsIntact() const
    {
        const auto isFill = [](std::uint8_t b) { return b == kFill; };
        return std::all_of(bytes.begin(), bytes.begin() + kGuard, isFill) &&
               std::all_of(bytes.end() - kGuard, bytes.end(), isFill);
    }
    bool untouched() const
    {
        return std::all_of(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b == kFill; });
    }
    std::vector<std::uint8_t> bytes;
    std::size_t width;
};

void CheckUtf8Field(const QString& text, std::size_t width)
{
    Field field(width);
    const auto utf8Size = static_cast<std::size_t>(text.toUtf8().size());
    const bool fits = utf8Size <= width;
    FUZZ_CHECK(Utf8TextFits(text, width) == fits);
    FUZZ_CHECK(EncodeUtf8Text(text, field.data(), width) == fits);
    FUZZ_CHECK(field.guardsIntact());
    if (!fits) {
        FUZZ_CHECK(field.untouched());
        return;
    }
    if (!text.contains(QChar(0)))
        FUZZ_CHECK(DecodeSingleByteText(field.data(), width) == text);
    // Past the terminator the field keeps what it held.
    for (std::size_t i = utf8Size + 1; i < width; ++i)
        FUZZ_CHECK(field.data()[i] == kFill);
}

void CheckWideField(const QString& text, std::size_t units)
{
    Field field(2 * units);
    EncodeWideText(text, field.data(), units);
    FUZZ_CHECK(field.guardsIntact());
    qsizetype kept = std::min<qsizetype>(text.size(), static_cast<qsizetype>(units));
    if (kept < text.size() && kept > 0 && text.at(kept - 1).isHighSurrogate())
        --kept;
    const QString expected = text.left(kept);
    if (!expected.contains(QChar(0)))
        FUZZ_CHECK(DecodeWideText(field.data(), units) == expected);
    for (std::size_t i = 2 * static_cast<std::size_t>(kept); i < 2 * units; ++i)
        FUZZ_CHECK(field.data()[i] == 0);
}

void CheckRegistrationNumber(const QString& text, std::uint8_t codePage)
{
    constexpr std::size_t width = ParamRecord::Layout::RegNumberWidth;
    Field field(width);
    std::uint8_t page = codePage;
    const bool ascii = std::all_of(text.cbegin(), text.cend(),
                                   [](QChar c) { return c.unicode() > 0 && c.unicode() < 128; });
    const bool written = EncodeRegistrationNumber(text, field.data(), width, page);
    FUZZ_CHECK(field.guardsIntact());
    if (ascii)
        FUZZ_CHECK(written == (static_cast<std::size_t>(text.size()) <= width) && page == codePage);
    if (!written) {
        FUZZ_CHECK(field.untouched() && page == codePage);
        return;
    }
    FUZZ_CHECK(!text.contains(QChar(0)));
    FUZZ_CHECK(DecodeRegistrationNumber(field.data(), width, page) == text);
}

// Bytes of any content read as a wide field: the UTF-16LE units up to the first zero unit,
// the field's last unit included; a single-byte field never reads past its zero byte.
void CheckDecodeOfAnyBytes(const QByteArray& raw, std::uint8_t codePage)
{
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(raw.constData());
    const auto width = static_cast<std::size_t>(raw.size());
    QString units;
    for (std::size_t i = 0; i + 1 < width; i += 2) {
        const auto unit = static_cast<char16_t>(bytes[i] | bytes[i + 1] << 8);
        if (unit == 0)
            break;
        units.append(QChar(unit));
    }
    FUZZ_CHECK(DecodeWideText(bytes, width / 2) == units);
    const std::size_t end = static_cast<std::size_t>(raw.indexOf('\0'));
    if (end < width)
        FUZZ_CHECK(DecodeSingleByteText(bytes, width, codePage) ==
                   DecodeSingleByteText(bytes, end, codePage));
}

template <typename Record> void FillRecord(Fuzz::Input& in, Record& record)
{
    for (std::uint8_t& b : record.bytes)
        b = in.byte();
}

void CheckGrid(Fuzz::Input& in, const QString& text)
{
    FillRecord(in, g_current->param());
    FillRecord(in, g_current->gsm());
    FillRecord(in, g_current->owner());
    const ParamRecord param = g_current->param();
    const GsmRecord gsm = g_current->gsm();
    const OwnerRecord owner = g_current->owner();
    g_grid->Refresh();
    g_grid->RunStorePass();
    FUZZ_CHECK(g_current->param() == param);
    FUZZ_CHECK(g_current->gsm() == gsm);
    FUZZ_CHECK(g_current->owner() == owner);

    // The same text typed into every row: what a row keeps it stores so that it shows again.
    const ParamDescriptor* table = ParamTable();
    for (int row = 0; table[row].labelId != 0; ++row) {
        const ParamDescriptor& d = table[row];
        if (d.type != ParamFieldType::Text && d.type != ParamFieldType::WideText)
            continue;
        const QString before = g_grid->GetCellText(row, kValueColumn);
        g_grid->EndCellEdit(row, kValueColumn, text);
        const bool kept = g_grid->GetCellText(row, kValueColumn) == text;
        // The registration number is written in its code page, one byte a character, so its
        // width is not the UTF-8 form's.
        const bool number = d.isRegistrationNumber();
        if (d.type == ParamFieldType::Text && !number && !Utf8TextFits(text, d.width))
            FUZZ_CHECK(!kept || before == text);
        if (!kept)
            continue;
        g_grid->Refresh();
        FUZZ_CHECK(g_grid->GetCellText(row, kValueColumn) == text);
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    Fuzz::UseTemporaryDataFolder();
    static QApplication app(*argc, *argv);
    Fuzz::LoadLanguagePack();
    g_current = new CurrentCalibration;
    g_grid = new cTDGrid(*g_current);
    g_grid->resize(600, 700);
    g_grid->show();
    g_grid->SetupRows();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Fuzz::Input in(data, size);
    const std::size_t width = in.byte() % 48 + 1;
    const std::uint8_t codePage = in.byte();
    QByteArray textBytes;
    for (int length = in.byte() % 64; length > 0; --length)
        textBytes.append(static_cast<char>(in.byte()));
    const QString text = QString::fromUtf8(textBytes);

    CheckUtf8Field(text, width);
    CheckWideField(text, width);
    CheckRegistrationNumber(text, codePage);
    CheckDecodeOfAnyBytes(textBytes, codePage);
    CheckGrid(in, text);
    return 0;
}
