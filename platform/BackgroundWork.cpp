#include "platform/BackgroundWork.h"

#include <QEventLoop>
#include <QPointer>
#include <QProgressDialog>
#include <QTimer>

#include <memory>
#include <thread>

namespace {
int g_running = 0;
} // namespace

namespace BackgroundWork {

void Run(QWidget* parent, const QString& waitingFor, const std::function<void()>& work)
{
    ++g_running;
    QEventLoop loop;
    // The loop is gone by the time a late signal could reach it: the thread is joined first.
    std::thread worker([&] {
        work();
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });

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
    showTimer.start(kShownAfterMs);
    // Until the progress shows, clicks and keys wait in the queue instead of starting
    // another command in the middle of this one.
    if (loop.exec(QEventLoop::ExcludeUserInputEvents) == 1)
        loop.exec();
    worker.join();
    --g_running;
}

bool Busy()
{
    return g_running > 0;
}

} // namespace BackgroundWork
