// Tree rebuild and selection load over a large synthetic data folder.
//
// The folder holds 20 workshops x 500 vehicles x 5 calibration days, each day with real
// PARAM_UP.BIN and GSM_UP.BIN files and each vehicle with its CINFO.BIN. It is made once
// under the system's temporary folder and reused by later runs (a marker file says it is
// complete). The run prints the ratio of the rebuild to the bare sorted listing of the same
// folders, which is the floor any rebuild has to pay.

#include "lang/LanguagePack.h"
#include "navigation/cTree.h"
#include "params/CurrentRecords.h"
#include "params/cTDGrid.h"
#include "store/FolderOps.h"
#include "store/RecordFile.h"
#include "store/WorkshopRecord.h"
#include "store/WorkshopRegister.h"

#include <QApplication>
#include <QDir>
#include <QFile>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <map>
#include <memory>
#include <string>

namespace {

constexpr int kWorkshops = 20;
constexpr int kVehiclesPerWorkshop = 500;
constexpr int kDaysPerVehicle = 5;

const QString kCompleteMarker = QStringLiteral("complete.marker");

QString BenchRoot()
{
    return QDir::temp().filePath(QStringLiteral("velmora_tree_bench_%1x%2x%3")
                                     .arg(kWorkshops)
                                     .arg(kVehiclesPerWorkshop)
                                     .arg(kDaysPerVehicle));
}

QString WorkshopFolder(int w)
{
    return BenchRoot() + QStringLiteral("/W%1").arg(w, 2, 10, QLatin1Char('0'));
}

QString VehicleName(int w, int v)
{
    return QStringLiteral("A%1B%2").arg(w, 2, 10, QLatin1Char('0')).arg(v, 3, 10, QLatin1Char('0'));
}

QString DayName(int d)
{
    return QStringLiteral("2024%1%2").arg(d + 1, 2, 10, QLatin1Char('0')).arg(15 + d);
}

template <std::size_t N> std::array<std::uint8_t, N> Pattern(int seed)
{
    std::array<std::uint8_t, N> bytes{};
    for (std::size_t i = 0; i < N; ++i)
        bytes[i] = static_cast<std::uint8_t>(seed + int(i));
    return bytes;
}

bool MakeDataFolder()
{
    const QString root = BenchRoot();
    if (QFile::exists(root + u'/' + kCompleteMarker))
        return true;
    std::fprintf(stderr, "Making %s (once)...\n", qPrintable(root));
    QDir(root).removeRecursively();
    bool ok = QDir().mkpath(root);
    for (int w = 0; ok && w < kWorkshops; ++w) {
        const QString exchange = ExchangeFolderOf(WorkshopFolder(w));
        ok = QDir().mkpath(exchange) && WriteRecordFile(WorkshopRecordPathOf(WorkshopFolder(w)),
                                                        Pattern<RecordSize::Workshop>(w));
        for (int v = 0; ok && v < kVehiclesPerWorkshop; ++v) {
            const QString vehicle = exchange + u'/' + VehicleName(w, v);
            ok = CreateFolder(vehicle) &&
                 WriteRecordFile(vehicle + u'/' + kOwnerFileName, Pattern<RecordSize::Owner>(v));
            for (int d = 0; ok && d < kDaysPerVehicle; ++d) {
                const QString day = vehicle + u'/' + DayName(d);
                ok = CreateFolder(day) &&
                     WriteRecordFile(day + u'/' + kParamFileName,
                                     Pattern<RecordSize::Param>(v + d)) &&
                     WriteRecordFile(day + u'/' + kGsmFileName, Pattern<RecordSize::Gsm>(v * d));
            }
        }
    }
    QFile marker(root + u'/' + kCompleteMarker);
    return ok && marker.open(QIODevice::WriteOnly);
}

struct Fixture {
    WorkshopRegister reg;
    std::unique_ptr<cTree> tree;
    std::unique_ptr<cTDGrid> grid;
};
Fixture* g_fixture = nullptr;

void BM_BareEnumeration(benchmark::State& state)
{
    for (auto _ : state) {
        qsizetype folders = 0;
        for (const WorkshopEntry& entry : g_fixture->reg.entries()) {
            const QString exchange = ExchangeFolderOf(entry.folderPath);
            const QStringList vehicles = ListSubfolders(exchange);
            for (const QString& vehicle : vehicles)
                folders += ListSubfolders(exchange + u'/' + vehicle).size();
            folders += vehicles.size();
        }
        benchmark::DoNotOptimize(folders);
    }
}
// Repeated, and the fastest repetition kept: other processes only ever add time.
BENCHMARK(BM_BareEnumeration)->Unit(benchmark::kMillisecond)->MinTime(1.0)->Repetitions(5);

void BM_Rebuild(benchmark::State& state)
{
    for (auto _ : state)
        g_fixture->tree->Rebuild();
}
BENCHMARK(BM_Rebuild)->Unit(benchmark::kMillisecond)->MinTime(1.0)->Repetitions(5);

void BM_SelectionLoad(benchmark::State& state)
{
    cTree& tree = *g_fixture->tree;
    tree.Rebuild();
    // Two vehicles in different workshops, so every selection is a change and loads; each
    // load ends with the grid's refresh, as on screen.
    const auto& entries = g_fixture->reg.entries();
    const TreeNode nodes[2] = {entries.front().vehicles[kVehiclesPerWorkshop / 2].node,
                               entries.back().vehicles.back().node};
    int next = 0;
    for (auto _ : state) {
        tree.SelectNode(nodes[next]);
        next ^= 1;
    }
    benchmark::DoNotOptimize(CurrentParamRecord().bytes);
}
BENCHMARK(BM_SelectionLoad)->Unit(benchmark::kMicrosecond)->Repetitions(5);

struct Timing {
    double realNs = 0;
    double cpuNs = 0;
};

// Keeps each benchmark's fastest repetition (mean real and CPU time per iteration). Both
// times are printed: on a busy machine the CPU time, which includes the kernel's time
// listing folders, is the steadier of the two.
class RecordingReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            if (run.iterations == 0)
                continue;
            const Timing timing{run.real_accumulated_time * 1e9 / double(run.iterations),
                                run.cpu_accumulated_time * 1e9 / double(run.iterations)};
            const std::string& name = run.run_name.function_name;
            if (run.run_type == Run::RT_Iteration) {
                const auto [it, inserted] = times.try_emplace(name, timing);
                if (!inserted) {
                    it->second.realNs = std::min(it->second.realNs, timing.realNs);
                    it->second.cpuNs = std::min(it->second.cpuNs, timing.cpuNs);
                }
            } else if (run.aggregate_name == "median") {
                // Only seen alone with --benchmark_report_aggregates_only.
                times.try_emplace(name, timing);
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, Timing> times;
};

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    if (!MakeDataFolder()) {
        std::fprintf(stderr, "Could not make the data folder under %s\n", qPrintable(BenchRoot()));
        return 1;
    }

    Fixture fixture;
    for (int w = 0; w < kWorkshops; ++w) {
        WorkshopEntry entry;
        entry.folderPath = WorkshopFolder(w);
        entry.record.setField(WorkshopRecord::Field::Name, QStringLiteral("Workshop %1").arg(w));
        fixture.reg.entries().push_back(std::move(entry));
    }
    // The grid's labels and value lists come from the language pack beside the program.
    LanguagePack::current().load(QStringLiteral("Velmora_ru"));
    fixture.grid = std::make_unique<cTDGrid>();
    fixture.grid->resize(500, 800);
    fixture.grid->show();
    fixture.grid->SetupRows();
    fixture.tree = std::make_unique<cTree>(fixture.reg);
    fixture.tree->setGrid(fixture.grid.get());
    fixture.tree->resize(300, 800);
    fixture.tree->show();
    fixture.tree->OnInitialUpdate();
    g_fixture = &fixture;

    RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    const auto enumeration = reporter.times.find("BM_BareEnumeration");
    const auto rebuild = reporter.times.find("BM_Rebuild");
    const auto load = reporter.times.find("BM_SelectionLoad");
    if (enumeration != reporter.times.end() && rebuild != reporter.times.end())
        std::printf("rebuild/enumeration ratio: %.2f real time, %.2f CPU time (target at most "
                    "1.5)\n",
                    rebuild->second.realNs / enumeration->second.realNs,
                    rebuild->second.cpuNs / enumeration->second.cpuNs);
    if (load != reporter.times.end())
        std::printf("selection load: %.1f us real time, %.1f us CPU time (target under 1000 us)\n",
                    load->second.realNs / 1e3, load->second.cpuNs / 1e3);
    return 0;
}
