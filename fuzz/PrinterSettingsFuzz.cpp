#include "fuzz/FuzzCheck.h"
#include "reports/PrinterSettings.h"

// printer.txt of any length and content: the names read are the UTF-16LE units of each
// field (the record printer's at byte 0, the ticket printer's at byte 520) up to a zero
// unit, never its last unit, and a loaded choice is saved and read back unchanged.
namespace {

QString ReferenceName(const QByteArray& bytes, qsizetype offset)
{
    QString name;
    for (qsizetype i = 0; i < 259; ++i) {
        const qsizetype at = offset + 2 * i;
        const auto low = at < bytes.size() ? static_cast<std::uint8_t>(bytes[at]) : 0;
        const auto high = at + 1 < bytes.size() ? static_cast<std::uint8_t>(bytes[at + 1]) : 0;
        const auto unit = static_cast<char16_t>(low | high << 8);
        if (unit == 0)
            break;
        name.append(QChar(unit));
    }
    return name;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    Fuzz::StartCoreApplication(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString path = Fuzz::WriteScratchFile(QStringLiteral("printer.txt"), bytes);

    const PrinterSettings loaded = PrinterSettings::load(path);
    FUZZ_CHECK(loaded.recordPrinter == ReferenceName(bytes, 0));
    FUZZ_CHECK(loaded.ticketPrinter == ReferenceName(bytes, 520));

    const QByteArray stored = loaded.toBytes();
    FUZZ_CHECK(stored.size() == 1040);
    FUZZ_CHECK(PrinterSettings::fromBytes(stored) == loaded);
    FUZZ_CHECK(loaded.save(path));
    FUZZ_CHECK(PrinterSettings::load(path) == loaded);
    return 0;
}
