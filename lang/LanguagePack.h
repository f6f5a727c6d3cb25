#pragma once

#include <QHash>
#include <QIcon>
#include <QList>
#include <QString>
#include <QStringList>

class QWidget;

// One entry of a menu or toolbar template. A popup has children; a separator has neither
// a command nor children; a command entry carries its command id.
struct MenuItemTemplate {
    int commandId = 0;
    QString text;
    QString shortcut; // QKeySequence portable text, e.g. "Ctrl+S"
    QString icon;     // resource path inside the pack, e.g. ":/lang/icons/save.png"
    bool separator = false;
    QList<MenuItemTemplate> children;
};

// A language pack is a binary Qt resource file (Velmora_ru.rcc, Velmora_en.rcc) holding
// the string table, menus, toolbars, dialog templates and the main icon of one language.
// Exactly one pack is registered at a time; everything is looked up by numeric id.
//
// Inside a pack, under the resource root ":/lang":
//   strings.json            {"<id>": "<text>", ...}
//   menus/<id>.json         [{"text": ..., "items": [...]} (popup), {"id": <command>,
//                            "text": ..., "shortcut": ..., "icon": ...}, {"separator": true}]
//   toolbars/<id>.json      [{"id": <command>, "text": ..., "icon": ...} or {"separator": true}]
//   dialogs/<id>.ui         Qt Designer form; control ids are object names "id<number>"
//   icons/velmora.png       main icon
class LanguagePack {
public:
    static LanguagePack& current();

    // Folders searched for "<name>.rcc", in order. Default: the executable's folder, then
    // the installed data folder ../share/velmora beside it.
    static void setSearchPaths(const QStringList& folders);
    static QStringList searchPaths();

    // Unregisters the loaded pack, then registers "<name>.rcc" (name like "Velmora_en").
    // False when no such pack was found or it could not be registered; no pack is loaded then.
    bool load(const QString& name);
    void unload();
    bool isLoaded() const { return !m_loadedFile.isEmpty(); }
    QString loadedName() const { return m_loadedName; }

    // Empty when the id has no text (or no pack is loaded).
    QString string(int id) const;
    // Every string id the pack defines.
    QList<int> stringIds() const;
    QList<MenuItemTemplate> menu(int id) const;
    QList<MenuItemTemplate> toolbar(int id) const;
    QIcon mainIcon() const;
    // Creates the widget of dialog template `id` as a child of `parent`; null when missing.
    QWidget* loadDialog(int id, QWidget* parent) const;

private:
    void readStrings() const;

    QString m_loadedName;
    QString m_loadedFile;
    mutable QHash<int, QString> m_strings;
    mutable bool m_stringsRead = false;
};

// Shorthand for LanguagePack::current().string(id).
QString Lang(int id);
