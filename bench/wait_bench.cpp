// How long the window waits on a slow workshop folder. A shim loaded with LD_PRELOAD adds a
// fixed delay to every file system call under one workshop's folder (20 workshops, one of
// them slow); the start-up, a selection in the slow workshop, a save into it and a refresh
// are timed at 0 and at 100 ms per call, each with the longest gap of a 10 ms timer on the
// interface thread. Each delay runs in a child process of its own, started by this program.
//
// "Shown" is when the window first shows the outcome of the action: the window with its
// workshop nodes, the day in the grid, the save's progress (file work on a slow folder takes
// as long as its calls do, and the window says what it waits for), the workshops marked as
// being read again. The
// time until the action is over is printed beside it. The start-up's gap is measured from the
// window shown until the slow workshop's branch is: before the window there is no interface.
// The first selection, in a workshop that is not slowed, is timed apart from the four.
#include "app/CMainFrame.h"
#include "app/CVelmoraApp.h"
#include "bench/BenchData.h"
#include "lang/MenuBuilder.h"
#include "lang/ResourceIds.h"
#include "navigation/TreeNodes.h"
#include "navigation/cTree.h"
#include "params/CurrentCalibration.h"
#include "params/FieldText.h"
#include "platform/Prompts.h"
#include "store/WorkshopRegister.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QMenuBar>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kWorkshops = 20;
constexpr int kSlowWorkshop = 7;
constexpr int kTickMs = 10;
constexpr int kSettleMs = 200;
constexpr int kBranchWaitMs = 60000;
const int kDelays[] = {0, 100};

// The longest time between two ticks of a 10 ms timer since the last reset.
class GapMeter : public QObject {
public:
    GapMeter()
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        connect(&m_timer, &QTimer::timeout, this,
                [this] { m_longest = std::max(m_longest, m_sinceTick.restart()); });
        m_timer.start(kTickMs);
        reset();
    }
    void reset()
    {
        m_sinceTick.start();
        m_longest = 0;
    }
    qint64 longest() const { return std::max(m_longest, m_sinceTick.elapsed()); }

private:
    QTimer m_timer;
    QElapsedTimer m_sinceTick;
    qint64 m_longest = 0;
};

void settle()
{
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < kSettleMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, kTickMs);
}

QAction* menuAction(CMainFrame* frame, int command)
{
    for (QAction* action : frame->menuBar()->findChildren<QAction*>()) {
        if (MenuBuilder::commandOf(action) == command)
            return action;
    }
    return nullptr;
}

// Handles events until `done`, or for a minute at most.
template <typename Done> void waitFor(Done done)
{
    QElapsedTimer waited;
    waited.start();
    while (!done() && waited.elapsed() < kBranchWaitMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
}

// One delay: prints "<action> <ms until shown> <longest gap ms> <ms until over>" for each
// action.
int RunActions(int argc, char** argv)
{
    QApplication application(argc, argv);
    Prompts::setSilent(true);
    GapMeter gaps;
    QElapsedTimer clock;
    qint64 shownMs = -1;
    // The first time a window of the program's shows up after the clock started.
    QTimer lookForWindow;
    QObject::connect(&lookForWindow, &QTimer::timeout, [&] {
        if (shownMs < 0 && QApplication::activeModalWidget())
            shownMs = clock.elapsed();
    });
    lookForWindow.start(1);
    const auto report = [&](const char* action, qint64 overMs) {
        settle();
        std::printf("%s %lld %lld %lld\n", action,
                    static_cast<long long>(shownMs < 0 ? overMs : std::min(shownMs, overMs)),
                    static_cast<long long>(gaps.longest()), static_cast<long long>(overMs));
        std::fflush(stdout);
    };
    const auto start = [&] {
        shownMs = -1;
        gaps.reset();
        clock.restart();
    };

    clock.start();
    CVelmoraApp app;
    if (!app.InitInstance())
        return 1;
    CMainFrame* frame = app.mainWindow();
    const qint64 windowShown = clock.elapsed();
    cTree* tree = frame->tree();
    QTreeWidgetItem* slow = tree->topLevelItem(kSlowWorkshop);
    // The slow workshop's branch is on its way; the user clicks once it is shown.
    gaps.reset();
    waitFor([slow] { return !slow || slow->childCount() > 0; });
    const qint64 branchShown = clock.elapsed();
    shownMs = windowShown;
    report("start-up", branchShown);
    std::printf("branch %lld %lld %lld\n", static_cast<long long>(branchShown), 0LL, 0LL);
    QTreeWidgetItem* day = slow && slow->childCount() > 0 ? slow->child(0)->child(0) : nullptr;
    QTreeWidgetItem* fast = tree->topLevelItem(0);
    if (!day || !fast || fast->childCount() == 0)
        return 1;

    // The first calibration the window shows costs its first drawing of the values, whatever
    // the disk: it is timed on its own, in a workshop that is not slowed.
    start();
    tree->SelectNode(fast->child(0)->child(0));
    waitFor([tree] { return !tree->Reading(); });
    report("first", clock.elapsed());

    start();
    tree->SelectNode(day);
    waitFor([tree] { return !tree->Reading(); });
    report("selection", clock.elapsed());

    start();
    menuAction(frame, CommandId::SaveCalibration)->trigger();
    waitFor([tree] { return !tree->Reading(); });
    report("save", clock.elapsed());

    start();
    menuAction(frame, CommandId::Refresh)->trigger();
    // The slow workshop shows at once that it is being read again.
    if (slow->data(0, kWorkshopMarkRole).toInt() == WorkshopMark::Reading)
        shownMs = clock.elapsed();
    waitFor([tree] { return !tree->Reading(); });
    report("refresh", clock.elapsed());
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && qstrcmp(argv[1], "--actions") == 0)
        return RunActions(argc, argv);

    QCoreApplication application(argc, argv);
    const BenchData data(kWorkshops, 10, 3);
    if (!data.make())
        return 1;
    const QString shim =
        QCoreApplication::applicationDirPath() + QStringLiteral("/libvelmora_delay_shim.so");
    qint64 worstGap = 0;
    qint64 worstShown = 0;
    qint64 worstOver = 0;
    for (const int delay : kDelays) {
        QTemporaryDir dataDir;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("VELMORA_DATA_DIR"), dataDir.path());
        {
            qputenv("VELMORA_DATA_DIR", dataDir.path().toUtf8());
            WorkshopRegister reg;
            data.registerWorkshops(reg);
            if (!reg.save(WorkshopRegister::serviceFilePath()))
                return 1;
        }
        environment.insert(QStringLiteral("LD_PRELOAD"), shim);
        environment.insert(QStringLiteral("VELMORA_DELAY_PATH"),
                           data.workshopFolder(kSlowWorkshop));
        environment.insert(QStringLiteral("VELMORA_DELAY_MS"), QString::number(delay));
        if (!environment.contains(QStringLiteral("QT_QPA_PLATFORM")))
            environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        QProcess child;
        child.setProcessEnvironment(environment);
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--actions")});
        if (!child.waitForFinished(-1) || child.exitCode() != 0) {
            std::fprintf(stderr, "the run at %d ms per call failed\n", delay);
            return 1;
        }
        std::printf("%d ms per call under %s:\n", delay,
                    qPrintable(data.workshopFolder(kSlowWorkshop)));
        for (const QByteArray& line : child.readAllStandardOutput().trimmed().split('\n')) {
            const QList<QByteArray> fields = line.split(' ');
            if (fields.size() != 4)
                continue;
            if (fields[0] == "first") {
                std::printf("  first selection, in a workshop not slowed, shown after %lld ms, "
                            "longest interface gap %lld ms\n",
                            fields[1].toLongLong(), fields[2].toLongLong());
                continue;
            }
            if (fields[0] == "branch") {
                std::printf("  slow workshop's branch shown after %lld ms\n",
                            fields[1].toLongLong());
                continue;
            }
            std::printf("  %-10s shown after %6lld ms, longest interface gap %6lld ms, over "
                        "after %6lld ms\n",
                        fields[0].constData(), fields[1].toLongLong(), fields[2].toLongLong(),
                        fields[3].toLongLong());
            if (delay == 100) {
                worstShown = std::max(worstShown, fields[1].toLongLong());
                worstGap = std::max(worstGap, fields[2].toLongLong());
                worstOver = std::max(worstOver, fields[3].toLongLong());
            }
        }
    }
    std::printf("actions over at 100 ms per call: worst %lld ms (as many calls on the slow folder "
                "as the action needs)\n",
                static_cast<long long>(worstOver));
    std::printf("longest interface gap at 100 ms per call: %lld ms (target under 50)\n",
                static_cast<long long>(worstGap));
    std::printf("window shown at 100 ms per call: %lld ms (target under 1000)\n",
                static_cast<long long>(worstShown));
    return 0;
}
