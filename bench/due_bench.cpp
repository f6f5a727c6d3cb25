// The inspections-due window over a register of 100 and of 10,000 vehicles, every one of
// them due (the longest list): the time the interface thread spends from the command to the
// list shown with its owners and purposes filled in. The owners are read on a worker, whose
// time is not the interface's, so the figure is the interface thread's own CPU time.

#include "bench/FastestReporter.h"
#include "lang/LanguagePack.h"
#include "reports/DueListModel.h"
#include "reports/cDueListDlg.h"
#include "store/WorkshopRegister.h"

#include <QApplication>
#include <QDate>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <string>

namespace {

// Workshops of 500 vehicles, each with five calibration days, the latest three years ago.
WorkshopRegister MakeRegister(int vehicles, const QString& root)
{
    WorkshopRegister reg;
    const QDate latest = QDate::currentDate().addYears(-3);
    for (int w = 0; w * 500 < vehicles; ++w) {
        WorkshopEntry workshop;
        workshop.folderPath = root + QStringLiteral("/workshop%1").arg(w);
        for (int v = w * 500; v < std::min(vehicles, (w + 1) * 500); ++v) {
            VehicleEntry vehicle;
            vehicle.name = QStringLiteral("A%1BC77").arg(v, 5, 10, QLatin1Char('0'));
            for (int d = 4; d >= 0; --d) {
                const QDate day = latest.addMonths(-6 * d).addDays(v % 28);
                vehicle.dates.push_back({nullptr, day.toString(QStringLiteral("yyyyMMdd"))});
            }
            workshop.vehicles.push_back(std::move(vehicle));
        }
        reg.entries().push_back(std::move(workshop));
    }
    return reg;
}

double ThreadSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

void BM_DueList(benchmark::State& state)
{
    const int vehicles = static_cast<int>(state.range(0));
    const QTemporaryDir root;
    const WorkshopRegister reg = MakeRegister(vehicles, root.path());
    cDueListDlg window(reg, nullptr);
    window.show();
    QCoreApplication::processEvents();
    for (auto _ : state) {
        QSignalSpy read(&window, &cDueListDlg::detailsRead);
        const double start = ThreadSeconds();
        window.Reload();
        QCoreApplication::processEvents();
        double spent = ThreadSeconds() - start;
        // Waiting for the worker is not interface time; handling its result is.
        read.wait(10000);
        const double delivered = ThreadSeconds();
        QCoreApplication::processEvents();
        spent += ThreadSeconds() - delivered;
        state.SetIterationTime(spent);
        if (window.model()->rowCount() != vehicles)
            state.SkipWithError("not every vehicle was listed");
    }
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    LanguagePack::current().load(QStringLiteral("Velmora_ru"));

    for (const int vehicles : {100, 10000}) {
        benchmark::RegisterBenchmark(("due_list_" + std::to_string(vehicles)).c_str(), BM_DueList)
            ->Arg(vehicles)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond)
            ->Iterations(5)
            ->Repetitions(5);
    }
    FastestReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    const auto ms = [&reporter](const char* name) {
        const auto it = reporter.times.find(name);
        return it == reporter.times.end() ? -1.0 : it->second.realNs / 1e6;
    };
    std::printf("\ndue list at 100 vehicles: %.1f ms\n", ms("due_list_100"));
    std::printf("due list at 10000 vehicles: %.1f ms (target at most 50)\n", ms("due_list_10000"));
    return 0;
}
