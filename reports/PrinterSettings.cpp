#include "reports/PrinterSettings.h"

#include "params/FieldText.h"
#include "store/AtomicFileWriter.h"
#include "store/DataFolder.h"

#include <QDir>
#include <QFile>

#include <cstdint>

namespace {

QString nameAt(const QByteArray& block, std::size_t offset)
{
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(block.constData());
    // The last unit is the terminator's place, so a name never runs into the next field.
    return DecodeWideText(bytes + offset, PrinterSettings::MaxNameLength);
}

void putName(QByteArray& block, std::size_t offset, const QString& name)
{
    auto* bytes = reinterpret_cast<std::uint8_t*>(block.data());
    // The field's last unit stays zero: the terminator of a name of full length.
    EncodeWideText(name, bytes + offset, PrinterSettings::MaxNameLength);
}

} // namespace

QString PrinterSettings::filePath()
{
    return QDir(GetDataFolder()).filePath(QStringLiteral("printer.txt"));
}

PrinterSettings PrinterSettings::fromBytes(const QByteArray& bytes)
{
    QByteArray block = bytes.left(Layout::Size);
    block.append(QByteArray(static_cast<qsizetype>(Layout::Size) - block.size(), '\0'));
    return {nameAt(block, Layout::RecordOffset), nameAt(block, Layout::TicketOffset)};
}

QByteArray PrinterSettings::toBytes() const
{
    QByteArray block(Layout::Size, '\0');
    putName(block, Layout::RecordOffset, recordPrinter);
    putName(block, Layout::TicketOffset, ticketPrinter);
    return block;
}

PrinterSettings PrinterSettings::load(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return fromBytes(file.read(Layout::Size));
}

bool PrinterSettings::save(const QString& path) const
{
    return AtomicFileWriter::replace(path, toBytes());
}
