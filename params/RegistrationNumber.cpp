#include "params/RegistrationNumber.h"

#include "params/FieldText.h"

#include <algorithm>
#include <array>

namespace {

// Characters that FAT and exFAT refuse in a name; the number goes to the stick as a folder.
constexpr char16_t kStickForbidden[] = u"\\:*?\"<>|";

// ISO/IEC 8859 parts a number is written in, in the order they are tried.
constexpr std::array<int, 9> kNumberCodePages = {1, 5, 2, 3, 7, 9, 13, 15, 16};

bool isAscii(const QString& text)
{
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x80; });
}

void writeField(const QByteArray& bytes, std::uint8_t* field, std::size_t width)
{
    std::copy(bytes.cbegin(), bytes.cend(), field);
    if (static_cast<std::size_t>(bytes.size()) < width)
        field[bytes.size()] = 0;
}

} // namespace

bool IsPlainFolderName(const QString& name)
{
    if (name.isEmpty() || !name.isValidUtf16())
        return false;
    for (const QChar c : name) {
        // A full stop hides the folder from the tree (and rules out "." and ".."), a slash
        // would write outside the workshop, a control character cannot be shown.
        if (c == u'/' || c == u'.' || c.category() == QChar::Other_Control)
            return false;
    }
    return true;
}

bool StickCanHoldName(const QString& name)
{
    return !name.isEmpty() && std::none_of(name.cbegin(), name.cend(), [](QChar c) {
        return c.unicode() < 0x20 || c == u'/' || QStringView(kStickForbidden).contains(c);
    });
}

RegistrationNumberFault CheckRegistrationNumber(const QString& number)
{
    if (number.trimmed().isEmpty())
        return RegistrationNumberFault::Missing;
    if (number.size() > kRegistrationNumberChars)
        return RegistrationNumberFault::TooLong;
    if (!IsPlainFolderName(number) || !StickCanHoldName(number))
        return RegistrationNumberFault::NotAFolderName;
    for (const QChar c : number) {
        // Invisible format characters make two numbers that look the same.
        if (c.category() == QChar::Other_Format)
            return RegistrationNumberFault::NotAFolderName;
    }
    if (isAscii(number))
        return RegistrationNumberFault::None;
    const bool held =
        std::any_of(kNumberCodePages.begin(), kNumberCodePages.end(),
                    [&number](int page) { return !EncodeCodePageText(number, page).isEmpty(); });
    return held ? RegistrationNumberFault::None : RegistrationNumberFault::NoCodePage;
}

QString DecodeRegistrationNumber(const std::uint8_t* field, std::size_t width, int codePage)
{
    if (IsKnownCodePage(codePage))
        return DecodeCodePageText(field, width, codePage);
    return DecodeSingleByteText(field, width);
}

bool EncodeRegistrationNumber(const QString& number, std::uint8_t* field, std::size_t width,
                              std::uint8_t& codePage)
{
    if (number.contains(QChar(0)))
        return false;
    if (isAscii(number)) {
        if (static_cast<std::size_t>(number.size()) > width)
            return false;
        writeField(number.toLatin1(), field, width);
        return true;
    }
    for (const int page : kNumberCodePages) {
        const QByteArray bytes = EncodeCodePageText(number, page);
        if (bytes.isEmpty())
            continue;
        if (static_cast<std::size_t>(bytes.size()) > width)
            return false;
        writeField(bytes, field, width);
        codePage = static_cast<std::uint8_t>(page);
        return true;
    }
    return false;
}

QString RegistrationNumberOf(const ParamRecord& record)
{
    using L = ParamRecord::Layout;
    return DecodeRegistrationNumber(record.bytes.data() + L::RegNumberOffset, L::RegNumberWidth,
                                    record.bytes[L::CodePageOffset]);
}
