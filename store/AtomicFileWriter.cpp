#include "store/AtomicFileWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtDebug>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

using FaultPoint = AtomicFileWriter::FaultPoint;

// The test seam's state: a countdown over the steps of one kind (or of all), one over
// writes only, a kind whose every step fails, the kinds of the steps taken, and whether
// writes are cut short.
struct FaultSeam {
    FaultPoint point = FaultPoint::Any;
    FaultPoint always = FaultPoint::Any;
    int stepCountdown = 0;
    int writeCountdown = 0;
    QList<FaultPoint> stepKinds;
    bool counting = false; // from the first failAt on: the program itself keeps no list
    bool shortWrites = false;
    std::function<void(FaultPoint)> hook;
};
FaultSeam g_seam;

// Counts one step; true when the seam makes it fail, with errno set as a full disk would.
bool injectedFault(FaultPoint point)
{
    if (g_seam.counting)
        g_seam.stepKinds.append(point);
    if (g_seam.always != FaultPoint::Any && g_seam.always == point) {
        errno = ENOSPC;
        return true;
    }
    if (g_seam.stepCountdown <= 0 || (g_seam.point != FaultPoint::Any && g_seam.point != point))
        return false;
    if (--g_seam.stepCountdown != 0)
        return false;
    errno = ENOSPC;
    return true;
}

// Every system call that can fail while a file is replaced or a folder made goes through
// here: it counts as one step of the seam and is made unless the seam fails it (then -1
// with errno set). A call dropped from the writer drops its step too, so the tests that
// count the positions notice a missing flush. A descriptor is released even when the seam
// fails its close.
template <typename Call> auto step(FaultPoint point, Call call) -> decltype(call())
{
    if (g_seam.hook)
        g_seam.hook(point);
    if (!injectedFault(point))
        return call();
    if (point == FaultPoint::Close)
        call();
    errno = ENOSPC;
    return -1;
}

ssize_t lowLevelWrite(int fd, const char* data, size_t size)
{
    if (g_seam.writeCountdown > 0 && --g_seam.writeCountdown == 0) {
        errno = ENOSPC;
        return -1;
    }
    if (g_seam.shortWrites && size > 1)
        size /= 2;
    return step(FaultPoint::Write, [&] { return ::write(fd, data, size); });
}

bool writeAll(int fd, const QByteArray& content)
{
    const char* data = content.constData();
    size_t left = static_cast<size_t>(content.size());
    while (left > 0) {
        const ssize_t written = lowLevelWrite(fd, data, left);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (written == 0)
            return false;
        data += written;
        left -= static_cast<size_t>(written);
    }
    return true;
}

// The mode the replacement gets: that of the file it replaces, or what a plain create
// would give under the current umask. The program is single-threaded, so reading the
// umask by setting it back at once races with nothing.
mode_t modeFor(const QByteArray& target)
{
    struct stat st {};
    if (::stat(target.constData(), &st) == 0 && S_ISREG(st.st_mode))
        return st.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// Makes a rename or a new folder durable. File systems that cannot sync a folder say so
// with EINVAL or ENOTSUP; the change is then as durable as that file system allows.
void syncFolder(const QByteArray& folder)
{
    const int fd = step(FaultPoint::OpenFolder, [&] {
        return ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    });
    if (fd < 0) {
        qWarning("file writer: folder %s cannot be opened to flush it: %s", folder.constData(),
                 std::strerror(errno));
        return;
    }
    const bool synced = step(FaultPoint::SyncFolder, [&] { return ::fsync(fd); }) == 0 ||
                        errno == EINVAL || errno == ENOTSUP;
    if (!synced)
        qWarning("file writer: folder %s cannot be flushed: %s", folder.constData(),
                 std::strerror(errno));
    ::close(fd);
}

// A temporary file that cannot be removed is hidden by its leading full stop and harms
// nothing; it is logged so that it can be found.
void removeTemporary(const QByteArray& temp)
{
    if (step(FaultPoint::RemoveTemporary, [&] { return ::unlink(temp.constData()); }) != 0)
        qWarning("file writer: temporary file %s cannot be removed: %s", temp.constData(),
                 std::strerror(errno));
}

} // namespace

bool AtomicFileWriter::flushFileSystem(const QString& path)
{
    const QByteArray folder = QFile::encodeName(path);
    const int fd = step(FaultPoint::OpenFolder, [&] {
        return ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOFOLLOW);
    });
    if (fd < 0)
        return false;
    const bool synced = step(FaultPoint::SyncFileSystem, [&] { return ::syncfs(fd); }) == 0;
    const bool closed = ::close(fd) == 0;
    return synced && closed;
}

bool AtomicFileWriter::prepare(const QString& path, const QByteArray& content, Prepared& prepared)
{
    // A symbolic link stays a link: the file it points to is what gets replaced.
    QFileInfo info(path);
    if (info.isSymLink())
        info = QFileInfo(info.symLinkTarget());
    if (info.fileName().isEmpty())
        return false;
    const QByteArray target = QFile::encodeName(info.absoluteFilePath());
    const QByteArray folder = QFile::encodeName(info.absolutePath());

    // An existing file that its owner made unwritable is not replaced behind their back.
    if (info.exists() && ::access(target.constData(), W_OK) != 0)
        return false;

    // The leading full stop hides the temporary file from every folder listing.
    QByteArray temp = folder + "/." + QFile::encodeName(info.fileName()) + ".XXXXXX";
    const int fd =
        step(FaultPoint::CreateTemporary, [&] { return ::mkostemp(temp.data(), O_CLOEXEC); });
    if (fd < 0)
        return false;

    bool ok = step(FaultPoint::ChangeMode, [&] { return ::fchmod(fd, modeFor(target)); }) == 0;
    ok = ok && writeAll(fd, content);
    ok = ok && step(FaultPoint::SyncFile, [&] { return ::fsync(fd); }) == 0;
    ok = step(FaultPoint::Close, [&] { return ::close(fd); }) == 0 && ok;
    if (!ok) {
        removeTemporary(temp);
        return false;
    }
    prepared = {temp, target, folder};
    return true;
}

bool AtomicFileWriter::commit(const Prepared& prepared)
{
    if (step(FaultPoint::Rename, [&] {
            return ::rename(prepared.temp.constData(), prepared.target.constData());
        }) != 0) {
        discard(prepared);
        return false;
    }
    syncFolder(prepared.folder);
    return true;
}

void AtomicFileWriter::discard(const Prepared& prepared)
{
    removeTemporary(prepared.temp);
}

bool AtomicFileWriter::replace(const QString& path, const QByteArray& content)
{
    Prepared prepared;
    return prepare(path, content, prepared) && commit(prepared);
}

bool AtomicFileWriter::createFolder(const QString& path, unsigned mode)
{
    if (path.isEmpty())
        return false;
    const QFileInfo info(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
    const QByteArray folder = QFile::encodeName(info.filePath());
    if (step(FaultPoint::CreateFolder,
             [&] { return ::mkdir(folder.constData(), static_cast<mode_t>(mode)); }) != 0)
        return false;
    syncFolder(QFile::encodeName(info.absolutePath()));
    return true;
}

bool AtomicFileWriter::remove(const QString& path)
{
    if (path.isEmpty())
        return false;
    const QFileInfo info(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
    const QByteArray name = QFile::encodeName(info.filePath());
    const bool folder = info.isDir() && !info.isSymLink();
    if (step(FaultPoint::Remove,
             [&] { return folder ? ::rmdir(name.constData()) : ::unlink(name.constData()); }) != 0)
        return false;
    syncFolder(QFile::encodeName(info.absolutePath()));
    return true;
}

void AtomicFileWriter::failAt(FaultPoint point, int n)
{
    g_seam.point = point;
    g_seam.stepCountdown = n > 0 ? n : 0;
    g_seam.stepKinds.clear();
    g_seam.counting = true;
}

void AtomicFileWriter::failEvery(FaultPoint point)
{
    g_seam.always = point;
}

int AtomicFileWriter::stepsTaken()
{
    return static_cast<int>(g_seam.stepKinds.size());
}

QList<AtomicFileWriter::FaultPoint> AtomicFileWriter::stepKinds()
{
    return g_seam.stepKinds;
}

void AtomicFileWriter::failNthWrite(int n)
{
    g_seam.writeCountdown = n > 0 ? n : 0;
}

void AtomicFileWriter::setShortWrites(bool on)
{
    g_seam.shortWrites = on;
}

void AtomicFileWriter::setStepHook(std::function<void(FaultPoint)> hook)
{
    g_seam.hook = std::move(hook);
}
