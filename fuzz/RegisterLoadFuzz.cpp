#include "fuzz/FuzzCheck.h"
#include "store/WorkshopRegister.h"

#include <QFile>

// service.txt as someone may have edited it: the loaded paths must be exactly the runs of
// code units of 32 and above, less a byte-order mark at the start of a run, whatever else
// the file holds.
namespace {

QStringList IndependentSplit(const QByteArray& bytes)
{
    QStringList lines;
    QString line;
    const qsizetype units = bytes.size() / 2;
    for (qsizetype i = 0; i < units; ++i) {
        const auto unit = static_cast<char16_t>(static_cast<std::uint8_t>(bytes[2 * i]) |
                                                static_cast<std::uint8_t>(bytes[2 * i + 1]) << 8);
        if (unit == 0xFEFF && line.isEmpty())
            continue;
        if (unit >= 32) {
            line.append(QChar(unit));
        } else if (!line.isEmpty()) {
            lines << line;
            line.clear();
        }
    }
    if (!line.isEmpty())
        lines << line;
    return lines;
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
    const QString path = Fuzz::WriteScratchFile(QStringLiteral("service.txt"), bytes);

    WorkshopRegister reg;
    FUZZ_CHECK(reg.load(path) == WorkshopRegister::LoadResult::Loaded);
    QStringList loaded;
    for (const WorkshopEntry& entry : reg.entries()) {
        loaded << entry.folderPath;
        FUZZ_CHECK(WorkshopRegister::canHoldPath(entry.folderPath));
    }
    FUZZ_CHECK(loaded == IndependentSplit(bytes));

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
