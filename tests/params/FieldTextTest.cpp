#include "params/FieldText.h"
#include "params/NumberText.h"
#include "params/ParamRecord.h"
#include "params/RegistrationNumber.h"

#include <gtest/gtest.h>

#include <array>
#include <limits>

namespace {

using L = ParamRecord::Layout;

template <std::size_t N> std::array<std::uint8_t, N> filled(std::uint8_t value)
{
    std::array<std::uint8_t, N> bytes{};
    bytes.fill(value);
    return bytes;
}

const QString kCyrillic13 = QStringLiteral(u"АВЕКМНОРСТУХА"); // 13 letters, 26 UTF-8 bytes

} // namespace

TEST(SingleByteText, utf8RoundTripKeepsNationalLetters)
{
    auto field = filled<13>(0xEE);
    const QString text = QStringLiteral(u"Ж123ЁЯ");
    ASSERT_TRUE(EncodeUtf8Text(text, field.data(), field.size()));
    EXPECT_EQ(DecodeSingleByteText(field.data(), field.size()), text);
    // One terminating zero after the 9 bytes; the bytes after it keep what they held.
    EXPECT_EQ(field[9], 0);
    EXPECT_EQ(field[10], 0xEE);
}

TEST(SingleByteText, textOfExactWidthHasNoTerminator)
{
    std::array<std::uint8_t, 14> bytes{};
    bytes[13] = 'W';
    ASSERT_TRUE(EncodeUtf8Text(QStringLiteral("ABCDEFGHIJKLM"), bytes.data(), 13));
    EXPECT_EQ(bytes[13], 'W');
    EXPECT_EQ(DecodeSingleByteText(bytes.data(), 13), QStringLiteral("ABCDEFGHIJKLM"));
}

TEST(SingleByteText, textWhoseUtf8FormDoesNotFitIsRefusedNotCut)
{
    auto field = filled<13>(0x41);
    EXPECT_FALSE(Utf8TextFits(kCyrillic13, 13));
    EXPECT_FALSE(EncodeUtf8Text(kCyrillic13, field.data(), field.size()));
    EXPECT_EQ(field, filled<13>(0x41));
    // Six Cyrillic letters (12 bytes) and one digit fill the field exactly.
    EXPECT_TRUE(Utf8TextFits(QStringLiteral(u"АВЕКМН1"), 13));
    EXPECT_FALSE(Utf8TextFits(QStringLiteral(u"АВЕКМН12"), 13));
}

TEST(SingleByteText, iso8859Part5RegistrationNumberIsShownInCyrillic)
{
    ParamRecord record;
    // "А123ВС77" in ISO/IEC 8859-5: А = 0xB0, В = 0xB2, С = 0xC1.
    const std::array<std::uint8_t, 8> number = {0xB0, '1', '2', '3', 0xB2, 0xC1, '7', '7'};
    std::copy(number.begin(), number.end(), record.bytes.begin() + L::RegNumberOffset);
    record.bytes[L::CodePageOffset] = 5;
    EXPECT_EQ(RegistrationNumberOf(record), QStringLiteral(u"А123ВС77"));
}

TEST(SingleByteText, koi8RegistrationNumberFollowsItsCodePageByte)
{
    ParamRecord record;
    // "АВ" in KOI8-R is E1 F7.
    record.bytes[L::RegNumberOffset] = 0xE1;
    record.bytes[L::RegNumberOffset + 1] = 0xF7;
    record.bytes[L::CodePageOffset] = 80;
    EXPECT_EQ(RegistrationNumberOf(record), QStringLiteral(u"АВ"));
}

TEST(SingleByteText, otherFieldsAndUnknownCodePagesFallBackToWindows1251)
{
    // "Ив" in Windows-1251 is C8 E2, which is not valid UTF-8.
    const std::array<std::uint8_t, 2> bytes = {0xC8, 0xE2};
    EXPECT_EQ(DecodeSingleByteText(bytes.data(), bytes.size()), QStringLiteral(u"Ив"));
    EXPECT_EQ(DecodeSingleByteText(bytes.data(), bytes.size(), 12), QStringLiteral(u"Ив"));
    EXPECT_EQ(DecodeSingleByteText(bytes.data(), bytes.size(), 0), QStringLiteral(u"Ив"));
}

TEST(SingleByteText, byteUndefinedInTheCodePageShowsAsReplacement)
{
    // 0x98 has no character in Windows-1251.
    const std::array<std::uint8_t, 2> bytes = {'A', 0x98};
    EXPECT_EQ(DecodeSingleByteText(bytes.data(), bytes.size()), QStringLiteral(u"A\uFFFD"));
}

TEST(WideText, roundTripFillsTheRestWithZeroUnits)
{
    auto field = filled<2 * 8>(0xFF);
    EncodeWideText(QStringLiteral(u"Иван"), field.data(), 8);
    EXPECT_EQ(DecodeWideText(field.data(), 8), QStringLiteral(u"Иван"));
    EXPECT_EQ(field[0], 0x18); // И = U+0418, little-endian
    EXPECT_EQ(field[1], 0x04);
    for (std::size_t i = 8; i < field.size(); ++i)
        EXPECT_EQ(field[i], 0) << i;
}

TEST(WideText, longTextNeverKeepsHalfASurrogatePair)
{
    std::array<std::uint8_t, std::size_t{2} * 3> field{};
    EncodeWideText(QStringLiteral(u"ab\U0001F600"), field.data(), 3);
    EXPECT_EQ(DecodeWideText(field.data(), 3), QStringLiteral("ab"));
}

TEST(NumberText, fieldWidthsGiveTheirUnsignedRange)
{
    EXPECT_EQ(MaxValueOfWidth(1), 255u);
    EXPECT_EQ(MaxValueOfWidth(2), 65535u);
    EXPECT_EQ(MaxValueOfWidth(3), 16777215u);
    EXPECT_EQ(MaxValueOfWidth(4), 4294967295u);
    EXPECT_EQ(MaxValueOfWidth(8), std::numeric_limits<std::uint64_t>::max());
}

TEST(NumberText, digitsWithinTheLimitAreAccepted)
{
    EXPECT_EQ(ParseDigits(u"", 255), 0u);
    EXPECT_EQ(ParseDigits(u"0255", 255), 255u);
    EXPECT_EQ(ParseDigits(u"4294967295", MaxValueOfWidth(4)), 4294967295u);
    EXPECT_EQ(ParseDigits(u"18446744073709551615", MaxValueOfWidth(8)),
              std::numeric_limits<std::uint64_t>::max());
}

TEST(NumberText, anythingButDigitsOrAValueAboveTheLimitIsRefused)
{
    EXPECT_FALSE(ParseDigits(u"256", 255));
    EXPECT_FALSE(ParseDigits(u"4294967296", MaxValueOfWidth(4)));
    EXPECT_FALSE(ParseDigits(u"18446744073709551616", MaxValueOfWidth(8)));
    EXPECT_FALSE(ParseDigits(u"99999999999999999999999", MaxValueOfWidth(8)));
    EXPECT_FALSE(ParseDigits(u"12a", 65535));
    EXPECT_FALSE(ParseDigits(u" 12", 65535));
    EXPECT_FALSE(ParseDigits(u"-1", 65535));
    EXPECT_FALSE(ParseDigits(u"+1", 65535));
    EXPECT_FALSE(ParseDigits(u"\u0661", 65535)); // ARABIC-INDIC DIGIT ONE
}

TEST(NumberText, clampedParseSaturatesAtTheCeilingButStillWantsDigits)
{
    EXPECT_EQ(ParseDigitsClamped(u"9999999", 9999999), 9999999u);
    EXPECT_EQ(ParseDigitsClamped(u"10000000", 9999999), 9999999u);
    EXPECT_EQ(ParseDigitsClamped(u"123456789012345678901234567890", 9999999), 9999999u);
    EXPECT_EQ(ParseDigitsClamped(u"", 9999999), 0u);
    EXPECT_FALSE(ParseDigitsClamped(u"12km", 9999999));
}
