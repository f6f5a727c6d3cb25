#include "store/FolderLock.h"

#include "store/CalibrationPlace.h"
#include "store/WorkshopRegister.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSysInfo>
#include <QThread>

#include <algorithm>
#include <atomic>

namespace {
std::atomic<int> g_waitMs{FolderLock::kDefaultWaitMs};
const QString kLockSuffix = QStringLiteral(".lock");
constexpr int kRetryMinMs = 10;
constexpr int kRetryMaxMs = 40;
constexpr int kRemoveTries = 100;
} // namespace

QString FolderLock::VehicleLockPath(const QString& vehicleFolder)
{
    const QFileInfo vehicle(vehicleFolder);
    return vehicle.path() + QStringLiteral("/.") + vehicle.fileName() + kLockSuffix;
}

QString FolderLock::WorkshopLockPath(const QString& workshopFolder)
{
    return JoinPath(ExchangeFolderOf(workshopFolder), kLockSuffix);
}

bool FolderLock::IsLockFileName(const QString& name)
{
    return name.startsWith(u'.') && name.endsWith(kLockSuffix);
}

int FolderLock::WaitMs()
{
    return g_waitMs.load();
}

void FolderLock::SetWaitMs(int ms)
{
    g_waitMs.store(ms);
}

FolderLock::FolderLock(const QString& lockPath) : m_path(lockPath), m_file(lockPath)
{
    m_file.setStaleLockTime(kStaleMs);
}

FolderLock::~FolderLock()
{
    if (!m_file.isLocked())
        return;
    m_file.unlock();
    // Through a FUSE client of a network share the close of the lock file may reach the
    // server after its removal, which the server refuses while the file is open: the removal
    // is tried again for a moment, as long as the file still names this process.
    for (int i = 0; i < kRemoveTries && QFileInfo::exists(m_path); ++i) {
        qint64 pid = 0;
        QString host;
        QString program;
        if (!m_file.getLockInfo(&pid, &host, &program) ||
            pid != QCoreApplication::applicationPid() || host != QSysInfo::machineHostName())
            return;
        QThread::msleep(kRetryMinMs);
        QFile::remove(m_path);
    }
}

FolderLock::Result FolderLock::Acquire()
{
    // Tried again every few tens of milliseconds, at random, rather than with the lock file's
    // own doubling pauses: another workstation that saves often must not keep this one out
    // for the whole wait, and two that wait must not keep trying in step.
    const QDeadlineTimer deadline(WaitMs());
    while (!m_file.tryLock(0)) {
        if (m_file.error() != QLockFile::LockFailedError)
            return Result::Failed;
        if (deadline.hasExpired()) {
            qint64 pid = 0;
            QString host;
            QString program;
            if (m_file.getLockInfo(&pid, &host, &program))
                m_holder = host.isEmpty() ? QString::number(pid)
                                          : QStringLiteral("%1 (%2)").arg(host).arg(pid);
            return Result::HeldElsewhere;
        }
        const qint64 pause =
            std::min<qint64>(deadline.remainingTime(),
                             QRandomGenerator::global()->bounded(kRetryMinMs, kRetryMaxMs));
        QThread::msleep(static_cast<unsigned long>(pause));
    }
    return Result::Locked;
}
