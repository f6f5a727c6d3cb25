#include "reports/XsltTransform.h"
#include "lang/LanguagePack.h"
#include "lang/StringIds.h"
#include "reports/CalibrationXml.h"
#include "tests/reports/ReportTestRecords.h"
#include "tests/support/TempDataFolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString kStylesheets = QStringLiteral(VELMORA_SOURCE_DIR "/resources/reports");

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// Each document goes to the file of its vehicle name.
QString writeDocument(const QString& stylesheet, const QString& day = {},
                      const QString& vehicle = QStringLiteral("A123BC"))
{
    CalibrationDocument doc = FilledDocument();
    doc.vehicle = vehicle;
    doc.day = day;
    doc.stylesheet = stylesheet;
    QString path;
    EXPECT_TRUE(WriteCalibrationXml(doc, QString(), &path));
    return path;
}

QByteArray stylesheetWith(const QByteArray& body)
{
    return "<?xml version=\"1.0\"?>\n"
           "<xsl:stylesheet version=\"1.0\" xmlns:xsl=\"http://www.w3.org/1999/XSL/Transform\"\n"
           "    xmlns:exsl=\"http://exslt.org/common\" extension-element-prefixes=\"exsl\">\n"
           "<xsl:template match=\"/\"><html><body>" +
           body + "</body></html></xsl:template>\n</xsl:stylesheet>\n";
}

class XsltTransformTest : public ::testing::Test {
protected:
    TempDataFolder m_data;
    QTemporaryDir m_dir;
};

TEST_F(XsltTransformTest, shippedStylesheets_showValuesWithLabelsOfTheLanguage)
{
    const struct {
        const char* stylesheet;
        const char* language;
        QStringList expected;
    } cases[] = {
        {"printer_view.xslt",
         "ru",
         {QStringLiteral("ПРОТОКОЛ КАЛИБРОВКИ ТАХОГРАФА"), QStringLiteral("Тахосервис"),
          QStringLiteral("ООО «Грузовик»"), QStringLiteral("WDB9634031L123456"),
          QStringLiteral("Характеристический коэффициент W"), QStringLiteral("9999999"),
          QStringLiteral("14.02.2026"), QStringLiteral("М. П.")}},
        {"printer_view.xslt",
         "en",
         {QStringLiteral("TACHOGRAPH CALIBRATION RECORD"),
          QStringLiteral("Characteristic coefficient W"), QStringLiteral("8001"),
          QStringLiteral("Stamp"), QStringLiteral("14.02.2026")}},
        {"ticket_view.xslt",
         "ru",
         {QStringLiteral("ТАЛОН ТРАНСПОРТНОГО СРЕДСТВА"), QStringLiteral("A123BC"),
          QStringLiteral("3250"), QStringLiteral("315/80 R22.5"), QStringLiteral("Тахосервис")}},
        {"ticket_view.xslt",
         "en",
         {QStringLiteral("VEHICLE TICKET"), QStringLiteral("Speed limit,\u00A0km/\u2060h"),
          QStringLiteral("90"), QStringLiteral("14.02.2026")}},
    };
    for (const auto& c : cases) {
        const QString xml = writeDocument(kStylesheets + u'/' + QLatin1String(c.stylesheet),
                                          QStringLiteral("20260214"));
        const XsltTransform::Result page =
            XsltTransform::renderFile(xml, QLatin1String(c.language));
        ASSERT_TRUE(page.ok) << page.error.toStdString();
        for (const QString& text : c.expected)
            EXPECT_TRUE(page.html.contains(text))
                << c.stylesheet << " " << c.language << " " << text.toStdString();
    }
}

TEST_F(XsltTransformTest, ticketShowsTheNextInspectionTwoYearsOn)
{
    const struct {
        const char* day;
        const char* language;
        QString expected;
    } cases[] = {
        {"20260214", "en", QStringLiteral("Next inspection due by")},
        {"20260214", "en", QStringLiteral("14.02.2028")},
        {"20260214", "ru", QStringLiteral("Следующая проверка не позднее")},
        {"20240229", "ru", QStringLiteral("28.02.2026")},
        {"20231231", "ru", QStringLiteral("31.12.2025")},
        {"", "ru", QStringLiteral("Следующая проверка не позднее")},
    };
    for (const auto& c : cases) {
        const QString xml =
            writeDocument(kStylesheets + QStringLiteral("/ticket_view.xslt"), QLatin1String(c.day));
        const XsltTransform::Result page =
            XsltTransform::renderFile(xml, QLatin1String(c.language));
        ASSERT_TRUE(page.ok) << page.error.toStdString();
        EXPECT_TRUE(page.html.contains(c.expected)) << c.day << " " << c.expected.toStdString();
    }
}

TEST_F(XsltTransformTest, stylesheetInAFolderWithSpacesAndHash_isFound)
{
    const QString folder = m_dir.filePath(QStringLiteral("my #1 reports & more"));
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_TRUE(QFile::copy(kStylesheets + QStringLiteral("/ticket_view.xslt"),
                            folder + QStringLiteral("/ticket_view.xslt")));
    const XsltTransform::Result page = XsltTransform::renderFile(
        writeDocument(folder + QStringLiteral("/ticket_view.xslt")), QStringLiteral("en"));
    EXPECT_TRUE(page.ok) << page.error.toStdString();
}

TEST_F(XsltTransformTest, sandbox_refusesReadingWritingAndTheNetwork)
{
    const QString secret = m_dir.filePath(QStringLiteral("secret.xml"));
    writeFile(secret, "<secret>do not show</secret>");
    const QString written = m_dir.filePath(QStringLiteral("written.html"));
    const QString made = m_dir.filePath(QStringLiteral("made"));
    const struct {
        const char* name;
        QByteArray body;
        QString reached;
    } cases[] = {
        {"local document", "<xsl:value-of select=\"document('" + secret.toUtf8() + "')\"/>",
         secret},
        {"network document", "<xsl:value-of select=\"document('http://127.0.0.1:9/x.xml')\"/>",
         QStringLiteral("http://127.0.0.1:9/x.xml")},
        {"file write", "<exsl:document href=\"" + written.toUtf8() + "\">x</exsl:document>",
         written},
        {"folder creation",
         "<exsl:document href=\"" + made.toUtf8() + "/inner.html\">x</exsl:document>", made},
    };
    for (const auto& c : cases) {
        const QString sheet = m_dir.filePath(QStringLiteral("hostile.xslt"));
        writeFile(sheet, stylesheetWith(c.body));
        const XsltTransform::Result page =
            XsltTransform::renderFile(writeDocument(sheet), QStringLiteral("en"));
        EXPECT_FALSE(page.ok) << c.name;
        EXPECT_FALSE(page.html.contains(QStringLiteral("do not show"))) << c.name;
        EXPECT_TRUE(page.error.contains(sheet)) << c.name << page.error.toStdString();
        EXPECT_TRUE(page.error.contains(c.reached)) << c.name << page.error.toStdString();
    }
    EXPECT_FALSE(QFile::exists(written));
    EXPECT_FALSE(QFile::exists(made));
}

TEST_F(XsltTransformTest, brokenInputs_giveAMessageNamingWhatFailed)
{
    const QString broken = m_dir.filePath(QStringLiteral("broken.xslt"));
    writeFile(broken, "<xsl:stylesheet version=\"1.0\" xmlns:xsl=\"http://www.w3.org/1999/XSL/"
                      "Transform\"><xsl:template match=\"/\"><xsl:value-of select=\"((\"/>"
                      "</xsl:template></xsl:stylesheet>");
    const QString entity = m_dir.filePath(QStringLiteral("entity.xml"));
    writeFile(entity, "<?xml version=\"1.0\"?>\n<!DOCTYPE taho_record [<!ENTITY x SYSTEM "
                      "\"file:///etc/passwd\">]>\n<?xml-stylesheet type=\"text/xsl\" href=\"" +
                          broken.toUtf8() + "\"?>\n<taho_record>&x;</taho_record>\n");
    const QString noPi = m_dir.filePath(QStringLiteral("nopi.xml"));
    writeFile(noPi, "<taho_record/>");
    const QString cut = m_dir.filePath(QStringLiteral("cut.xml"));
    writeFile(cut, "<taho_record><tag_vin>");
    const QString missing = m_dir.filePath(QStringLiteral("gone/printer_view.xslt"));

    const struct {
        QString xml;
        int message;
        QString named;
    } cases[] = {
        {writeDocument(missing, {}, QStringLiteral("missing")), StringId::ReportStylesheetMissing,
         missing},
        {writeDocument(broken), StringId::ReportStylesheetBroken, broken},
        {entity, StringId::ReportDocumentTypeRefused, entity},
        {noPi, StringId::ReportNoStylesheet, noPi},
        {cut, StringId::ReportDocumentBroken, cut},
        {m_dir.filePath(QStringLiteral("none.xml")), StringId::ReportDocumentBroken,
         m_dir.filePath(QStringLiteral("none.xml"))},
    };
    for (const auto& c : cases) {
        const XsltTransform::Result page = XsltTransform::renderFile(c.xml, QStringLiteral("ru"));
        EXPECT_FALSE(page.ok) << c.named.toStdString();
        const QString prefix = Lang(c.message).section(QStringLiteral("%1"), 0, 0);
        EXPECT_TRUE(page.error.startsWith(prefix)) << page.error.toStdString();
        EXPECT_TRUE(page.error.contains(c.named)) << page.error.toStdString();
    }
}

} // namespace
