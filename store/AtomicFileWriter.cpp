#include "store/AtomicFileWriter.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Countdown of the test seam: when it reaches 1 the next low-level write fails.
int g_failCountdown = 0;

// Every byte of a replacement goes through here, so the test seam sees each write.
ssize_t lowLevelWrite(int fd, const char* data, size_t size)
{
    if (g_failCountdown > 0 && --g_failCountdown == 0) {
        errno = ENOSPC;
        return -1;
    }
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

// Makes the rename itself durable. File systems that cannot sync a folder say so with
// EINVAL or ENOTSUP; the rename is then as durable as that file system allows.
bool syncFolder(const QByteArray& folder)
{
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0 || errno == EINVAL || errno == ENOTSUP;
    const bool closed = ::close(fd) == 0;
    return synced && closed;
}

} // namespace

bool AtomicFileWriter::replace(const QString& path, const QByteArray& content)
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
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0)
        return false;

    bool ok = ::fchmod(fd, modeFor(target)) == 0;
    ok = ok && writeAll(fd, content);
    ok = ok && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    ok = ok && ::rename(temp.constData(), target.constData()) == 0;
    if (!ok) {
        ::unlink(temp.constData());
        return false;
    }
    return syncFolder(folder);
}

void AtomicFileWriter::failNthWrite(int n)
{
    g_failCountdown = n > 0 ? n : 0;
}
