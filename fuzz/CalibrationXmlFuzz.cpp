#include "fuzz/FuzzCheck.h"
#include "params/FieldText.h"
#include "reports/CalibrationXml.h"

#include <QCoreApplication>
#include <QStringDecoder>
#include <QStringList>

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <algorithm>

// The calibration record written from records of any content always parses as XML, holds
// its 27 values under taho_record, and a text value reads back as the field held it less the
// characters XML cannot carry.
namespace {

constexpr int kValueCount = 27;

template <typename Record> void Fill(Fuzz::Input& in, Record& record)
{
    for (std::uint8_t& b : record.bytes)
        b = in.byte();
}

QString Text(Fuzz::Input& in, int maxBytes)
{
    QByteArray bytes;
    const int length = in.byte() % (maxBytes + 1);
    for (int i = 0; i < length; ++i)
        bytes.append(static_cast<char>(in.byte()));
    return QString::fromUtf8(bytes);
}

// What a parser gives back for a text: only characters XML 1.0 allows (a lone surrogate is
// written as U+FFFD), line ends as LF.
QString AsParsed(const QString& text)
{
    QString kept;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text.at(i).unicode();
        if (QChar::isHighSurrogate(u) && i + 1 < text.size() &&
            QChar::isLowSurrogate(text.at(i + 1).unicode())) {
            kept.append(text.mid(i, 2));
            ++i;
            continue;
        }
        if (QChar::isSurrogate(u)) {
            kept.append(QChar(QChar::ReplacementCharacter));
            continue;
        }
        const bool allowed =
            (u >= 0x20 || u == 0x9 || u == 0xA || u == 0xD) && u != 0xFFFE && u != 0xFFFF;
        if (allowed)
            kept.append(QChar(u));
    }
    kept.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    kept.replace(u'\r', u'\n');
    return kept;
}

QString ContentOf(xmlNode* element)
{
    xmlChar* content = xmlNodeGetContent(element);
    // QString::fromUtf8 would drop a leading U+FEFF of the value as if it were a byte-order mark.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    const QString text = utf8.decode(QByteArrayView(reinterpret_cast<const char*>(content)));
    xmlFree(content);
    return text;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QCoreApplication app(*argc, *argv);
    Fuzz::LoadLanguagePack();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Fuzz::Input in(data, size);
    CalibrationDocument doc;
    doc.vehicle = Text(in, 16);
    doc.day = Text(in, 8);
    doc.stylesheet =
        QStringLiteral("/usr/share/velmora/") + Text(in, 8) + QStringLiteral("printer_view.xslt");
    Fill(in, doc.param);
    Fill(in, doc.gsm);
    Fill(in, doc.owner);
    Fill(in, doc.workshop);

    const QByteArray xml = CalibrationXmlLines(doc).join(QString()).toUtf8();
    xmlDoc* parsed = xmlReadMemory(xml.constData(), static_cast<int>(xml.size()), nullptr, nullptr,
                                   XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    FUZZ_CHECK(parsed != nullptr);
    xmlNode* root = xmlDocGetRootElement(parsed);
    FUZZ_CHECK(root && xmlStrEqual(root->name, BAD_CAST "taho_record"));

    int values = 0;
    for (xmlNode* node = root->children; node; node = node->next) {
        if (node->type != XML_ELEMENT_NODE)
            continue;
        ++values;
        const QString tag = QString::fromUtf8(reinterpret_cast<const char*>(node->name));
        if (tag == QLatin1String("tag_vnumber"))
            FUZZ_CHECK(ContentOf(node) == AsParsed(RegistrationNumberOf(doc.param)));
        else if (tag == QLatin1String("tag_sname"))
            FUZZ_CHECK(ContentOf(node) ==
                       AsParsed(doc.workshop.field(WorkshopRecord::Field::Name)));
        else if (tag == QLatin1String("tag_cname"))
            FUZZ_CHECK(
                ContentOf(node) ==
                AsParsed(DecodeWideText(doc.owner.bytes.data() + OwnerRecord::Layout::NameOffset,
                                        OwnerRecord::Layout::NameUnits)));
        else if (tag == QLatin1String("tag_date"))
            FUZZ_CHECK(ContentOf(node) == AsParsed(doc.day));
    }
    xmlFreeDoc(parsed);
    FUZZ_CHECK(values == kValueCount);
    return 0;
}
