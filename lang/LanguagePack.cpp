#include "lang/LanguagePack.h"

#include "platform/DataFiles.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QResource>

#include <algorithm>

namespace {

const QString kMapRoot = QStringLiteral("/lang");
const QString kStringsFile = QStringLiteral(":/lang/strings.json");

QStringList& configuredSearchPaths()
{
    static QStringList paths;
    return paths;
}

QByteArray readResource(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

} // namespace

LanguagePack& LanguagePack::current()
{
    static LanguagePack pack;
    return pack;
}

void LanguagePack::setSearchPaths(const QStringList& folders)
{
    configuredSearchPaths() = folders;
}

QStringList LanguagePack::searchPaths()
{
    if (!configuredSearchPaths().isEmpty())
        return configuredSearchPaths();
    return DataFiles::folders();
}

bool LanguagePack::load(const QString& name)
{
    unload();
    for (const QString& folder : searchPaths()) {
        const QString file = QDir(folder).filePath(name + QStringLiteral(".rcc"));
        if (!QFile::exists(file) || !QResource::registerResource(file, kMapRoot))
            continue;
        // A file of the right name that is not a pack (no string table) is skipped, so a
        // stray file in the first folder does not hide the installed pack.
        if (!QFile::exists(kStringsFile)) {
            QResource::unregisterResource(file, kMapRoot);
            continue;
        }
        m_loadedFile = file;
        m_loadedName = name;
        return true;
    }
    return false;
}

void LanguagePack::unload()
{
    if (!m_loadedFile.isEmpty())
        QResource::unregisterResource(m_loadedFile, kMapRoot);
    m_loadedFile.clear();
    m_loadedName.clear();
    m_strings.clear();
    m_stringsRead = false;
}

void LanguagePack::readStrings() const
{
    if (m_stringsRead || !isLoaded())
        return;
    m_stringsRead = true;
    const QJsonObject table = QJsonDocument::fromJson(readResource(kStringsFile)).object();
    for (auto it = table.begin(); it != table.end(); ++it) {
        bool ok = false;
        const int key = it.key().toInt(&ok);
        if (ok)
            m_strings.insert(key, it.value().toString());
    }
}

QString LanguagePack::string(int id) const
{
    readStrings();
    return m_strings.value(id);
}

QList<int> LanguagePack::stringIds() const
{
    readStrings();
    QList<int> ids = m_strings.keys();
    std::sort(ids.begin(), ids.end());
    return ids;
}

QString Lang(int id)
{
    return LanguagePack::current().string(id);
}
