#include "platform/Trash.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStorageInfo>

#include <sys/stat.h>
#include <unistd.h>

namespace {
// A shared ".Trash" at the top of a file system is only trusted as a real folder with the
// sticky bit, so that no user can take another's files out of it.
bool isSharedTrash(const QString& path)
{
    struct stat info {};
    const QByteArray name = QFile::encodeName(path);
    return ::lstat(name.constData(), &info) == 0 && S_ISDIR(info.st_mode) &&
           (info.st_mode & S_ISVTX) != 0;
}
} // namespace

bool Trash::canTake(const QString& path)
{
    const QStorageInfo storage(path);
    if (!storage.isValid() || storage.isReadOnly())
        return false;
    if (storage == QStorageInfo(QDir::home()))
        return true;
    const QDir top(storage.rootPath());
    const QString uid = QString::number(::getuid());
    if (isSharedTrash(top.filePath(QStringLiteral(".Trash"))))
        return true;
    const QFileInfo own(top.filePath(QStringLiteral(".Trash-") + uid));
    if (own.exists())
        return own.isDir() && !own.isSymLink() && own.isWritable();
    return QFileInfo(top.path()).isWritable();
}

bool Trash::move(const QString& path)
{
    // Qt makes the home trash inside the user's data folder but not that folder itself; without
    // it, it reports success and leaves the item in a "files" folder of the current folder.
    QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
    QFile item(path);
    if (!item.moveToTrash())
        return false;
    if (QFileInfo(item.fileName()).isAbsolute())
        return true;
    // Not in a trash after all: it goes back where it was.
    QDir().rename(item.fileName(), path);
    return false;
}
