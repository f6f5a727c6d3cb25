#include "lang/PackResources.h"

#include "lang/LanguagePack.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPixmap>
#include <QUiLoader>
#include <QtDebug>

// Menu and toolbar templates are JSON arrays of entries:
//   {"separator": true}
//   {"text": "&File", "items": [ ...entries... ]}                      a popup
//   {"id": 32774, "text": "&Save", "shortcut": "Ctrl+S", "icon": ":/lang/icons/save.png"}
// "shortcut" and "icon" are optional.

namespace {

QList<MenuItemTemplate> parseItems(const QJsonArray& array)
{
    QList<MenuItemTemplate> items;
    for (const auto& value : array) {
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
    if (!LanguagePack::current().isLoaded())
        return {};
    QFile file(QStringLiteral(":/lang/%1/%2.json").arg(folder).arg(id));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray json = file.readAll();
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

QList<MenuItemTemplate> PackResources::menu(int id)
{
    return readTemplate(QStringLiteral("menus"), id);
}

QList<MenuItemTemplate> PackResources::toolbar(int id)
{
    return readTemplate(QStringLiteral("toolbars"), id);
}

QIcon PackResources::mainIcon()
{
    // Pixmaps are read now: a QIcon made from the path would read it lazily, after a
    // language switch may have unregistered the pack.
    QIcon icon;
    if (!LanguagePack::current().isLoaded())
        return icon;
    for (const QString& path : {QStringLiteral(":/lang/icons/velmora.png"),
                                QStringLiteral(":/lang/icons/velmora-24.png")}) {
        const QPixmap pixmap(path);
        if (!pixmap.isNull())
            icon.addPixmap(pixmap);
    }
    return icon;
}

QWidget* PackResources::loadDialog(int id, QWidget* parent)
{
    if (!LanguagePack::current().isLoaded())
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
