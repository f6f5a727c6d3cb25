#include "platform/BackgroundWork.h"

#include <QEventLoop>
#include <QProgressDialog>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

namespace {

int g_running = 0;
constexpr std::chrono::milliseconds kQuickMs{20};
// What WaitUntil() waits for is done on this thread, so looking is all it can do.
constexpr int kUntilPollMs = 5;

// How the interface thread shows that it waits: `show` puts up a modal window, `shown` tells
// whether one is up already (it may have shown itself), `update` refreshes it.
struct Waiting {
    std::function<void()> show;
    std::function<bool()> shown;
    std::function<void()> update;
};

// Handles events until `isDone`: first without user input, then, once the wait has taken
// longer than kShownAfterMs less `waitedMs`, with the waiting window shown. Whoever finishes
// the wait may quit `loop`; `isDone` is looked at every `pollMs` as well.
void WaitLoop(QEventLoop& loop, const std::function<bool()>& isDone, const Waiting& waiting,
              int waitedMs, int pollMs)
{
    // Until the progress shows, clicks and keys wait in the queue instead of starting
    // another command in the middle of this one; from then on the modal progress keeps
    // them from the windows behind it.
    bool holdingInput = true;
    const auto letInput = [&] {
        if (holdingInput) {
            holdingInput = false;
            loop.exit(1);
        }
    };
    QTimer showTimer;
    showTimer.setSingleShot(true);
    QObject::connect(&showTimer, &QTimer::timeout, &loop, [&] {
        // The window comes up with the latest count, not that of a while ago.
        if (waiting.update)
            waiting.update();
        waiting.show();
        letInput();
    });
    // A wake-up of the loop can be lost (in a forked child, whose event pipe the parent
    // shares); looking now and then ends the wait all the same.
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (waiting.update)
            waiting.update();
        if (isDone())
            loop.quit();
        else if (waiting.shown && waiting.shown())
            letInput();
    });
    poll.start(pollMs);
    showTimer.start(std::max(0, BackgroundWork::kShownAfterMs - waitedMs));
    if (!isDone() && loop.exec(QEventLoop::ExcludeUserInputEvents) == 1 && !isDone())
        loop.exec();
}

void WaitFor(const std::function<void()>& work, const Waiting& waiting)
{
    ++g_running;
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    QEventLoop loop;
    // The loop outlives every signal the worker sends: the thread is joined before it goes.
    std::thread worker([&] {
        work();
        {
            const std::lock_guard lock(mutex);
            done = true;
        }
        finished.notify_all();
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    const auto isDone = [&] {
        const std::lock_guard lock(mutex);
        return done;
    };

    // Work on a disk that answers at once ends within a frame: the window need not notice.
    bool quick = false;
    {
        std::unique_lock lock(mutex);
        quick = finished.wait_for(lock, kQuickMs, [&] { return done; });
    }
    if (!quick)
        WaitLoop(loop, isDone, waiting, int(kQuickMs.count()), BackgroundWork::kUpdateMs);
    worker.join();
    --g_running;
}

// The waiting window of Run() and WaitUntil(): a modal progress that says what it waits for.
Waiting WaitingMessage(std::unique_ptr<QProgressDialog>& progress, QWidget* parent,
                       const QString& waitingFor)
{
    return {[&progress, parent, waitingFor] {
                progress = std::make_unique<QProgressDialog>(waitingFor, QString(), 0, 0, parent);
                progress->setWindowModality(Qt::ApplicationModal);
                progress->setMinimumDuration(0);
                progress->show();
            },
            {},
            {}};
}

} // namespace

namespace BackgroundWork {

void Run(QWidget* parent, const QString& waitingFor, const std::function<void()>& work)
{
    std::unique_ptr<QProgressDialog> progress;
    WaitFor(work, WaitingMessage(progress, parent, waitingFor));
}

void WaitUntil(QWidget* parent, const QString& waitingFor, const std::function<bool()>& finished)
{
    if (finished())
        return;
    ++g_running;
    std::unique_ptr<QProgressDialog> progress;
    QEventLoop loop;
    WaitLoop(loop, finished, WaitingMessage(progress, parent, waitingFor), 0, kUntilPollMs);
    --g_running;
}

void RunWithProgress(QWidget& progress, const std::function<void()>& work,
                     const std::function<void()>& update)
{
    progress.setWindowModality(Qt::ApplicationModal);
    WaitFor(work, {[&progress] { progress.show(); }, [&progress] { return progress.isVisible(); },
                   update});
}

bool Busy()
{
    return g_running > 0;
}

} // namespace BackgroundWork
