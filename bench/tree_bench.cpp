// Tree rebuild and selection load over a large data folder of real record files: 20
// workshops x 500 vehicles x 5 calibration days, 60,000 folders. The run prints the ratio
// of each rebuild to the bare sorted listing of the same folders. A rebuild is timed until
// every workshop's branch has come from the workers and is shown, a selection until its
// calibration is.

#include "bench/BenchData.h"
#include "bench/FastestReporter.h"
#include "lang/LanguagePack.h"
#include "navigation/cTree.h"
#include "params/CurrentCalibration.h"
#include "params/cTDGrid.h"
#include "store/WorkshopRegister.h"

#include <QApplication>
#include <QFile>
#include <QThread>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

#include <dirent.h>
#include <malloc.h>

namespace {

const BenchData kData(20, 500, 5);

// Takes the workers' answers (queued calls) as they come, and nothing else: the widgets are
// neither laid out nor painted, as a rebuild or a load done in one go never gave them the
// chance to be.
void WaitForWorkers(const cTree& tree)
{
    while (tree.Reading()) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
        QThread::usleep(20);
    }
}

void RebuildAndWait(cTree& tree)
{
    tree.Rebuild();
    WaitForWorkers(tree);
}

struct Fixture {
    WorkshopRegister reg;
    CurrentCalibration current;
    std::unique_ptr<cTree> tree;
    std::unique_ptr<cTDGrid> grid;
};
Fixture* g_fixture = nullptr;

// Every listing and rebuild is repeated and its fastest repetition kept. CPU time is the
// whole process's, so work moved to other threads still counts.
void TimedAsListing(benchmark::internal::Benchmark* bench)
{
    bench->Unit(benchmark::kMillisecond)->MinTime(1.0)->Repetitions(5)->MeasureProcessCPUTime();
}

// The yardstick: the sorted listing of a folder's folders as the plain directory stream
// gives it, by full path. It stays apart from the program's own listing, so that the ratios
// show what the program's listing and tree building gain or lose against it.
QStringList PlainListing(const QString& folder)
{
    QStringList names;
    DIR* dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return names;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name(entry->d_name);
        if (name.find('.') == std::string_view::npos && entry->d_type == DT_DIR)
            names.append(
                QFile::decodeName(QByteArray::fromRawData(name.data(), qsizetype(name.size()))));
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

void BM_BareEnumeration(benchmark::State& state)
{
    for (auto _ : state) {
        qsizetype folders = 0;
        for (const WorkshopEntry& entry : g_fixture->reg.entries()) {
            const QString exchange = ExchangeFolderOf(entry.folderPath);
            const QStringList vehicles = PlainListing(exchange);
            for (const QString& vehicle : vehicles)
                folders += PlainListing(exchange + u'/' + vehicle).size();
            folders += vehicles.size();
        }
        benchmark::DoNotOptimize(folders);
    }
}
BENCHMARK(BM_BareEnumeration)->Apply(TimedAsListing);

// A tree that shows nothing yet, as at start-up: made with an empty register, so its first
// build lists nothing.
std::unique_ptr<cTree> MakeEmptyTree(Fixture& fixture)
{
    std::vector<WorkshopEntry> entries;
    entries.swap(fixture.reg.entries());
    auto tree = std::make_unique<cTree>(fixture.reg, fixture.current);
    tree->setGrid(fixture.grid.get());
    tree->resize(300, 800);
    tree->show();
    tree->OnInitialUpdate();
    entries.swap(fixture.reg.entries());
    return tree;
}

// The start-up rebuild: every node made new. Making the empty tree, and dropping the last
// one with its nodes, is not timed.
void BM_StartupRebuild(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        g_fixture->tree.reset();
        // Freed nodes are merged and handed back first, so the build meets a heap like the
        // one a program just started has, not one full of the last tree's holes.
        malloc_trim(0);
        g_fixture->tree = MakeEmptyTree(*g_fixture);
        // A register just read from service.txt holds no vehicles or days yet.
        for (WorkshopEntry& entry : g_fixture->reg.entries())
            std::vector<VehicleEntry>().swap(entry.vehicles);
        malloc_trim(0);
        state.ResumeTiming();
        RebuildAndWait(*g_fixture->tree);
    }
}
BENCHMARK(BM_StartupRebuild)->Apply(TimedAsListing);

// A rebuild over a full tree, as registering a workshop folder does: the old nodes go too.
void BM_Rebuild(benchmark::State& state)
{
    for (auto _ : state)
        RebuildAndWait(*g_fixture->tree);
}
BENCHMARK(BM_Rebuild)->Apply(TimedAsListing);

void BM_SelectionLoad(benchmark::State& state)
{
    cTree& tree = *g_fixture->tree;
    RebuildAndWait(tree);
    // Two vehicles in different workshops, so every selection is a change and loads; each
    // load ends with the grid's refresh, as on screen.
    const auto& entries = g_fixture->reg.entries();
    const TreeNode nodes[2] = {entries.front().vehicles[entries.front().vehicles.size() / 2].node,
                               entries.back().vehicles.back().node};
    int next = 0;
    for (auto _ : state) {
        tree.SelectNode(nodes[next]);
        WaitForWorkers(tree);
        next ^= 1;
    }
    benchmark::DoNotOptimize(g_fixture->current.param().bytes);
}
BENCHMARK(BM_SelectionLoad)->Unit(benchmark::kMicrosecond)->Repetitions(5);

// Resident memory of this process in megabytes, from the kernel's own account.
double ResidentMegabytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return -1;
}

qsizetype CountNodes(const QTreeWidgetItem* node)
{
    qsizetype count = 1;
    for (int i = 0; i < node->childCount(); ++i)
        count += CountNodes(node->child(i));
    return count;
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    if (!kData.make()) {
        std::fprintf(stderr, "Could not make the data folder %s\n", qPrintable(kData.root()));
        return 1;
    }

    Fixture fixture;
    kData.registerWorkshops(fixture.reg);
    // The grid's labels and value lists come from the language pack beside the program.
    LanguagePack::current().load(QStringLiteral("Velmora_ru"));
    fixture.grid = std::make_unique<cTDGrid>(fixture.current);
    fixture.grid->resize(500, 800);
    fixture.grid->show();
    fixture.grid->SetupRows();
    fixture.tree = std::make_unique<cTree>(fixture.reg, fixture.current);
    fixture.tree->setGrid(fixture.grid.get());
    fixture.tree->resize(300, 800);
    fixture.tree->show();
    fixture.tree->OnInitialUpdate();
    // The branches arrive from the listing workers; like the runs below, the tree is measured
    // before it is ever laid out or painted.
    WaitForWorkers(*fixture.tree);
    g_fixture = &fixture;
    // Measured before the benchmarks, which leave the heap as no user's session does.
    qsizetype nodes = 0;
    for (int i = 0; i < fixture.tree->topLevelItemCount(); ++i)
        nodes += CountNodes(fixture.tree->topLevelItem(i));
    const double resident = ResidentMegabytes();

    FastestReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    const auto load = reporter.times.find("BM_SelectionLoad");
    struct Ratio {
        const char* rebuild;
        const char* floor;
        const char* format;
    };
    const Ratio ratios[] = {
        {"BM_StartupRebuild", "BM_BareEnumeration",
         "start-up rebuild/enumeration ratio: %.2f real time, %.2f CPU time (target at most "
         "1.25)\n"},
        {"BM_Rebuild", "BM_BareEnumeration",
         "rebuild over a full tree/enumeration ratio: %.2f real time, %.2f CPU time\n"},
    };
    for (const Ratio& ratio : ratios) {
        const auto rebuild = reporter.times.find(ratio.rebuild);
        const auto floor = reporter.times.find(ratio.floor);
        if (floor != reporter.times.end() && rebuild != reporter.times.end())
            std::printf(ratio.format, rebuild->second.realNs / floor->second.realNs,
                        rebuild->second.cpuNs / floor->second.cpuNs);
    }
    std::printf("listing threads: one per workshop, the interface thread listing none\n");
    std::printf("resident memory with %lld nodes shown: %.1f MB (target under 80 MB)\n",
                static_cast<long long>(nodes), resident);
    if (load != reporter.times.end())
        std::printf("selection load: %.1f us real time, %.1f us CPU time (target under 1000 us)\n",
                    load->second.realNs / 1e3, load->second.cpuNs / 1e3);
    return 0;
}
