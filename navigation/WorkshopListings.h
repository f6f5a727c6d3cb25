#pragma once

#include "navigation/BranchReader.h"
#include "store/WorkshopRecord.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QSet>
#include <QString>

#include <functional>
#include <optional>

// What a worker read of one workshop folder: its branch and its details record, when that
// could be read whole.
struct WorkshopReading {
    BranchListing branch;
    std::optional<WorkshopRecord> record;
};

// What reading a workshop folder found: the reading, or the system's words for why there is
// none.
struct WorkshopReadOutcome {
    QString error;
    WorkshopReading reading;
};

// Reads the workshop registered as `folder`: its branch as ListBranch() lists it for
// `vehicle` and `known`, and its details. Touches files only, so it may run on any thread.
WorkshopReadOutcome ReadWorkshopFolder(const QString& folder,
                                       const std::optional<QString>& vehicle = std::nullopt,
                                       const QSet<QString>& known = {});

// Reads workshop folders on worker threads, so that a folder on a slow or silent file server
// never holds up the window. Each request for a folder has a generation number; a reading
// that a newer request of its folder made stale is dropped when it arrives, never waited for.
// A reading that has not arrived within TimeoutMs() makes its folder unreachable; should it
// arrive later, still the newest, it is delivered all the same. A folder that does not answer
// ties up at most kMaxWorkersPerFolder threads: newer requests wait for one of them to come
// back instead of starting more.
class WorkshopListings : public QObject {
    Q_OBJECT
public:
    explicit WorkshopListings(QObject* parent = nullptr);
    ~WorkshopListings() override;

    // Starts reading `folder` (a workshop folder) on a worker.
    void Request(const QString& folder);
    // Whether a reading of any folder is awaited.
    bool AnyPending() const { return !m_pending.isEmpty(); }
    // `folder` with its links resolved, as its first reading found it: tells two register paths
    // of one folder apart without touching the disk. Empty until then.
    QString ResolvedPath(const QString& folder) const { return m_resolved.value(folder); }

    static int TimeoutMs();
    static void SetTimeoutMs(int ms);
    static constexpr int kDefaultTimeoutMs = 10000;
    static constexpr int kMaxWorkersPerFolder = 2;
    // Test seam: runs in the worker after the folder was read, before the reading is handed
    // back (a test holds it there to play a slow server).
    static void SetAfterListing(std::function<void(const QString& folder)> hook);

signals:
    void listed(const QString& folder, const WorkshopReading& reading);
    // `reason`: the system's words for the error, or empty when no answer came in time.
    void unreachable(const QString& folder, const QString& reason);

private:
    struct FolderState {
        quint64 newest = 0;  // generation of the newest request
        quint64 started = 0; // newest generation a worker was started for
        int workers = 0;     // workers that have not come back
    };
    // At most RunningCap() quick workers at a time; the other requests wait in m_queue.
    static int RunningCap();
    void Schedule(const QString& folder);
    void StartQueued();
    void FreeSlot(quint64 worker);
    void Start(const QString& folder);
    void Arrived(const QString& folder, quint64 generation, const WorkshopReadOutcome& outcome);
    void TimedOut(const QString& folder, quint64 generation);

    QHash<QString, FolderState> m_folders;
    QHash<QString, quint64> m_pending;  // folder -> generation awaited
    QHash<QString, QString> m_resolved; // folder -> its path with links resolved
    QList<QString> m_queue;
    QSet<quint64> m_counted; // workers that still count against the cap
    quint64 m_lastWorker = 0;
    int m_running = 0;
    static constexpr int kSlowAfterMs = 200;
};
