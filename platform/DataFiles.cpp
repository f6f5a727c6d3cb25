#include "platform/DataFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

QStringList DataFiles::folders()
{
    const QDir exeDir(QCoreApplication::applicationDirPath());
    return {exeDir.absolutePath(),
            QDir::cleanPath(exeDir.absoluteFilePath(QStringLiteral("../share/velmora")))};
}

QString DataFiles::locate(const QString& fileName)
{
    for (const QString& folder : folders()) {
        const QFileInfo info(QDir(folder).filePath(fileName));
        if (info.isFile())
            return info.absoluteFilePath();
    }
    return {};
}
