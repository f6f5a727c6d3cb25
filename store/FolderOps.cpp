#include "store/FolderOps.h"

#include "store/AtomicFileWriter.h"

#include <QDate>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <filesystem>
#include <system_error>

bool PathExists(const QString& path)
{
    return !path.isEmpty() && QFileInfo::exists(path);
}

bool EnsureFolder(const QString& path, bool* made, FolderLinks links, unsigned mode)
{
    const auto isFolder = [&path, links] {
        const QFileInfo info(path);
        return info.isDir() && (links == FolderLinks::Follow || !info.isSymLink());
    };
    bool created = false;
    int error = 0;
    if (!path.isEmpty() && !QFileInfo(path).exists() && !QFileInfo(path).isSymLink()) {
        created = AtomicFileWriter::createFolder(path, mode);
        error = errno;
    }
    if (made)
        *made = created;
    if (!path.isEmpty() && isFolder())
        return true;
    // The caller names the system's reason for the failed mkdir.
    errno = created || error == 0 ? EEXIST : error;
    return false;
}

int DeleteFolderTree(const QString& path)
{
    if (path.isEmpty())
        return ENOENT;
    const std::filesystem::path target(QFile::encodeName(path).toStdString());
    std::error_code error;
    // A link counts as present too: removing it removes the link, never what it points to.
    if (!std::filesystem::exists(std::filesystem::symlink_status(target, error)))
        return ENOENT;
    std::filesystem::remove_all(target, error);
    if (error)
        return error.value() != 0 ? error.value() : EIO;
    return 0;
}

QString TodayStamp()
{
    return QDate::currentDate().toString(QStringLiteral("yyyyMMdd"));
}
