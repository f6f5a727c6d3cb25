#include "lang/MenuBuilder.h"

#include "lang/PackResources.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QToolBar>

namespace {

QAction* makeAction(const MenuItemTemplate& item, QObject* owner,
                    const MenuBuilder::CommandSink& onCommand)
{
    auto* action = new QAction(item.text, owner);
    action->setData(item.commandId);
    if (!item.shortcut.isEmpty())
        action->setShortcut(QKeySequence(item.shortcut, QKeySequence::PortableText));
    if (!item.icon.isEmpty()) {
        // Read now: the pack that holds the icon may be switched while the action lives.
        const QPixmap pixmap(item.icon);
        if (!pixmap.isNull())
            action->setIcon(QIcon(pixmap));
    }
    const int id = item.commandId;
    QObject::connect(action, &QAction::triggered, action, [onCommand, id] {
        if (onCommand)
            onCommand(id);
    });
    return action;
}

void fillMenu(QMenu* menu, const QList<MenuItemTemplate>& items,
              const MenuBuilder::CommandSink& onCommand, bool popup)
{
    for (const MenuItemTemplate& item : items) {
        if (item.separator) {
            menu->addSeparator();
        } else if (!item.children.isEmpty()) {
            fillMenu(menu->addMenu(item.text), item.children, onCommand, popup);
        } else {
            QAction* action = makeAction(item, menu, onCommand);
            // A context menu's keys work only while it is open, so they never compete
            // with the same keys of the menu bar.
            if (popup)
                action->setShortcutContext(Qt::WidgetShortcut);
            menu->addAction(action);
        }
    }
}

// Deletes what an earlier fill put into the widget, so a refill does not leak.
void removeOwnedActions(QWidget* widget)
{
    const QList<QAction*> actions = widget->actions();
    for (QAction* action : actions) {
        widget->removeAction(action);
        if (QMenu* menu = action->menu(); menu && menu->parent() == widget)
            delete menu;
        else if (action->parent() == widget)
            delete action;
    }
}

} // namespace

void MenuBuilder::fillMenuBar(QMenuBar* bar, int id, const CommandSink& onCommand)
{
    removeOwnedActions(bar);
    for (const MenuItemTemplate& item : PackResources::menu(id)) {
        if (item.separator)
            bar->addSeparator();
        else if (!item.children.isEmpty())
            fillMenu(bar->addMenu(item.text), item.children, onCommand, false);
        else
            bar->addAction(makeAction(item, bar, onCommand));
    }
}

QMenu* MenuBuilder::popupMenu(int id, QWidget* parent, const CommandSink& onCommand)
{
    auto* menu = new QMenu(parent);
    const QList<MenuItemTemplate> items = PackResources::menu(id);
    const auto popup = std::find_if(items.begin(), items.end(), [](const MenuItemTemplate& item) {
        return !item.children.isEmpty();
    });
    if (popup != items.end()) {
        menu->setTitle(popup->text);
        fillMenu(menu, popup->children, onCommand, true);
    }
    return menu;
}

void MenuBuilder::fillToolBar(QToolBar* bar, int id, const CommandSink& onCommand)
{
    removeOwnedActions(bar);
    for (const MenuItemTemplate& item : PackResources::toolbar(id)) {
        if (item.separator)
            bar->addSeparator();
        else
            bar->addAction(makeAction(item, bar, onCommand));
    }
}

int MenuBuilder::commandOf(const QAction* action)
{
    return action ? action->data().toInt() : 0;
}
