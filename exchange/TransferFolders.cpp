#include "exchange/TransferFolders.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace TransferFolders {

namespace {

bool syncPath(const QString& path, bool wholeFileSystem)
{
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return false;
    // File systems that cannot sync a folder say so with EINVAL; the entry is then as
    // durable as they allow.
    const int rc = wholeFileSystem ? ::syncfs(fd) : ::fsync(fd);
    const bool synced = rc == 0 || (!wholeFileSystem && (errno == EINVAL || errno == ENOTSUP));
    const bool closed = ::close(fd) == 0;
    return synced && closed;
}

} // namespace

Kind KindOf(const QString& path)
{
    struct stat st {};
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
        return Kind::Missing;
    if (S_ISDIR(st.st_mode))
        return Kind::Folder;
    if (S_ISREG(st.st_mode))
        return Kind::File;
    return Kind::Other;
}

bool MakeFolder(const QString& path)
{
    if (KindOf(path) == Kind::Missing) {
        if (::mkdir(QFile::encodeName(path).constData(), 0777) != 0)
            return false;
        if (!syncPath(QFileInfo(path).absolutePath(), false))
            return false;
    }
    return KindOf(path) == Kind::Folder;
}

bool FlushFileSystem(const QString& path)
{
    return syncPath(path, true);
}

} // namespace TransferFolders
