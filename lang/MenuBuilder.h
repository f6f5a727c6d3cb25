#pragma once

#include <functional>

class QMenu;
class QMenuBar;
class QToolBar;
class QAction;
class QObject;
class QWidget;

// Turns the pack's menu and toolbar templates into Qt menus and toolbars. Every action
// carries its command id as its data and calls `onCommand` with it when triggered.
class MenuBuilder {
public:
    using CommandSink = std::function<void(int commandId)>;

    // Replaces the menu bar's content with menu template `id`.
    static void fillMenuBar(QMenuBar* bar, int id, const CommandSink& onCommand);
    // A popup menu from the first popup of menu template `id` (the context menus); the
    // caller owns it. Never null: empty when the template has no popup.
    static QMenu* popupMenu(int id, QWidget* parent, const CommandSink& onCommand);
    // Replaces the toolbar's buttons with toolbar template `id`.
    static void fillToolBar(QToolBar* bar, int id, const CommandSink& onCommand);

    static int commandOf(const QAction* action);
};
