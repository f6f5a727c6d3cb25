#include "bench/BenchData.h"

#include "params/ParamRecord.h"
#include "params/RegistrationNumber.h"
#include "store/FolderOps.h"
#include "store/RecordFile.h"
#include "store/WorkshopRecord.h"

#include <QDir>
#include <QFile>

#include <array>
#include <cstdio>

namespace {

const QString kCompleteMarker = QStringLiteral("complete.marker");

template <std::size_t N> std::array<std::uint8_t, N> Pattern(int seed)
{
    std::array<std::uint8_t, N> bytes{};
    for (std::size_t i = 0; i < N; ++i)
        bytes[i] = static_cast<std::uint8_t>(seed + int(i));
    return bytes;
}

} // namespace

BenchData::BenchData(int workshops, int vehicles, int days)
    : m_workshops(workshops), m_vehicles(vehicles), m_days(days)
{
}

QString BenchData::root() const
{
    // The name says what is inside, so a change of contents makes a new folder.
    return QDir::temp().filePath(
        QStringLiteral("velmora_bench_v3_%1x%2x%3").arg(m_workshops).arg(m_vehicles).arg(m_days));
}

QString BenchData::workshopFolder(int w) const
{
    return root() + QStringLiteral("/W%1").arg(w, 2, 10, QLatin1Char('0'));
}

QString BenchData::vehicleName(int w, int v)
{
    return QStringLiteral("A%1B%2").arg(w, 2, 10, QLatin1Char('0')).arg(v, 3, 10, QLatin1Char('0'));
}

QString BenchData::dayName(int d)
{
    return QStringLiteral("2024%1%2").arg(d % 12 + 1, 2, 10, QLatin1Char('0')).arg(10 + d % 18);
}

namespace {

QString WorkshopName(int w)
{
    return QStringLiteral("Мастерская %1").arg(w);
}

} // namespace

bool BenchData::make() const
{
    const QString base = root();
    if (QFile::exists(base + u'/' + kCompleteMarker))
        return true;
    std::fprintf(stderr, "Making %s (once)...\n", qPrintable(base));
    QDir(base).removeRecursively();
    bool ok = QDir().mkpath(base);
    for (int w = 0; ok && w < m_workshops; ++w) {
        const QString exchange = ExchangeFolderOf(workshopFolder(w));
        // Named as a workshop is, not with a byte pattern: the tree shows the name, and glyphs
        // from all over Unicode would time the search for fonts that hold them.
        WorkshopRecord workshop;
        workshop.setField(WorkshopRecord::Field::Name, WorkshopName(w));
        ok = QDir().mkpath(exchange) &&
             WriteRecordFile(WorkshopRecordPathOf(workshopFolder(w)), workshop.bytes);
        for (int v = 0; ok && v < m_vehicles; ++v) {
            const QString vehicle = exchange + u'/' + vehicleName(w, v);
            ok = EnsureFolder(vehicle) &&
                 WriteRecordFile(vehicle + u'/' + kOwnerFileName, Pattern<RecordSize::Owner>(v));
            ParamRecord param;
            EncodeRegistrationNumber(vehicleName(w, v),
                                     param.bytes.data() + ParamRecord::Layout::RegNumberOffset,
                                     ParamRecord::Layout::RegNumberWidth,
                                     param.bytes[ParamRecord::Layout::CodePageOffset]);
            for (int d = 0; ok && d < m_days; ++d) {
                const QString day = vehicle + u'/' + dayName(d);
                ok = EnsureFolder(day) &&
                     WriteRecordFile(day + u'/' + kParamFileName, param.bytes) &&
                     WriteRecordFile(day + u'/' + kGsmFileName, Pattern<RecordSize::Gsm>(v * d));
            }
        }
    }
    QFile marker(base + u'/' + kCompleteMarker);
    return ok && marker.open(QIODevice::WriteOnly);
}

void BenchData::registerWorkshops(WorkshopRegister& reg) const
{
    for (int w = 0; w < m_workshops; ++w) {
        WorkshopEntry entry;
        entry.folderPath = workshopFolder(w);
        entry.record.setField(WorkshopRecord::Field::Name, WorkshopName(w));
        reg.entries().push_back(std::move(entry));
    }
}
