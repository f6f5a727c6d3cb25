#include "fuzz/FuzzCheck.h"
#include "store/WorkshopRegister.h"

#include <QDir>

// service.txt as someone may have edited it, after a first line that names a real workshop
// whose SINFO.BIN holds the same bytes. The loaded paths must be the runs between code
// units below 32, each less the byte-order marks it starts with; the real workshop's record
// must hold each field as it lies at its own offset in its file.
namespace {

QString UnitsOf(const QByteArray& bytes)
{
    QString text;
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2)
        text.append(QChar(static_cast<char16_t>(static_cast<std::uint8_t>(bytes[i]) |
                                                static_cast<std::uint8_t>(bytes[i + 1]) << 8)));
    return text;
}

QStringList ExpectedPaths(const QString& units)
{
    QStringList paths;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= units.size(); ++i) {
        if (i < units.size() && units.at(i).unicode() >= 32)
            continue;
        QString run = units.mid(start, i - start);
        while (run.startsWith(QChar(0xFEFF)))
            run.remove(0, 1);
        if (!run.isEmpty())
            paths << run;
        start = i + 1;
    }
    return paths;
}

QByteArray Utf16Line(const QString& text)
{
    QByteArray bytes;
    for (const QChar c : text + QStringLiteral("\r\n")) {
        bytes.append(static_cast<char>(c.unicode() & 0xFF));
        bytes.append(static_cast<char>(c.unicode() >> 8));
    }
    return bytes;
}

// The workshop record's four UTF-16 fields, at their byte offsets in SINFO.BIN, each read up
// to its first zero unit or its width; bytes past the end of the file read as zero.
QStringList LiteralWorkshopFields(const QByteArray& file)
{
    constexpr std::pair<qsizetype, qsizetype> places[] = {
        {0, 260}, {520, 260}, {1040, 32}, {1104, 32}};
    QStringList fields;
    for (const auto& [offset, units] : places) {
        QString text;
        for (qsizetype i = 0; i < units; ++i) {
            const qsizetype at = offset + 2 * i;
            const auto low = static_cast<std::uint8_t>(at < file.size() ? file.at(at) : 0);
            const auto high = static_cast<std::uint8_t>(at + 1 < file.size() ? file.at(at + 1) : 0);
            if (low == 0 && high == 0)
                break;
            text.append(QChar(static_cast<char16_t>(low | high << 8)));
        }
        fields << text;
    }
    return fields;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    Fuzz::StartCoreApplication(argc, argv);
    FUZZ_CHECK(QDir().mkpath(Fuzz::ScratchPath(QStringLiteral("W/RX902"))));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString workshop = Fuzz::ScratchPath(QStringLiteral("W"));
    Fuzz::WriteScratchFile(QStringLiteral("W/RX902/SINFO.BIN"), bytes);
    const QByteArray file = Utf16Line(workshop) + bytes;
    const QString path = Fuzz::WriteScratchFile(QStringLiteral("service.txt"), file);

    WorkshopRegister reg;
    FUZZ_CHECK(reg.load(path) == WorkshopRegister::LoadResult::Loaded);
    QStringList loaded;
    for (const WorkshopEntry& entry : reg.entries())
        loaded << entry.folderPath;
    FUZZ_CHECK(loaded == ExpectedPaths(UnitsOf(file)));
    FUZZ_CHECK(!loaded.isEmpty() && loaded.first() == workshop);

    // An empty SINFO.BIN is no record: the entry keeps an all-zero one.
    const WorkshopRecord& record = reg.entries().front().record;
    const QStringList fields = LiteralWorkshopFields(bytes);
    const WorkshopRecord::Field order[] = {
        WorkshopRecord::Field::Name, WorkshopRecord::Field::Address, WorkshopRecord::Field::Phone,
        WorkshopRecord::Field::Index};
    for (int i = 0; i < 4; ++i)
        FUZZ_CHECK(record.field(order[i]) == fields.at(i));

    // What was loaded survives a save and a second load unchanged.
    FUZZ_CHECK(reg.save(path));
    WorkshopRegister again;
    FUZZ_CHECK(again.load(path) == WorkshopRegister::LoadResult::Loaded);
    QStringList reloaded;
    for (const WorkshopEntry& entry : again.entries())
        reloaded << entry.folderPath;
    FUZZ_CHECK(reloaded == loaded);
    return 0;
}
