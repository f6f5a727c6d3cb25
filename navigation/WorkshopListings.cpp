#include "navigation/WorkshopListings.h"

#include "store/WorkshopRegister.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

#include <cerrno>
#include <cstring>
#include <dirent.h>

namespace {
std::atomic<int> g_timeoutMs{WorkshopListings::kDefaultTimeoutMs};
std::function<void(const QString&)> g_afterListing;
} // namespace

struct WorkshopListings::Shared {
    struct Result {
        QString folder;
        quint64 generation = 0;
        QString error;
        BranchListing listing;
    };
    std::mutex mutex;
    std::condition_variable arrived;
    std::deque<Result> done;
    WorkshopListings* owner = nullptr; // used on the interface thread only
};

WorkshopListings::WorkshopListings(QObject* parent)
    : QObject(parent), m_shared(std::make_shared<Shared>())
{
    m_shared->owner = this;
}

WorkshopListings::~WorkshopListings()
{
    // Workers still listing hand their results to a state no one reads any more.
    m_shared->owner = nullptr;
}

int WorkshopListings::TimeoutMs()
{
    return g_timeoutMs.load();
}

void WorkshopListings::SetTimeoutMs(int ms)
{
    g_timeoutMs.store(ms);
}

void WorkshopListings::SetAfterListing(std::function<void(const QString&)> hook)
{
    g_afterListing = std::move(hook);
}

void WorkshopListings::Request(const QString& folder)
{
    const quint64 generation = ++m_generation[folder];
    m_pending.insert(folder, generation);
    const std::weak_ptr<Shared> weak = m_shared;
    const std::function<void(const QString&)> after = g_afterListing;
    std::thread([weak, folder, generation, after] {
        Shared::Result result{folder, generation, {}, {}};
        // The exchange folder is opened first to tell an error from an empty workshop.
        const QByteArray exchange = QFile::encodeName(ExchangeFolderOf(folder));
        if (DIR* dir = ::opendir(exchange.constData())) {
            ::closedir(dir);
            result.listing = ListBranch(folder);
        } else {
            result.error = QString::fromLocal8Bit(std::strerror(errno));
        }
        if (after)
            after(folder);
        const std::shared_ptr<Shared> shared = weak.lock();
        if (!shared)
            return;
        {
            const std::lock_guard lock(shared->mutex);
            shared->done.push_back(std::move(result));
        }
        shared->arrived.notify_all();
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [weak] {
                if (const std::shared_ptr<Shared> alive = weak.lock(); alive && alive->owner)
                    alive->owner->Deliver();
            },
            Qt::QueuedConnection);
    }).detach();
    QTimer::singleShot(TimeoutMs(), this,
                       [this, folder, generation] { TimedOut(folder, generation); });
}

void WorkshopListings::Deliver()
{
    std::deque<Shared::Result> arrived;
    {
        const std::lock_guard lock(m_shared->mutex);
        arrived.swap(m_shared->done);
    }
    for (Shared::Result& result : arrived) {
        // A newer request of the same folder is on its way: this one tells nothing new.
        if (m_generation.value(result.folder) != result.generation)
            continue;
        m_pending.remove(result.folder);
        if (result.error.isEmpty())
            emit listed(result.folder, result.listing);
        else
            emit unreachable(result.folder, result.error);
    }
}

void WorkshopListings::TimedOut(const QString& folder, quint64 generation)
{
    if (m_pending.value(folder) == generation && m_generation.value(folder) == generation)
        emit unreachable(folder, QString());
}

void WorkshopListings::WaitFor(int ms)
{
    const QDeadlineTimer deadline(ms);
    while (!m_pending.isEmpty()) {
        {
            std::unique_lock lock(m_shared->mutex);
            if (m_shared->done.empty() &&
                !m_shared->arrived.wait_for(lock,
                                            std::chrono::milliseconds(deadline.remainingTime()),
                                            [this] { return !m_shared->done.empty(); }))
                return;
        }
        Deliver();
        if (deadline.hasExpired())
            return;
    }
}
