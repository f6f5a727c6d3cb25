#include "store/DataFolder.h"

#include "store/FolderOps.h"

#include <QDir>
#include <QStandardPaths>

namespace {
// Makes the missing levels of `folder`, outermost first: the user's own data location may
// not exist yet on a fresh account.
void ensureFolderPath(const QString& folder)
{
    QStringList missing;
    for (QString level = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
         !QFileInfo::exists(level) && level != QFileInfo(level).path();
         level = QFileInfo(level).path())
        missing.prepend(level);
    for (const QString& level : missing)
        EnsureFolder(level);
}
} // namespace

QString GetDataFolder()
{
    const QString configured = qEnvironmentVariable("VELMORA_DATA_DIR");
    const QString folder =
        !configured.isEmpty()
            ? QDir::cleanPath(configured)
            : QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                  QStringLiteral("/Ondrix/Velmora");
    ensureFolderPath(folder);
    return folder;
}
