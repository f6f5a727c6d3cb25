#include "params/FieldText.h"

#include "store/LittleEndian.h"

#include <QByteArray>
#include <QStringDecoder>

#include <algorithm>
#include <array>
#include <iconv.h>
#include <map>
#include <mutex>
#include <optional>

namespace {

constexpr int Koi8R = 80;
constexpr int Koi8U = 85;
constexpr char16_t Replacement = 0xFFFD;

using ByteTable = std::array<char16_t, 256>;

const char* iconvNameOf(int codePage)
{
    static const std::array<const char*, 17> iso = {
        nullptr,      "ISO-8859-1",  "ISO-8859-2",  "ISO-8859-3",  "ISO-8859-4",  "ISO-8859-5",
        "ISO-8859-6", "ISO-8859-7",  "ISO-8859-8",  "ISO-8859-9",  "ISO-8859-10", "ISO-8859-11",
        nullptr,      "ISO-8859-13", "ISO-8859-14", "ISO-8859-15", "ISO-8859-16"};
    if (codePage >= 1 && codePage <= 16)
        return iso[static_cast<std::size_t>(codePage)];
    if (codePage == Koi8R)
        return "KOI8-R";
    if (codePage == Koi8U)
        return "KOI8-U";
    return nullptr;
}

// Builds the byte-to-character table of a single-byte encoding one byte at a time, so that
// a byte the encoding leaves undefined becomes U+FFFD instead of stopping the conversion.
bool buildTable(const char* name, ByteTable& table)
{
    iconv_t cd = iconv_open("UTF-16LE", name);
    // iconv_open reports a failure as the pointer of value -1.
    if (cd == reinterpret_cast<iconv_t>(-1)) // NOLINT(performance-no-int-to-ptr)
        return false;
    for (int b = 0; b < 256; ++b) {
        char in = static_cast<char>(b);
        std::array<char, 8> out{};
        char* inPtr = &in;
        char* outPtr = out.data();
        std::size_t inLeft = 1;
        std::size_t outLeft = out.size();
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        const std::size_t done = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
        if (done == static_cast<std::size_t>(-1) || out.size() - outLeft != 2) {
            table[static_cast<std::size_t>(b)] = Replacement;
        } else {
            table[static_cast<std::size_t>(b)] = static_cast<char16_t>(
                LittleEndian::read(reinterpret_cast<const std::uint8_t*>(out.data()), 2));
        }
    }
    iconv_close(cd);
    return true;
}

// The table of a known page, built once; null when iconv lacks that page.
const ByteTable* exactTableFor(int codePage)
{
    // Vehicle finding decodes record fields on a worker thread too.
    static std::mutex mutex;
    const std::lock_guard lock(mutex);
    static std::map<int, std::optional<ByteTable>> tables;
    auto found = tables.find(codePage);
    if (found == tables.end()) {
        std::optional<ByteTable> table;
        const char* name = iconvNameOf(codePage);
        if (!name || !buildTable(name, table.emplace()))
            table.reset();
        found = tables.emplace(codePage, table).first;
    }
    return found->second ? &*found->second : nullptr;
}

const ByteTable& fallbackTable()
{
    static const ByteTable table = [] {
        ByteTable built{};
        // Without iconv's Windows-1251 the program still shows ASCII correctly.
        if (!buildTable("CP1251", built)) {
            for (int b = 0; b < 256; ++b)
                built[static_cast<std::size_t>(b)] = b < 128 ? char16_t(b) : Replacement;
        }
        return built;
    }();
    return table;
}

const ByteTable& tableFor(int codePage)
{
    const ByteTable* exact = exactTableFor(codePage);
    return exact ? *exact : fallbackTable();
}

QString decodeWithTable(const ByteTable& table, const std::uint8_t* field, std::size_t length)
{
    QString text;
    text.reserve(static_cast<qsizetype>(length));
    for (std::size_t i = 0; i < length; ++i)
        text.append(QChar(table[field[i]]));
    return text;
}

std::size_t textLength(const std::uint8_t* field, std::size_t width)
{
    std::size_t length = 0;
    while (length < width && field[length] != 0)
        ++length;
    return length;
}

} // namespace

QString DecodeSingleByteText(const std::uint8_t* field, std::size_t width, int codePage)
{
    const std::size_t length = textLength(field, width);
    const QByteArrayView bytes(reinterpret_cast<const char*>(field),
                               static_cast<qsizetype>(length));
    // A leading U+FEFF is a character of the text, not a byte-order mark to drop.
    QStringDecoder utf8(QStringDecoder::Utf8,
                        QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    const QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    return decodeWithTable(tableFor(codePage), field, length);
}

bool IsKnownCodePage(int codePage)
{
    return exactTableFor(codePage) != nullptr;
}

QString DecodeCodePageText(const std::uint8_t* field, std::size_t width, int codePage)
{
    return decodeWithTable(tableFor(codePage), field, textLength(field, width));
}

QByteArray EncodeCodePageText(const QString& text, int codePage)
{
    const ByteTable* table = exactTableFor(codePage);
    if (!table)
        return {};
    QByteArray bytes;
    bytes.reserve(text.size());
    for (const QChar c : text) {
        const auto* begin = table->begin() + 1; // byte 0 ends the text
        const auto* hit = std::find(begin, table->end(), c.unicode());
        if (c.unicode() == Replacement || hit == table->end())
            return {};
        bytes.append(static_cast<char>(hit - table->begin()));
    }
    return bytes;
}

bool Utf8TextFits(const QString& text, std::size_t width)
{
    return static_cast<std::size_t>(text.toUtf8().size()) <= width;
}

bool EncodeUtf8Text(const QString& text, std::uint8_t* field, std::size_t width)
{
    const QByteArray utf8 = text.toUtf8();
    const auto size = static_cast<std::size_t>(utf8.size());
    if (size > width)
        return false;
    std::copy(utf8.cbegin(), utf8.cend(), field);
    if (size < width)
        field[size] = 0;
    return true;
}
