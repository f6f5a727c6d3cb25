#include "platform/BackgroundWork.h"

#include <QEventLoop>
#include <QPointer>
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
constexpr int kPollMs = 50;
// What WaitUntil() waits for is done on this thread, so looking is all it can do.
constexpr int kUntilPollMs = 5;
} // namespace

namespace BackgroundWork {

namespace {

// Handles events until `isDone`, first without user input, then, once the wait has taken
// longer than kShownAfterMs less `waited`, under a modal progress that says what it waits for.
// `loop` is quit by whoever finishes the wait; `isDone` is looked at now and then as well.
void WaitWithProgress(QEventLoop& loop, QWidget* parent, const QString& waitingFor,
                      const std::function<bool()>& isDone, int waitedMs, int pollMs)
{
    std::unique_ptr<QProgressDialog> progress;
    QTimer showTimer;
    showTimer.setSingleShot(true);
    QObject::connect(&showTimer, &QTimer::timeout, &loop, [&] {
        progress = std::make_unique<QProgressDialog>(waitingFor, QString(), 0, 0, parent);
        progress->setWindowModality(Qt::ApplicationModal);
        progress->setMinimumDuration(0);
        progress->show();
        // From here the modal progress keeps input from the windows behind it.
        loop.exit(1);
    });
    // A wake-up of the loop can be lost (in a forked child, whose event pipe the parent
    // shares); looking now and then ends the wait all the same.
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (isDone())
            loop.quit();
    });
    poll.start(pollMs);
    showTimer.start(std::max(0, kShownAfterMs - waitedMs));
    // Until the progress shows, clicks and keys wait in the queue instead of starting
    // another command in the middle of this one.
    if (!isDone() && loop.exec(QEventLoop::ExcludeUserInputEvents) == 1 && !isDone())
        loop.exec();
}

} // namespace

void Run(QWidget* parent, const QString& waitingFor, const std::function<void()>& work)
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
        WaitWithProgress(loop, parent, waitingFor, isDone, int(kQuickMs.count()), kPollMs);
    worker.join();
    --g_running;
}

void WaitUntil(QWidget* parent, const QString& waitingFor, const std::function<bool()>& finished)
{
    if (finished())
        return;
    ++g_running;
    QEventLoop loop;
    WaitWithProgress(loop, parent, waitingFor, finished, 0, kUntilPollMs);
    --g_running;
}

bool Busy()
{
    return g_running > 0;
}

} // namespace BackgroundWork
