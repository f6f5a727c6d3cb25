#include "platform/HelpOpener.h"

#include "platform/DataFiles.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>

namespace {
const QString kHelpFile = QStringLiteral("vmhelp.html");
QString g_startFolder;
QString g_section;
QList<QUrl>* g_recorder = nullptr;
} // namespace

void HelpOpener::setStartFolder(const QString& folder)
{
    g_startFolder = folder;
}

QString HelpOpener::startFolder()
{
    return g_startFolder;
}

void HelpOpener::setSection(const QString& section)
{
    g_section = section;
}

QUrl HelpOpener::helpUrl()
{
    QStringList candidates;
    if (!g_startFolder.isEmpty())
        candidates << QDir(g_startFolder).filePath(kHelpFile);
    const QString installed = DataFiles::locate(kHelpFile);
    if (!installed.isEmpty())
        candidates << installed;
    for (const QString& candidate : candidates) {
        if (QFileInfo(candidate).isFile()) {
            QUrl url = QUrl::fromLocalFile(QFileInfo(candidate).absoluteFilePath());
            if (!g_section.isEmpty())
                url.setFragment(g_section);
            return url;
        }
    }
    return {};
}

bool HelpOpener::open()
{
    const QUrl url = helpUrl();
    if (url.isEmpty())
        return false;
    if (g_recorder) {
        g_recorder->append(url);
        return true;
    }
    return QDesktopServices::openUrl(url);
}

void HelpOpener::setRecorder(QList<QUrl>* opened)
{
    g_recorder = opened;
}
