#include "store/DataFolder.h"

#include <QDir>
#include <QStandardPaths>

namespace {
void createIfMissing(const QString& folder)
{
    if (!QFileInfo::exists(folder))
        QDir().mkdir(folder);
}
} // namespace

QString GetDataFolder()
{
    const QString configured = qEnvironmentVariable("VELMORA_DATA_DIR");
    if (!configured.isEmpty()) {
        QString folder = QDir::cleanPath(configured);
        createIfMissing(QFileInfo(folder).absolutePath());
        createIfMissing(folder);
        return folder;
    }
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    // The user's own data location may not exist yet on a fresh account.
    QDir().mkpath(base);
    const QString maker = base + QStringLiteral("/Ondrix");
    createIfMissing(maker);
    QString folder = maker + QStringLiteral("/Velmora");
    createIfMissing(folder);
    return folder;
}
