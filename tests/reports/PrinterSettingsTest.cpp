#include "reports/PrinterSettings.h"
#include "tests/support/TempDataFolder.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

QByteArray utf16(const QString& text)
{
    return QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
}

TEST(PrinterSettingsTest, fileIs1040BytesWithBothNamesZeroFilled)
{
    TempDataFolder data;
    const PrinterSettings chosen{QStringLiteral("Kyocera"), QStringLiteral("Этикетки")};
    ASSERT_TRUE(chosen.save());
    QFile file(PrinterSettings::filePath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    ASSERT_EQ(bytes.size(), 1040);
    QByteArray expected(1040, '\0');
    expected.replace(0, 14, utf16(QStringLiteral("Kyocera")));
    expected.replace(520, 16, utf16(QStringLiteral("Этикетки")));
    EXPECT_EQ(bytes, expected);
    EXPECT_EQ(PrinterSettings::load(), chosen);
}

TEST(PrinterSettingsTest, shortLongAndMissingFiles)
{
    const QString longName(300, u'n');
    const struct {
        const char* name;
        QByteArray bytes;
        PrinterSettings expected;
    } cases[] = {
        {"empty", QByteArray(), {}},
        {"half a name", utf16(QStringLiteral("Kyo")).left(5), {QStringLiteral("Kyo"), {}}},
        {"record only",
         utf16(QStringLiteral("Laser")) + QByteArray(520 - 10, '\0') + utf16(QStringLiteral("Ti")),
         {QStringLiteral("Laser"), QStringLiteral("Ti")}},
        {"no terminators",
         utf16(QString(260, u'r')) + utf16(QString(260, u't')),
         {QString(259, u'r'), QString(259, u't')}},
        {"longer than 1040",
         utf16(QStringLiteral("A")) + QByteArray(518, '\0') + QByteArray(2000, 'x'),
         {QStringLiteral("A"), QString(259, QChar(0x7878))}},
    };
    TempDataFolder data;
    for (const auto& c : cases) {
        QFile file(PrinterSettings::filePath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(c.bytes);
        file.close();
        const PrinterSettings read = PrinterSettings::load();
        EXPECT_EQ(read.recordPrinter, c.expected.recordPrinter) << c.name;
        EXPECT_EQ(read.ticketPrinter, c.expected.ticketPrinter) << c.name;
    }
    QFile::remove(PrinterSettings::filePath());
    EXPECT_EQ(PrinterSettings::load(), PrinterSettings{});
    // A name longer than the field keeps its first 259 characters and its terminator.
    const QByteArray block = PrinterSettings{longName, {}}.toBytes();
    EXPECT_EQ(PrinterSettings::fromBytes(block).recordPrinter, QString(259, u'n'));
    EXPECT_EQ(block.mid(518, 2), QByteArray(2, '\0'));
}

} // namespace
