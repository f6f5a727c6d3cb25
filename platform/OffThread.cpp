#include "platform/OffThread.h"

#include <QCoreApplication>
#include <QObject>
#include <QPointer>

#include <thread>

namespace OffThread {

void Run(QObject* receiver, std::function<void()> work, std::function<void()> done)
{
    // The guard is made here, on the receiver's thread; the worker only carries it across.
    QPointer<QObject> guard(receiver);
    std::thread([work = std::move(work), done = std::move(done), guard]() mutable {
        work();
        // A program already on its way out takes no more answers.
        QCoreApplication* application = QCoreApplication::instance();
        if (!application)
            return;
        QMetaObject::invokeMethod(
            application,
            [done = std::move(done), guard] {
                if (guard)
                    done();
            },
            Qt::QueuedConnection);
    }).detach();
}

} // namespace OffThread
