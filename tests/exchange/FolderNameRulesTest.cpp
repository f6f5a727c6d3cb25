#include "navigation/FolderNameRules.h"

#include <gtest/gtest.h>

namespace {

using Fault = RegistrationNumberFault;

TEST(RegistrationNumberRule, PlainNumbersUpToTwelveCharactersPass)
{
    EXPECT_EQ(CheckRegistrationNumber(QStringLiteral("AB123C")), Fault::None);
    EXPECT_EQ(CheckRegistrationNumber(QStringLiteral("ABCDEFGHIJKL")), Fault::None);
    // Spaces inside and around a number are part of the folder name.
    EXPECT_EQ(CheckRegistrationNumber(QStringLiteral(" A 12")), Fault::None);
    // Six Cyrillic letters are 12 bytes of UTF-8.
    EXPECT_EQ(CheckRegistrationNumber(QStringLiteral("АВСЕКМ")), Fault::None);
}

TEST(RegistrationNumberRule, EmptyOrBlankIsMissing)
{
    EXPECT_EQ(CheckRegistrationNumber(QString()), Fault::Missing);
    EXPECT_EQ(CheckRegistrationNumber(QStringLiteral("   ")), Fault::Missing);
}

TEST(RegistrationNumberRule, LengthCountsCharactersInTheNumbersCodePage)
{
    EXPECT_EQ(CheckRegistrationNumber(QStringLiteral("ABCDEFGHIJKLM")), Fault::TooLong);
    // Cyrillic letters take one byte each in ISO/IEC 8859-5, so twelve fit.
    EXPECT_EQ(CheckRegistrationNumber(QStringLiteral("АВЕКМНОРСТУХ")), Fault::None);
    EXPECT_EQ(CheckRegistrationNumber(QStringLiteral("АВЕКМНОРСТУХА")), Fault::TooLong);
    EXPECT_EQ(CheckRegistrationNumber(QStringLiteral("Ж中")), Fault::NoCodePage);
}

TEST(RegistrationNumberRule, NamesThatLeaveOrHideFromTheWorkshopAreRefused)
{
    for (const QString& number :
         {QStringLiteral("."), QStringLiteral(".."), QStringLiteral("A.B"),
          QStringLiteral(".hidden"), QStringLiteral("../x"), QStringLiteral("A/B"),
          QStringLiteral("A\tB"), QStringLiteral("A\nB"), QString(QChar(0x7F)) + u'A',
          QString(QChar(0xD800)) + u'A', QStringLiteral("A\\B"), QStringLiteral("A*"),
          QStringLiteral("?"), QStringLiteral("\"A\""), QStringLiteral("<A>"),
          QString(QChar(0xFEFF)) + u'A', QStringLiteral("A\u200EB")}) {
        EXPECT_EQ(CheckRegistrationNumber(number), Fault::NotAFolderName) << number.toStdString();
    }
}

TEST(RegistrationNumberRule, PlainFolderNameAllowsBackslashAndDash)
{
    EXPECT_TRUE(IsPlainFolderName(QStringLiteral("A\\B-1")));
    EXPECT_FALSE(IsPlainFolderName(QString()));
}

} // namespace
