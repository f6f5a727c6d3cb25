#pragma once

#include "navigation/BranchReader.h"

#include <QHash>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <memory>

// Lists workshop folders on worker threads, so that a folder on a slow or silent file server
// never holds up the window. Each request for a folder has a generation number; a listing
// that a newer request of its folder made stale is dropped when it arrives, never waited for.
// A listing that has not arrived within TimeoutMs() makes its folder unreachable; should it
// arrive later, still the newest, it is delivered all the same.
class WorkshopListings : public QObject {
    Q_OBJECT
public:
    explicit WorkshopListings(QObject* parent = nullptr);
    ~WorkshopListings() override;

    // Starts listing `folder` (a workshop folder) on a worker.
    void Request(const QString& folder);
    // Whether a listing of `folder` is awaited.
    bool Pending(const QString& folder) const { return m_pending.contains(folder); }
    bool AnyPending() const { return !m_pending.isEmpty(); }
    // Waits, without an event loop, up to `ms` for the awaited listings, delivering each as it
    // arrives; returns early when none is awaited any more.
    void WaitFor(int ms);

    static int TimeoutMs();
    static void SetTimeoutMs(int ms);
    static constexpr int kDefaultTimeoutMs = 10000;
    // Test seam: runs in the worker after the folder was listed, before the listing is handed
    // back (a test holds it there to play a slow server).
    static void SetAfterListing(std::function<void(const QString& folder)> hook);

signals:
    void listed(const QString& folder, const BranchListing& listing);
    // `reason`: the system's words for the error, or empty when no answer came in time.
    void unreachable(const QString& folder, const QString& reason);

private:
    struct Shared;
    void Deliver();
    void TimedOut(const QString& folder, quint64 generation);

    std::shared_ptr<Shared> m_shared;
    QHash<QString, quint64> m_generation; // newest request per folder
    QHash<QString, quint64> m_pending;    // folder -> generation awaited
};
