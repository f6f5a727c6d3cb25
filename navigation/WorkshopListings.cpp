#include "navigation/WorkshopListings.h"

#include "platform/OffThread.h"
#include "store/RecordFile.h"
#include "store/WorkshopRegister.h"

#include <QFileInfo>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <memory>
#include <thread>

#include <cstring>

namespace {
std::atomic<int> g_timeoutMs{WorkshopListings::kDefaultTimeoutMs};
std::function<void(const QString&)> g_afterListing;

} // namespace

WorkshopReadOutcome ReadWorkshopFolder(const QString& folder, const std::optional<QString>& vehicle,
                                       const QSet<QString>& known)
{
    WorkshopReadOutcome outcome;
    // An exchange folder that cannot be opened is an error, not an empty workshop.
    int error = 0;
    outcome.reading.branch = ListBranch(folder, vehicle, known, &error);
    if (error != 0) {
        outcome.error = QString::fromLocal8Bit(std::strerror(error));
        return outcome;
    }
    WorkshopRecord record;
    if (ReadRecordFile(WorkshopRecordPathOf(folder), record.bytes))
        outcome.reading.record = record;
    return outcome;
}

WorkshopListings::WorkshopListings(QObject* parent) : QObject(parent) {}

WorkshopListings::~WorkshopListings() = default;

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
    FolderState& state = m_folders[folder];
    const quint64 generation = ++state.newest;
    m_pending.insert(folder, generation);
    Schedule(folder);
    QTimer::singleShot(TimeoutMs(), this,
                       [this, folder, generation] { TimedOut(folder, generation); });
}

int WorkshopListings::RunningCap()
{
    // Listing is mostly the kernel's work: as many readers as processors keep them busy, and
    // the readings then come back one after the other, for the interface thread to build
    // each branch while the next folders are read. The count is read from the system on
    // every call, so it is asked once.
    static const int cap = int(std::max(2U, std::thread::hardware_concurrency()));
    return cap;
}

void WorkshopListings::Schedule(const QString& folder)
{
    const FolderState& state = m_folders[folder];
    if (state.started == state.newest || state.workers >= kMaxWorkersPerFolder)
        return;
    if (m_running < RunningCap())
        Start(folder);
    else if (!m_queue.contains(folder))
        m_queue.append(folder);
}

void WorkshopListings::StartQueued()
{
    while (m_running < RunningCap() && !m_queue.isEmpty()) {
        const QString folder = m_queue.takeFirst();
        if (m_pending.contains(folder))
            Schedule(folder);
    }
}

void WorkshopListings::FreeSlot(quint64 worker)
{
    if (m_counted.remove(worker)) {
        --m_running;
        StartQueued();
    }
}

void WorkshopListings::Start(const QString& folder)
{
    FolderState& state = m_folders[folder];
    ++state.workers;
    const quint64 generation = state.newest;
    state.started = generation;
    // A worker counts against the cap while it is quick; one that waits on a slow server
    // leaves its place to the next folder.
    const quint64 worker = ++m_lastWorker;
    m_counted.insert(worker);
    ++m_running;
    QTimer::singleShot(kSlowAfterMs, this, [this, worker] { FreeSlot(worker); });
    auto outcome = std::make_shared<WorkshopReadOutcome>();
    // A folder's resolved path hardly ever changes: it is asked of the disk until known.
    auto resolved = std::make_shared<QString>();
    OffThread::Run(
        this,
        [outcome, resolved, folder, resolve = !m_resolved.contains(folder),
         after = g_afterListing] {
            *outcome = ReadWorkshopFolder(folder);
            if (resolve && outcome->error.isEmpty())
                *resolved = QFileInfo(folder).canonicalFilePath();
            if (after)
                after(folder);
        },
        [this, outcome, resolved, folder, generation, worker] {
            if (!resolved->isEmpty())
                m_resolved.insert(folder, *resolved);
            FreeSlot(worker);
            Arrived(folder, generation, *outcome);
        });
}

void WorkshopListings::Arrived(const QString& folder, quint64 generation,
                               const WorkshopReadOutcome& outcome)
{
    FolderState& state = m_folders[folder];
    --state.workers;
    // A newer request of the same folder is on its way: this one tells nothing new. The newer
    // one may have been waiting for this worker to come back.
    if (state.newest != generation) {
        if (m_pending.contains(folder))
            Schedule(folder);
        return;
    }
    m_pending.remove(folder);
    if (outcome.error.isEmpty())
        emit listed(folder, outcome.reading);
    else
        emit unreachable(folder, outcome.error);
}

void WorkshopListings::TimedOut(const QString& folder, quint64 generation)
{
    if (m_pending.value(folder) == generation && m_folders.value(folder).newest == generation)
        emit unreachable(folder, QString());
}
