#include "store/AtomicFileWriter.h"

#include <QFile>
#include <QFileInfo>
#include <QtDebug>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The test seam's state: a countdown over every fallible step, one over writes only, and
// the count of steps taken.
int g_stepCountdown = 0;
int g_writeCountdown = 0;
int g_stepsTaken = 0;
bool g_shortWrites = false;

// True when the seam makes this step fail; errno is then set as a full disk would.
bool injectedFault()
{
    ++g_stepsTaken;
    if (g_stepCountdown > 0 && --g_stepCountdown == 0) {
        errno = ENOSPC;
        return true;
    }
    return false;
}

ssize_t lowLevelWrite(int fd, const char* data, size_t size)
{
    if (injectedFault() || (g_writeCountdown > 0 && --g_writeCountdown == 0)) {
        errno = ENOSPC;
        return -1;
    }
    if (g_shortWrites && size > 1)
        size /= 2;
    return ::write(fd, data, size);
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

// Makes a rename durable. File systems that cannot sync a folder say so with EINVAL or
// ENOTSUP; the rename is then as durable as that file system allows.
void syncFolder(const QByteArray& folder)
{
    const int fd =
        injectedFault() ? -1 : ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        qWarning("file writer: folder %s cannot be opened to flush it: %s", folder.constData(),
                 std::strerror(errno));
        return;
    }
    const bool synced =
        !injectedFault() && (::fsync(fd) == 0 || errno == EINVAL || errno == ENOTSUP);
    if (!synced)
        qWarning("file writer: folder %s cannot be flushed: %s", folder.constData(),
                 std::strerror(errno));
    ::close(fd);
}

} // namespace

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
    const int fd = injectedFault() ? -1 : ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0)
        return false;

    bool ok = !injectedFault() && ::fchmod(fd, modeFor(target)) == 0;
    ok = ok && writeAll(fd, content);
    ok = ok && !injectedFault() && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    ok = !injectedFault() && closed && ok;
    if (!ok) {
        ::unlink(temp.constData());
        return false;
    }
    prepared = {temp, target, folder};
    return true;
}

bool AtomicFileWriter::commit(const Prepared& prepared)
{
    if (injectedFault() || ::rename(prepared.temp.constData(), prepared.target.constData()) != 0) {
        discard(prepared);
        return false;
    }
    syncFolder(prepared.folder);
    return true;
}

void AtomicFileWriter::discard(const Prepared& prepared)
{
    ::unlink(prepared.temp.constData());
}

bool AtomicFileWriter::replace(const QString& path, const QByteArray& content)
{
    Prepared prepared;
    return prepare(path, content, prepared) && commit(prepared);
}

void AtomicFileWriter::failAtStep(int n)
{
    g_stepCountdown = n > 0 ? n : 0;
    g_stepsTaken = 0;
}

int AtomicFileWriter::stepsTaken()
{
    return g_stepsTaken;
}

void AtomicFileWriter::failNthWrite(int n)
{
    g_writeCountdown = n > 0 ? n : 0;
}

void AtomicFileWriter::setShortWrites(bool on)
{
    g_shortWrites = on;
}
