#include "reports/CalibrationXml.h"

#include "params/FieldText.h"
#include "params/RegistrationNumber.h"
#include "params/ValueLists.h"
#include "reports/TextFileWriter.h"
#include "store/DataFolder.h"
#include "store/FolderOps.h"
#include "store/LittleEndian.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <cerrno>
#include <sys/stat.h>

namespace {

const QString kLineEnd = QStringLiteral("\r\n");
const QString kIconName = QStringLiteral("Ondrix.ico");

bool allowedInXml(char32_t c)
{
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
           (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

std::uint64_t number(const std::uint8_t* bytes, std::size_t offset, std::size_t width)
{
    return LittleEndian::read(bytes + offset, width);
}

QString singleByte(const std::uint8_t* bytes, std::size_t offset, std::size_t width)
{
    return DecodeSingleByteText(bytes + offset, width);
}

QString wide(const std::uint8_t* bytes, std::size_t offset, std::size_t units)
{
    return DecodeWideText(bytes + offset, units);
}

class Lines {
public:
    void text(const char* tag, const QString& value)
    {
        const QString name = QLatin1String(tag);
        m_lines.append(u'<' + name + u'>' + XmlEscapedText(value) + QStringLiteral("</") + name +
                       u'>' + kLineEnd);
    }
    void number(const char* tag, std::uint64_t value) { text(tag, QString::number(value)); }
    void raw(const QString& line) { m_lines.append(line + kLineEnd); }
    QStringList result() const { return m_lines; }

private:
    QStringList m_lines;
};

} // namespace

QString XmlEscapedText(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (char32_t c : text.toUcs4()) {
        if (c == u'&')
            out += QStringLiteral("&amp;");
        else if (c == u'<')
            out += QStringLiteral("&lt;");
        else if (c == u'>')
            out += QStringLiteral("&gt;");
        else if (allowedInXml(c))
            // Not QString::fromUcs4, which takes every U+FEFF for a byte-order mark and drops it.
            out += QStringView(QChar::fromUcs4(c));
    }
    return out;
}

QStringList CalibrationXmlLines(const CalibrationDocument& doc)
{
    using P = ParamRecord::Layout;
    using G = GsmRecord::Layout;
    using O = OwnerRecord::Layout;
    const std::uint8_t* param = doc.param.bytes.data();
    const std::uint8_t* gsm = doc.gsm.bytes.data();
    const std::uint8_t* owner = doc.owner.bytes.data();
    const WorkshopRecord& shop = doc.workshop;

    Lines lines;
    lines.raw(QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"));
    // Inside the instruction's pseudo-attribute a quotation mark would end the path.
    QString href = XmlEscapedText(doc.stylesheet);
    href.replace(u'"', QStringLiteral("&quot;"));
    lines.raw(QStringLiteral("<?xml-stylesheet type=\"text/xsl\" href=\"%1\"?>").arg(href));
    lines.raw(QStringLiteral("<taho_record>"));
    lines.text("tag_vin", singleByte(param, P::VinOffset, P::VinWidth));
    lines.text("tag_nation", ValueLabel(QStringLiteral("country"), param[P::NationOffset]));
    lines.text("tag_vnumber", RegistrationNumberOf(doc.param));
    lines.number("tag_maxSpeed", param[P::MaxSpeedOffset]);
    lines.number("tag_serial", number(param, P::SerialOffset, P::SerialWidth));
    lines.text("tag_purpose", ValueLabel(QStringLiteral("purpose"), param[P::PurposeOffset]));
    lines.number("tag_constantW", number(param, P::ConstantWOffset, P::UInt16Width));
    lines.number("tag_constantK", number(param, P::ConstantKOffset, P::UInt16Width));
    lines.number("tag_tyreL", number(param, P::TyreCircumferenceOffset, P::UInt16Width));
    lines.text("tag_tyreS", singleByte(param, P::TyreSizeOffset, P::TyreSizeWidth));
    lines.number("tag_odometer", number(param, P::OdometerOffset, P::OdometerWidth));
    lines.number("tag_imei", number(gsm, G::ImeiOffset, G::ImeiWidth));
    lines.text("tag_apn", singleByte(gsm, G::ApnOffset, G::ApnWidth));
    lines.text("tag_login", singleByte(gsm, G::LoginOffset, G::LoginWidth));
    lines.text("tag_host", singleByte(gsm, G::HostOffset, G::HostWidth));
    lines.number("tag_port", number(gsm, G::PortOffset, G::PortWidth));
    lines.text("tag_protocol", ValueLabel(QStringLiteral("protocol"), gsm[G::ProtocolOffset]));
    lines.text("tag_period", ValueLabel(QStringLiteral("period"), gsm[G::PeriodOffset]));
    lines.text("tag_cname", wide(owner, O::NameOffset, O::NameUnits));
    lines.text("tag_address", wide(owner, O::AddressOffset, O::AddressUnits));
    lines.text("tag_phone", wide(owner, O::PhoneOffset, O::PhoneUnits));
    lines.text("tag_model", wide(owner, O::ModelOffset, O::ModelUnits));
    lines.text("tag_sname", shop.field(WorkshopRecord::Field::Name));
    lines.text("tag_saddress", shop.field(WorkshopRecord::Field::Address));
    lines.text("tag_sphone", shop.field(WorkshopRecord::Field::Phone));
    lines.text("tag_sindex", shop.field(WorkshopRecord::Field::Index));
    lines.text("tag_date", doc.day);
    lines.raw(QStringLiteral("</taho_record>"));
    return lines.result();
}

QString ReportsFolder()
{
    return QDir(GetDataFolder()).filePath(QStringLiteral("reports"));
}

namespace {

// Makes the reports folder, or closes an existing one to everyone but its owner: the
// documents hold the owner's name, address and telephone. False with errno set.
bool prepareFolder(const QString& folder)
{
    // Something else at the name is looked at below.
    if (!EnsureFolder(folder, nullptr, FolderLinks::Refuse, 0700) && errno != EEXIST)
        return false;
    const QByteArray path = QFile::encodeName(folder);
    struct stat st {};
    if (::lstat(path.constData(), &st) != 0)
        return false;
    if (!S_ISDIR(st.st_mode)) {
        errno = ENOTDIR;
        return false;
    }
    return (st.st_mode & 07777) == 0700 || ::chmod(path.constData(), 0700) == 0;
}

// A link planted at a report's name is removed, so the file written is the folder's own.
void removeLink(const QString& path)
{
    if (QFileInfo(path).isSymLink())
        QFile::remove(path);
}

} // namespace

bool WriteCalibrationXml(const CalibrationDocument& doc, const QString& iconSource,
                         QString* xmlPath, QString* error)
{
    const QString folder = ReportsFolder();
    const QString path = QDir(folder).filePath(doc.vehicle + QStringLiteral(".xml"));
    if (xmlPath)
        *xmlPath = path;
    const auto fail = [error] {
        if (error)
            *error = qt_error_string(errno);
        return false;
    };
    if (!prepareFolder(folder))
        return fail();
    // QFile::copy never overwrites, so the first copy stays.
    const QString icon = QDir(folder).filePath(kIconName);
    removeLink(icon);
    if (!iconSource.isEmpty())
        QFile::copy(iconSource, icon);

    removeLink(path);
    TextFileWriter writer;
    if (!writer.open(path))
        return fail();
    for (const QString& line : CalibrationXmlLines(doc))
        writer.Write(line);
    return writer.close() || fail();
}
