#include "exchange/TransferFolders.h"

#include "store/AtomicFileWriter.h"

#include <QFile>

#include <cerrno>
#include <cstring>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace TransferFolders {

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

Listing ListEntries(const QString& folder)
{
    Listing listing;
    DIR* dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return listing;
    while (const dirent* entry = ::readdir(dir)) {
        const QByteArray raw(entry->d_name);
        if (raw == "." || raw == "..")
            continue;
        const QString name = QFile::decodeName(raw);
        if (QFile::encodeName(name) == raw) {
            listing.names << name;
            continue;
        }
        QString shown;
        for (const char byte : raw) {
            const auto code = static_cast<unsigned char>(byte);
            shown += code < 0x80 ? QString(QChar(code))
                                 : QStringLiteral("\\x") + QString::number(code, 16).toUpper();
        }
        listing.undecodable << shown;
    }
    ::closedir(dir);
    listing.names.sort();
    listing.undecodable.sort();
    return listing;
}

void NoteFolderNotMade(const QString& folder, int error, TransferReport& report)
{
    switch (KindOf(folder)) {
    case Kind::Other:
        if (!report.skipped.contains(folder))
            report.skipped << folder;
        return;
    case Kind::File:
        error = ENOTDIR;
        break;
    default:
        break;
    }
    const QString entry = WithReason(folder, error);
    if (!report.foldersNotCreated.contains(entry))
        report.foldersNotCreated << entry;
}

QString WithReason(const QString& path, int error)
{
    return path + QStringLiteral(" \u2014 ") + QString::fromLocal8Bit(std::strerror(error));
}

} // namespace TransferFolders
