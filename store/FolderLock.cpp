#include "store/FolderLock.h"

#include "store/WorkshopRegister.h"

#include <QFileInfo>

#include <atomic>

namespace {
std::atomic<int> g_waitMs{FolderLock::kDefaultWaitMs};
const QString kLockSuffix = QStringLiteral(".lock");
} // namespace

QString FolderLock::VehicleLockPath(const QString& vehicleFolder)
{
    const QFileInfo vehicle(vehicleFolder);
    return vehicle.path() + QStringLiteral("/.") + vehicle.fileName() + kLockSuffix;
}

QString FolderLock::WorkshopLockPath(const QString& workshopFolder)
{
    return ExchangeFolderOf(workshopFolder) + u'/' + kLockSuffix;
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

FolderLock::Result FolderLock::Acquire()
{
    if (m_file.tryLock(WaitMs()))
        return Result::Locked;
    if (m_file.error() != QLockFile::LockFailedError)
        return Result::Failed;
    qint64 pid = 0;
    QString host;
    QString program;
    if (m_file.getLockInfo(&pid, &host, &program))
        m_holder =
            host.isEmpty() ? QString::number(pid) : QStringLiteral("%1 (%2)").arg(host).arg(pid);
    return Result::HeldElsewhere;
}
