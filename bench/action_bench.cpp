// The actions that end in a tree update (save, new vehicle, delete of a vehicle or a day,
// import, removing a workshop), each timed at 60 and at 60,000 folders. An action that
// touches one workshop should cost about the same at both sizes; the run prints each
// action's ratio (60,000 / 60) and the difference in milliseconds. The save is also set
// against its three file writes alone, timed the same way, so the work beyond the writes
// shows.

#include "bench/BenchData.h"
#include "bench/FastestReporter.h"
#include "exchange/CalibrationImport.h"
#include "exchange/CalibrationSaver.h"
#include "lang/LanguagePack.h"
#include "navigation/NodeDeletion.h"
#include "navigation/RemoveWorkshopByItem.h"
#include "navigation/cNewCarDlg.h"
#include "navigation/cTree.h"
#include "params/CurrentCalibration.h"
#include "params/cTDGrid.h"
#include "platform/Prompts.h"
#include "store/AtomicFileGroup.h"
#include "store/FolderOps.h"
#include "store/RecordFile.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

// One data folder with its register, grid and tree. Every action works in the middle
// workshop, on its middle vehicle.
struct Scene {
    Scene(int workshops, int vehicles, int days) : data(workshops, vehicles, days) {}

    bool open()
    {
        if (!data.make())
            return false;
        data.registerWorkshops(reg);
        grid = std::make_unique<cTDGrid>(current);
        grid->resize(500, 800);
        grid->show();
        grid->SetupRows();
        tree = std::make_unique<cTree>(reg, current);
        tree->setGrid(grid.get());
        tree->resize(300, 800);
        tree->show();
        tree->OnInitialUpdate();
        settle();
        const WorkshopEntry& entry = reg.entries()[std::size_t(workshopIndex())];
        vehicle = entry.vehicles[entry.vehicles.size() / 2].node->text(0);
        return true;
    }

    int workshopIndex() const { return int(reg.entries().size()) / 2; }
    QString workshopFolder() const
    {
        return reg.entries()[std::size_t(workshopIndex())].folderPath;
    }
    QString vehicleName() const { return vehicle; }
    // Until the tree's workers have brought what it asked for: the branches, a selection.
    void settle() const
    {
        while (tree->Reading())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    }
    QString vehicleFolder() const
    {
        return ExchangeFolderOf(workshopFolder()) + u'/' + vehicleName();
    }
    TreeNode findNode(TreeNode parent, const QString& text) const
    {
        for (int i = 0; parent && i < parent->childCount(); ++i) {
            if (parent->child(i)->text(0) == text)
                return parent->child(i);
        }
        return nullptr;
    }
    TreeNode vehicleNode() const
    {
        return findNode(reg.entries()[std::size_t(workshopIndex())].node, vehicleName());
    }

    BenchData data;
    WorkshopRegister reg;
    CurrentCalibration current;
    std::unique_ptr<cTDGrid> grid;
    std::unique_ptr<cTree> tree;
    QString vehicle;
};

std::vector<Scene*> g_scenes;

// Removes today's calibration of the vehicle when this run made it, so the data folder and
// the tree stay as they were made.
class TodayCleanup {
public:
    explicit TodayCleanup(Scene& scene)
        : m_scene(scene), m_folder(scene.vehicleFolder() + u'/' + TodayStamp()),
          m_existed(QDir(m_folder).exists())
    {
    }
    ~TodayCleanup()
    {
        if (!m_existed)
            DeleteFolderTree(m_folder);
        m_scene.tree->RefreshVehicle(m_scene.workshopFolder(), m_scene.vehicleName());
        m_scene.settle();
    }

private:
    Scene& m_scene;
    QString m_folder;
    bool m_existed;
};

void Save(benchmark::State& state, Scene& scene)
{
    const TodayCleanup cleanup(scene);
    // Selecting the vehicle loads its last calibration, which names it.
    scene.tree->SelectNode(scene.vehicleNode());
    scene.settle();
    for (auto _ : state) {
        if (!SaveCalibration(scene.reg, *scene.tree, *scene.grid, nullptr)) {
            std::fprintf(stderr, "%s\n", qPrintable(Prompts::takeShownTexts().join(u'\n')));
            state.SkipWithError("the save failed");
            break;
        }
    }
}

// The save's three files written the same way, into a day of their own so the vehicle's
// last calibration stays the one the save bench loads.
void ThreeWrites(benchmark::State& state, Scene& scene)
{
    const QString day = scene.vehicleFolder() + QStringLiteral("/20991229");
    EnsureFolder(day);
    const std::array<std::uint8_t, RecordSize::Param> param{};
    const std::array<std::uint8_t, RecordSize::Gsm> gsm{};
    const std::array<std::uint8_t, RecordSize::Owner> owner{};
    for (auto _ : state) {
        AtomicFileGroup files;
        files.add(day + u'/' + kParamFileName, RecordFileContent(param));
        files.add(day + u'/' + kGsmFileName, RecordFileContent(gsm));
        files.add(day + u'/' + kOwnerFileName, RecordFileContent(owner));
        if (!files.commit().ok) {
            state.SkipWithError("the writes failed");
            break;
        }
    }
    DeleteFolderTree(day);
}

void NewVehicle(benchmark::State& state, Scene& scene)
{
    const QString number = QStringLiteral("ZZ999");
    const QString folder = ExchangeFolderOf(scene.workshopFolder()) + u'/' + number;
    for (auto _ : state) {
        state.PauseTiming();
        cNewCarDlg dialog(scene.reg, *scene.tree);
        dialog.findChild<QComboBox*>()->setCurrentIndex(scene.workshopIndex());
        dialog.findChild<QLineEdit*>()->setText(number);
        state.ResumeTiming();
        dialog.accept();
        state.PauseTiming();
        DeleteFolderTree(folder);
        scene.tree->RefreshVehicle(scene.workshopFolder(), number);
        state.ResumeTiming();
    }
}

void DeleteVehicle(benchmark::State& state, Scene& scene)
{
    const QString number = QStringLiteral("ZZ998");
    const QString folder = ExchangeFolderOf(scene.workshopFolder()) + u'/' + number;
    for (auto _ : state) {
        state.PauseTiming();
        EnsureFolder(folder);
        EnsureFolder(folder + QStringLiteral("/20240101"));
        scene.tree->RefreshVehicle(scene.workshopFolder(), number);
        scene.tree->SelectNode(
            scene.findNode(scene.reg.entries()[std::size_t(scene.workshopIndex())].node, number));
        scene.settle();
        Prompts::pushAnswer(Prompts::Answer::Yes);
        state.ResumeTiming();
        DeleteSelectedNode(scene.reg, *scene.tree, nullptr);
    }
}

void DeleteDay(benchmark::State& state, Scene& scene)
{
    const QString day = QStringLiteral("20991231");
    for (auto _ : state) {
        state.PauseTiming();
        EnsureFolder(scene.vehicleFolder() + u'/' + day);
        scene.tree->RefreshVehicle(scene.workshopFolder(), scene.vehicleName());
        scene.tree->SelectNode(scene.findNode(scene.vehicleNode(), day));
        scene.settle();
        Prompts::pushAnswer(Prompts::Answer::Yes);
        state.ResumeTiming();
        DeleteSelectedNode(scene.reg, *scene.tree, nullptr);
    }
}

// One calibration of the middle vehicle brought back from a drive.
void Import(benchmark::State& state, Scene& scene)
{
    QTemporaryDir drive;
    const QString source = drive.filePath(QStringLiteral("RX902"));
    const QString day = QStringLiteral("20991230");
    const QString sourceDay = source + u'/' + scene.vehicleName() + u'/' + day;
    QDir().mkpath(sourceDay);
    const std::array<std::uint8_t, RecordSize::Param> param{};
    WriteRecordFile(sourceDay + u'/' + kParamFileName, param);
    const QString destination = ExchangeFolderOf(scene.workshopFolder());
    for (auto _ : state) {
        const TransferReport report = CalibrationImport(source, destination).run();
        benchmark::DoNotOptimize(report);
        scene.tree->RefreshWorkshop(scene.workshopFolder());
    }
    DeleteFolderTree(scene.vehicleFolder() + u'/' + day);
    scene.tree->RefreshVehicle(scene.workshopFolder(), scene.vehicleName());
}

// A workshop folder with no exchange folder, registered last and then taken away again.
void RemoveWorkshop(benchmark::State& state, Scene& scene)
{
    QTemporaryDir extra;
    for (auto _ : state) {
        state.PauseTiming();
        WorkshopEntry entry;
        entry.folderPath = extra.path();
        scene.reg.entries().push_back(std::move(entry));
        scene.tree->RefreshWorkshop(extra.path());
        const TreeNode node = scene.reg.entries().back().node;
        state.ResumeTiming();
        RemoveWorkshopByItem(scene.reg, *scene.tree, node, nullptr);
    }
}

using Action = void (*)(benchmark::State&, Scene&);
struct ActionBench {
    const char* name;
    Action run;
    // Set when the untimed part of an iteration is a whole rebuild: the count is then fixed
    // rather than grown until the timed part fills the minimum time.
    int iterations = 0;
};
const ActionBench kActions[] = {
    {"save", Save},
    {"three_writes", ThreeWrites},
    {"new_vehicle", NewVehicle},
    {"delete_vehicle", DeleteVehicle},
    {"delete_day", DeleteDay},
    {"import", Import},
    {"remove_workshop", RemoveWorkshop, 10},
};

std::string Name(const char* action, const Scene& scene)
{
    return std::string(action) + '/' + std::to_string(scene.data.folderCount());
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Removing a workshop saves the register; it goes to a data folder of the run's own.
    QTemporaryDir dataFolder;
    qputenv("VELMORA_DATA_DIR", QFile::encodeName(dataFolder.path()));
    QApplication app(argc, argv);
    LanguagePack::current().load(QStringLiteral("Velmora_ru"));
    Prompts::setSilent(true);

    Scene small(2, 5, 5);
    Scene large(20, 500, 5);
    for (Scene* scene : {&small, &large}) {
        if (!scene->open()) {
            std::fprintf(stderr, "Could not make the data folder %s\n",
                         qPrintable(scene->data.root()));
            return 1;
        }
    }
    for (const ActionBench& action : kActions) {
        for (Scene* scene : {&small, &large}) {
            auto* bench = benchmark::RegisterBenchmark(
                Name(action.name, *scene).c_str(),
                [run = action.run, scene](benchmark::State& state) { run(state, *scene); });
            bench->Unit(benchmark::kMicrosecond)->Repetitions(5);
            if (action.iterations > 0)
                bench->Iterations(action.iterations);
            else
                bench->MinTime(0.3);
        }
    }

    FastestReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    const auto time = [&](const char* action, const Scene& scene) {
        const auto it = reporter.times.find(Name(action, scene));
        return it == reporter.times.end() ? -1.0 : it->second.realNs / 1e3;
    };
    std::printf("\n%-16s %12s %12s %8s %12s\n", "action", "60 (us)", "60000 (us)", "ratio",
                "extra (ms)");
    for (const ActionBench& action : kActions) {
        const double at60 = time(action.name, small);
        const double at60000 = time(action.name, large);
        if (at60 > 0 && at60000 > 0)
            std::printf("%-16s %12.1f %12.1f %8.2f %12.2f\n", action.name, at60, at60000,
                        at60000 / at60, (at60000 - at60) / 1e3);
    }
    for (const Scene* scene : {&small, &large}) {
        const double save = time("save", *scene);
        const double writes = time("three_writes", *scene);
        if (save > 0 && writes > 0)
            std::printf("save beyond its three writes at %d folders: %.2f ms (target at most 20)\n",
                        scene->data.folderCount(), (save - writes) / 1e3);
    }
    return 0;
}
