#include "lang/LanguagePack.h"

#include "platform/DataFiles.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPixmap>
#include <QResource>
#include <QUiLoader>
#include <QtDebug>

#include <algorithm>

// Menu and toolbar templates are JSON arrays of entries:
//   {"separator": true}
//   {"text": "&File", "items": [ ...entries... ]}                      a popup
//   {"id": 32774, "text": "&Save", "shortcut": "Ctrl+S", "icon": ":/lang/icons/save.png"}
// "shortcut" and "icon" are optional.

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

QList<MenuItemTemplate> parseItems(const QJsonArray& array)
{
    QList<MenuItemTemplate> items;
    for (const QJsonValue& value : array) {
        const QJsonObject object = value.toObject();
        MenuItemTemplate item;
        item.separator = object.value(QLatin1String("separator")).toBool();
        item.commandId = object.value(QLatin1String("id")).toInt();
        item.text = object.value(QLatin1String("text")).toString();
        item.shortcut = object.value(QLatin1String("shortcut")).toString();
        item.icon = object.value(QLatin1String("icon")).toString();
        item.children = parseItems(object.value(QLatin1String("items")).toArray());
        items.append(item);
    }
    return items;
}

QList<MenuItemTemplate> readTemplate(const QString& folder, int id)
{
    const QByteArray json = readResource(QStringLiteral(":/lang/%1/%2.json").arg(folder).arg(id));
    if (json.isEmpty())
        return {};
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !document.isArray()) {
        qCritical() << "language pack:" << folder << id
                    << "is not a JSON array:" << error.errorString();
        return {};
    }
    return parseItems(document.array());
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

QList<MenuItemTemplate> LanguagePack::menu(int id) const
{
    return isLoaded() ? readTemplate(QStringLiteral("menus"), id) : QList<MenuItemTemplate>{};
}

QList<MenuItemTemplate> LanguagePack::toolbar(int id) const
{
    return isLoaded() ? readTemplate(QStringLiteral("toolbars"), id) : QList<MenuItemTemplate>{};
}

QIcon LanguagePack::mainIcon() const
{
    // Pixmaps are read now: a QIcon made from the path would read it lazily, after a
    // language switch may have unregistered the pack.
    QIcon icon;
    if (!isLoaded())
        return icon;
    for (const QString& path : {QStringLiteral(":/lang/icons/velmora.png"),
                                QStringLiteral(":/lang/icons/velmora-24.png")}) {
        const QPixmap pixmap(path);
        if (!pixmap.isNull())
            icon.addPixmap(pixmap);
    }
    return icon;
}

QWidget* LanguagePack::loadDialog(int id, QWidget* parent) const
{
    if (!isLoaded())
        return nullptr;
    QFile file(QStringLiteral(":/lang/dialogs/%1.ui").arg(id));
    if (!file.open(QIODevice::ReadOnly))
        return nullptr;
    QUiLoader loader;
    // The templates hold standard widgets only; no designer plugin may be loaded from them.
    loader.clearPluginPaths();
    QWidget* widget = loader.load(&file, parent);
    if (!widget)
        qCritical() << "language pack: dialog template" << id
                    << "cannot be read:" << loader.errorString();
    return widget;
}

QString Lang(int id)
{
    return LanguagePack::current().string(id);
}
