#pragma once

#include <QIcon>
#include <QList>
#include <QString>

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

// The parts of the loaded language pack that belong to the interface: menu and toolbar
// templates, dialog templates and the main icon. Each answers empty while no pack is loaded.
class PackResources {
public:
    static QList<MenuItemTemplate> menu(int id);
    static QList<MenuItemTemplate> toolbar(int id);
    static QIcon mainIcon();
    // Creates the widget of dialog template `id` as a child of `parent`; null when missing.
    static QWidget* loadDialog(int id, QWidget* parent);
};
