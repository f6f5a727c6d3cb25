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

bool CreateFolder(const QString& path)
{
    return AtomicFileWriter::createFolder(path);
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
