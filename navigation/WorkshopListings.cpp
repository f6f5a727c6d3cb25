#include "navigation/WorkshopListings.h"

#include "platform/OffThread.h"
#include "store/RecordFile.h"
#include "store/WorkshopRegister.h"

#include <QFile>
#include <QFileInfo>
#include <QTimer>

#include <atomic>
#include <memory>

#include <cerrno>
#include <cstring>
#include <dirent.h>

namespace {
std::atomic<int> g_timeoutMs{WorkshopListings::kDefaultTimeoutMs};
std::function<void(const QString&)> g_afterListing;

} // namespace

WorkshopReadOutcome ReadWorkshopFolder(const QString& folder, const std::optional<QString>& vehicle,
                                       const QSet<QString>& known)
{
    WorkshopReadOutcome outcome;
    // The exchange folder is opened first to tell an error from an empty workshop.
    const QByteArray exchange = QFile::encodeName(ExchangeFolderOf(folder));
    DIR* dir = ::opendir(exchange.constData());
    if (!dir) {
        outcome.error = QString::fromLocal8Bit(std::strerror(errno));
        return outcome;
    }
    ::closedir(dir);
    outcome.reading.branch = ListBranch(folder, vehicle, known);
    outcome.reading.canonicalFolder = QFileInfo(folder).canonicalFilePath();
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
    if (state.workers < kMaxWorkersPerFolder)
        Start(folder, generation);
    QTimer::singleShot(TimeoutMs(), this,
                       [this, folder, generation] { TimedOut(folder, generation); });
}

void WorkshopListings::Start(const QString& folder, quint64 generation)
{
    FolderState& state = m_folders[folder];
    ++state.workers;
    state.started = generation;
    auto outcome = std::make_shared<WorkshopReadOutcome>();
    OffThread::Run(
        this,
        [outcome, folder, after = g_afterListing] {
            *outcome = ReadWorkshopFolder(folder);
            if (after)
                after(folder);
        },
        [this, outcome, folder, generation] { Arrived(folder, generation, *outcome); });
}

void WorkshopListings::Arrived(const QString& folder, quint64 generation, const WorkshopReadOutcome& outcome)
{
    FolderState& state = m_folders[folder];
    --state.workers;
    // A newer request of the same folder is on its way: this one tells nothing new. The newer
    // one may have been waiting for this worker to come back.
    if (state.newest != generation) {
        if (state.started != state.newest && m_pending.contains(folder))
            Start(folder, state.newest);
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
