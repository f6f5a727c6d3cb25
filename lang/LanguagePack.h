#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

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
//
// This class registers the pack and answers its string table; it needs QtCore only, so the
// records, the save and the reports take their texts from it without the widget stack.
// Menus, toolbars, dialog templates and the icon are read by PackResources.
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

private:
    void readStrings() const;

    QString m_loadedName;
    QString m_loadedFile;
    mutable QHash<int, QString> m_strings;
    mutable bool m_stringsRead = false;
};

// Shorthand for LanguagePack::current().string(id).
QString Lang(int id);
