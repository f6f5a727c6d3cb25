#include "navigation/WorkshopName.h"

#include <QFileInfo>

QString WorkshopDisplayName(const WorkshopEntry& entry)
{
    const QString name = entry.record.field(WorkshopRecord::Field::Name).trimmed();
    if (!name.isEmpty())
        return name;
    const QString folder = QFileInfo(entry.folderPath).fileName();
    return folder.isEmpty() ? entry.folderPath : folder;
}
