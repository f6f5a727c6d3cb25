#include "fuzz/FuzzCheck.h"
#include "params/FieldText.h"
#include "params/RegistrationNumber.h"
#include "params/ValueLists.h"
#include "reports/CalibrationXml.h"

#include <QCoreApplication>
#include <QStringDecoder>
#include <QStringList>

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <algorithm>

// The calibration record written from records of any content always parses as XML and holds
// its 27 values under taho_record in their order (the data link's password is left out), each read
// back as the field held it (less the characters XML cannot carry). The expected values are read
// here at the fields' byte offsets and widths as the tachograph's records place them, not through
// the records' layouts.
namespace {

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

// A little-endian unsigned number of `width` bytes at `offset`.
QString Number(const std::uint8_t* bytes, std::size_t offset, std::size_t width)
{
    std::uint64_t value = 0;
    for (std::size_t i = width; i > 0; --i)
        value = value << 8 | bytes[offset + i - 1];
    return QString::number(value);
}

// UTF-16LE units at `offset` up to a zero unit or `units` of them.
QString Wide(const std::uint8_t* bytes, std::size_t offset, std::size_t units)
{
    QString text;
    for (std::size_t i = 0; i < units; ++i) {
        const auto unit =
            static_cast<char16_t>(bytes[offset + 2 * i] | bytes[offset + 2 * i + 1] << 8);
        if (unit == 0)
            break;
        text.append(QChar(unit));
    }
    return text;
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

    const std::uint8_t* p = doc.param.bytes.data();
    const std::uint8_t* g = doc.gsm.bytes.data();
    const std::uint8_t* o = doc.owner.bytes.data();
    const std::uint8_t* w = doc.workshop.bytes.data();
    const std::pair<const char*, QString> expected[] = {
        {"tag_vin", DecodeSingleByteText(p + 99, 17)},
        {"tag_nation", ValueLabel(QStringLiteral("country"), p[116])},
        {"tag_vnumber", DecodeRegistrationNumber(p + 118, 13, p[117])},
        {"tag_maxSpeed", Number(p, 152, 1)},
        {"tag_serial", Number(p, 171, 4)},
        {"tag_purpose", ValueLabel(QStringLiteral("purpose"), p[4])},
        {"tag_constantW", Number(p, 131, 2)},
        {"tag_constantK", Number(p, 133, 2)},
        {"tag_tyreL", Number(p, 135, 2)},
        {"tag_tyreS", DecodeSingleByteText(p + 137, 15)},
        {"tag_odometer", Number(p, 156, 3)},
        {"tag_imei", Number(g, 137, 8)},
        {"tag_apn", DecodeSingleByteText(g + 0, 40)},
        {"tag_login", DecodeSingleByteText(g + 40, 30)},
        {"tag_host", DecodeSingleByteText(g + 90, 40)},
        {"tag_port", Number(g, 130, 2)},
        {"tag_protocol", ValueLabel(QStringLiteral("protocol"), g[132])},
        {"tag_period", ValueLabel(QStringLiteral("period"), g[133])},
        {"tag_cname", Wide(o, 0, 260)},
        {"tag_address", Wide(o, 520, 260)},
        {"tag_phone", Wide(o, 1040, 32)},
        {"tag_model", Wide(o, 1104, 260)},
        {"tag_sname", Wide(w, 0, 260)},
        {"tag_saddress", Wide(w, 520, 260)},
        {"tag_sphone", Wide(w, 1040, 32)},
        {"tag_sindex", Wide(w, 1104, 32)},
        {"tag_date", doc.day},
    };
    std::size_t values = 0;
    for (xmlNode* node = root->children; node; node = node->next) {
        if (node->type != XML_ELEMENT_NODE)
            continue;
        FUZZ_CHECK(values < std::size(expected));
        const auto& [tag, value] = expected[values++];
        FUZZ_CHECK(xmlStrEqual(node->name, BAD_CAST tag));
        FUZZ_CHECK(ContentOf(node) == AsParsed(value));
    }
    FUZZ_CHECK(values == std::size(expected));
    xmlFreeDoc(parsed);
    return 0;
}
