#include "lang/MenuBuilder.h"
#include "lang/ResourceIds.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

#include <gtest/gtest.h>

namespace {

QList<QAction*> commandActions(QWidget* widget)
{
    QList<QAction*> found;
    for (QAction* action : widget->actions()) {
        if (QMenu* menu = action->menu())
            found += commandActions(menu);
        else if (!action->isSeparator())
            found.append(action);
    }
    return found;
}

class MenuBuilding : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(LanguagePack::current().load(QStringLiteral("Velmora_en")));
    }
    void TearDown() override { LanguagePack::current().load(QStringLiteral("Velmora_ru")); }
    QList<int> received;
    MenuBuilder::CommandSink sink = [this](int id) { received.append(id); };
};

TEST_F(MenuBuilding, menuBarActionsCarryAndSendTheirCommands)
{
    QMenuBar bar;
    MenuBuilder::fillMenuBar(&bar, ResourceId::MainMenu, sink);
    EXPECT_EQ(bar.actions().size(), 5);
    const QList<QAction*> actions = commandActions(&bar);
    ASSERT_EQ(actions.size(), 15);
    for (QAction* action : actions) {
        action->trigger();
        ASSERT_FALSE(received.isEmpty());
        EXPECT_EQ(received.last(), MenuBuilder::commandOf(action));
    }
    EXPECT_EQ(received.size(), 15);
    const auto save = std::find_if(actions.begin(), actions.end(), [](QAction* a) {
        return MenuBuilder::commandOf(a) == CommandId::SaveCalibration;
    });
    ASSERT_NE(save, actions.end());
    EXPECT_EQ((*save)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
}

TEST_F(MenuBuilding, refillingReplacesInsteadOfAdding)
{
    QMenuBar bar;
    MenuBuilder::fillMenuBar(&bar, ResourceId::MainMenu, sink);
    const QString englishTitle = bar.actions().first()->text();
    ASSERT_TRUE(LanguagePack::current().load(QStringLiteral("Velmora_ru")));
    MenuBuilder::fillMenuBar(&bar, ResourceId::MainMenu, sink);
    EXPECT_EQ(bar.actions().size(), 5);
    EXPECT_NE(bar.actions().first()->text(), englishTitle);
    EXPECT_EQ(bar.findChildren<QMenu*>().size(), 5) << "menus of the first fill were left behind";
}

TEST_F(MenuBuilding, contextMenuKeysWorkOnlyInsideIt)
{
    QWidget parent;
    std::unique_ptr<QMenu> menu(MenuBuilder::popupMenu(ResourceId::TreeContextMenu, &parent, sink));
    const QList<QAction*> actions = commandActions(menu.get());
    ASSERT_EQ(actions.size(), 7);
    for (QAction* action : actions)
        EXPECT_EQ(action->shortcutContext(), Qt::WidgetShortcut);
    actions.first()->trigger();
    EXPECT_EQ(received, QList<int>{MenuBuilder::commandOf(actions.first())});
}

TEST_F(MenuBuilding, unknownMenuGivesAnEmptyPopup)
{
    std::unique_ptr<QMenu> menu(MenuBuilder::popupMenu(999, nullptr, sink));
    ASSERT_TRUE(menu);
    EXPECT_TRUE(menu->actions().isEmpty());
}

TEST_F(MenuBuilding, toolbarIconsOutliveAPackSwitch)
{
    QToolBar bar;
    MenuBuilder::fillToolBar(&bar, ResourceId::MainToolBar, sink);
    MenuBuilder::fillToolBar(&bar, ResourceId::MainToolBar, sink);
    const QList<QAction*> buttons = commandActions(&bar);
    ASSERT_EQ(buttons.size(), 9);
    EXPECT_EQ(bar.actions().size(), 13) << "9 buttons and 4 separators, once";
    LanguagePack::current().unload();
    for (QAction* button : buttons)
        EXPECT_FALSE(button->icon().pixmap(24).isNull()) << button->text().toStdString();
    buttons.last()->trigger();
    EXPECT_EQ(received, QList<int>{CommandId::OpenHelp});
}

TEST(MenuBuilderCommand, actionWithoutCommandIsZero)
{
    QAction plain(QStringLiteral("x"));
    EXPECT_EQ(MenuBuilder::commandOf(&plain), 0);
    EXPECT_EQ(MenuBuilder::commandOf(nullptr), 0);
}

} // namespace
