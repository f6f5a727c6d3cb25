#include "reports/CalibrationXml.h"
#include "reports/TextFileWriter.h"
#include "store/DataFolder.h"
#include "tests/reports/ReportTestRecords.h"
#include "tests/support/TempDataFolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cerrno>
#include <optional>

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <gtest/gtest.h>

namespace {

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// The text of the first element named `tag`, or nothing when the document is not
// well-formed.
std::optional<QString> parsedElement(const QByteArray& xml, const char* tag)
{
    xmlDocPtr doc =
        xmlReadMemory(xml.constData(), static_cast<int>(xml.size()), "memory.xml", nullptr,
                      XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    if (!doc)
        return std::nullopt;
    QString text;
    for (xmlNodePtr n = xmlDocGetRootElement(doc)->children; n; n = n->next) {
        if (n->type == XML_ELEMENT_NODE && xmlStrEqual(n->name, BAD_CAST tag)) {
            xmlChar* content = xmlNodeGetContent(n);
            text = QString::fromUtf8(reinterpret_cast<const char*>(content));
            xmlFree(content);
            break;
        }
    }
    xmlFreeDoc(doc);
    return text;
}

const char* const kExpected =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
    "<?xml-stylesheet type=\"text/xsl\" href=\"/opt/velmora/printer_view.xslt\"?>\r\n"
    "<taho_record>\r\n"
    "<tag_vin>WDB9634031L123456</tag_vin>\r\n"
    "<tag_nation>Российская Федерация</tag_nation>\r\n"
    "<tag_vnumber>A123BC</tag_vnumber>\r\n"
    "<tag_maxSpeed>90</tag_maxSpeed>\r\n"
    "<tag_serial>4000000001</tag_serial>\r\n"
    "<tag_purpose>Периодическая проверка</tag_purpose>\r\n"
    "<tag_constantW>8000</tag_constantW>\r\n"
    "<tag_constantK>8001</tag_constantK>\r\n"
    "<tag_tyreL>3250</tag_tyreL>\r\n"
    "<tag_tyreS>315/80 R22.5</tag_tyreS>\r\n"
    "<tag_odometer>9999999</tag_odometer>\r\n"
    "<tag_imei>356938035643809</tag_imei>\r\n"
    "<tag_apn>internet.example</tag_apn>\r\n"
    "<tag_login>fleet</tag_login>\r\n"
    "<tag_host>data.example.org</tag_host>\r\n"
    "<tag_port>5055</tag_port>\r\n"
    "<tag_protocol></tag_protocol>\r\n"
    "<tag_period>ВЫКЛ</tag_period>\r\n"
    "<tag_cname>ООО «Грузовик»</tag_cname>\r\n"
    "<tag_address>Москва, ул. Ленина, 1</tag_address>\r\n"
    "<tag_phone>+7 495 000-00-00</tag_phone>\r\n"
    "<tag_model>КАМАЗ 5490</tag_model>\r\n"
    "<tag_sname>Тахосервис</tag_sname>\r\n"
    "<tag_saddress>Тверь, ул. Мира, 5</tag_saddress>\r\n"
    "<tag_sphone>+7 4822 11-22-33</tag_sphone>\r\n"
    "<tag_sindex>170100</tag_sindex>\r\n"
    "<tag_date></tag_date>\r\n"
    "</taho_record>\r\n";

class CalibrationXmlTest : public ::testing::Test {
protected:
    QString reportsFolder() const { return m_data.filePath(QStringLiteral("data/reports")); }

    TempDataFolder m_data;
    QTemporaryDir m_icons;
};

TEST_F(CalibrationXmlTest, filledRecord_isWrittenByteForByte)
{
    QString path;
    ASSERT_TRUE(WriteCalibrationXml(FilledDocument(), QString(), &path));
    EXPECT_EQ(path, QDir(reportsFolder()).filePath(QStringLiteral("A123BC.xml")));
    EXPECT_EQ(readAll(path), QByteArray(kExpected));
}

TEST_F(CalibrationXmlTest, secondWrite_replacesTheFileWholeAndKeepsTheFirstIconCopy)
{
    const QString icon = m_icons.filePath(QStringLiteral("Ondrix.ico"));
    writeFile(icon, "first icon");
    CalibrationDocument doc = FilledDocument();
    doc.day = QStringLiteral("20260214");
    QString path;
    ASSERT_TRUE(WriteCalibrationXml(doc, icon, &path));
    const QString copy = QDir(reportsFolder()).filePath(QStringLiteral("Ondrix.ico"));
    EXPECT_EQ(readAll(copy), QByteArray("first icon"));

    writeFile(icon, "second icon");
    doc.owner = OwnerRecord{};
    ASSERT_TRUE(WriteCalibrationXml(doc, icon, &path));
    const QByteArray second = readAll(path);
    EXPECT_TRUE(second.contains("<tag_cname></tag_cname>\r\n"));
    EXPECT_TRUE(second.contains("<tag_date>20260214</tag_date>\r\n"));
    EXPECT_TRUE(second.endsWith("</taho_record>\r\n"));
    EXPECT_EQ(second.count("<taho_record>"), 1);
    EXPECT_EQ(readAll(copy), QByteArray("first icon"));
}

TEST_F(CalibrationXmlTest, hostileValues_stillMakeAWellFormedDocument)
{
    using O = OwnerRecord::Layout;
    const struct {
        QString value;
        QString kept;
    } cases[] = {
        {QStringLiteral("Tom & Jerry <Ltd>"), QStringLiteral("Tom & Jerry <Ltd>")},
        {QStringLiteral("</tag_cname><evil/>"), QStringLiteral("</tag_cname><evil/>")},
        {QStringLiteral("a]]>b&amp;"), QStringLiteral("a]]>b&amp;")},
        {QString::fromUtf16(u"bell\x07"
                            u"esc\x1b"
                            u" nul\x01"
                            u" tab\t"),
         QStringLiteral("bellesc nul tab\t")},
        {QString::fromUtf16(u"x\uFFFEy\uFFFFz"), QStringLiteral("xyz")},
        {QString(QChar(0xD800)) + QStringLiteral("lone"), QChar(0xFFFD) + QStringLiteral("lone")},
        {QString::fromUtf16(u"\U0001F69B truck"), QString::fromUtf16(u"\U0001F69B truck")},
    };
    for (const auto& c : cases) {
        CalibrationDocument doc = FilledDocument();
        EncodeWideText(c.value, doc.owner.bytes.data() + O::NameOffset, O::NameUnits);
        doc.stylesheet = QStringLiteral("/tmp/a \"b\" & <c>/printer_view.xslt");
        QString path;
        ASSERT_TRUE(WriteCalibrationXml(doc, QString(), &path));
        EXPECT_EQ(parsedElement(readAll(path), "tag_cname"), c.kept) << c.value.toStdString();
    }
    // A tachograph may leave control bytes in a single-byte field.
    CalibrationDocument doc = FilledDocument();
    doc.gsm.bytes[GsmRecord::Layout::ApnOffset] = 0x02;
    doc.gsm.bytes[GsmRecord::Layout::ApnOffset + 1] = '<';
    EXPECT_EQ(parsedElement(CalibrationXmlLines(doc).join(QString()).toUtf8(), "tag_apn"),
              QStringLiteral("<ternet.example"));
}

TEST_F(CalibrationXmlTest, reportsFolderThatCannotBeMade_failsAndSaysWhy)
{
    GetDataFolder();
    writeFile(reportsFolder(), "a file");
    QString path;
    QString why;
    EXPECT_FALSE(WriteCalibrationXml(FilledDocument(), QString(), &path, &why));
    EXPECT_TRUE(path.endsWith(QStringLiteral("reports/A123BC.xml")));
    EXPECT_EQ(why, qt_error_string(ENOTDIR));
}

TEST(TextFileWriterTest, piecesAreCutAtTheLimitNeverInsideACharacter)
{
    const struct {
        QString piece;
        int bytes;
    } cases[] = {
        {QString(3000, u'a'), TextFileWriter::MaxPiece},
        {QString(2047, u'a'), 2047},
        {QString(1500, QChar(0x0416)), 2046}, // two bytes each: 1023 whole characters
        {QString(2046, u'a') + QString::fromUtf16(u"\U0001F69B"), 2046},
        {QString(2045, u'a') + QString::fromUtf16(u"\u20AC"), 2045},
    };
    QTemporaryDir dir;
    for (const auto& c : cases) {
        const QString path = dir.filePath(QStringLiteral("out.txt"));
        TextFileWriter writer;
        writer.Write(QStringLiteral("ignored before open"));
        ASSERT_TRUE(writer.open(path));
        writer.Write(c.piece);
        ASSERT_TRUE(writer.close());
        const QByteArray bytes = readAll(path);
        EXPECT_EQ(bytes.size(), c.bytes);
        EXPECT_EQ(QString::fromUtf8(bytes).toUtf8(), bytes);
    }
    TextFileWriter writer;
    EXPECT_FALSE(writer.open(dir.filePath(QStringLiteral("missing/out.txt"))));
    EXPECT_FALSE(writer.close());
}

} // namespace
