#pragma once

#include <QLockFile>
#include <QString>

// An exclusive lock of a vehicle folder or of a whole workshop that holds between
// workstations sharing the workshop folder on a file server: a lock file, created
// exclusively beside what it guards, names the host and process holding it. A lock left by
// a process that died on this host is taken over at once; one left by another host is taken
// over once it has not changed for kStaleMs.
//
// The lock files lie in the workshop's exchange folder and are hidden files ("." first), so
// no listing of vehicles or days shows them; transfers skip them by IsLockFileName().
class FolderLock {
public:
    // The lock file of the vehicle folder `<workshop>/RX902/<number>`.
    static QString VehicleLockPath(const QString& vehicleFolder);
    // The lock file of the workshop registered as `workshopFolder`.
    static QString WorkshopLockPath(const QString& workshopFolder);
    // Whether a file of that name is one of these lock files.
    static bool IsLockFileName(const QString& name);

    // How long Acquire() waits for a lock held elsewhere; tests shorten it.
    static int WaitMs();
    static void SetWaitMs(int ms);
    static constexpr int kDefaultWaitMs = 30000;
    // A lock of another host untouched for this long was left by a workstation that stopped.
    static constexpr int kStaleMs = 5 * 60 * 1000;

    enum class Result { Locked, HeldElsewhere, Failed };

    explicit FolderLock(const QString& lockPath);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    // Takes the lock, waiting up to WaitMs() while another process holds it. When it is held
    // elsewhere, Holder() names the workstation; the lock is given up, and its file removed,
    // on destruction.
    Result Acquire();
    QString Holder() const { return m_holder; }
    QString Path() const { return m_path; }

private:
    QString m_path;
    QLockFile m_file;
    QString m_holder;
};
