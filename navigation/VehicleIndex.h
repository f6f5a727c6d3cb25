#pragma once

#include "navigation/FindText.h"

#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <stop_token>
#include <thread>

// The find keys of every vehicle of the registered workshops, read from the record files on
// a worker thread, so the interface never waits on the disk for them: at start-up the tree
// shows at once and the keys follow. Every read that changed a workshop's folders (save,
// import, delete, refresh) asks for that workshop or vehicle again; the answers come back
// in the order asked, by queued call, and each one announces itself with updated().
class VehicleIndex : public QObject {
    Q_OBJECT
public:
    explicit VehicleIndex(QObject* parent = nullptr);
    ~VehicleIndex() override;

    // Reads every one of these workshops afresh; what is known of others is forgotten.
    void readAll(const QStringList& workshopFolders);
    // Reads one workshop's vehicles again, or only `vehicle` when one is named.
    void read(const QString& workshopFolder, const QString& vehicle = QString());
    // Forgets the workshops that are not among these, without reading anything.
    void retain(const QStringList& workshopFolders);

    // The keys of a vehicle; null while it has not been read (or is gone).
    const FindKeys* keysOf(const QString& workshopFolder, const QString& vehicle) const;
    // Whether every read asked for has been answered.
    bool isCurrent() const { return m_pending == 0; }

    // The keys of the vehicle in that folder, from its owner record and the parameter record
    // of its latest day; the folder's name is the number. Reads files, so any thread.
    static FindKeys readVehicle(const QString& vehicleFolder);

signals:
    void updated();

private:
    struct Request {
        QString workshop;
        QString vehicle; // empty: the whole workshop
    };
    using VehicleKeys = QHash<QString, FindKeys>;

    void enqueue(Request request);
    void work(const std::stop_token& stop);
    void apply(const Request& request, const VehicleKeys& keys);

    QHash<QString, VehicleKeys> m_keys; // by workshop folder, then by vehicle folder name
    int m_pending = 0;

    std::mutex m_mutex;
    std::condition_variable_any m_wake;
    std::deque<Request> m_requests; // guarded by m_mutex
    // Last, so it stops before the rest goes.
    std::jthread m_worker;
};
