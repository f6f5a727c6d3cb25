#include "lang/MenuBuilder.h"
#include "lang/LanguagePack.h"
#include "lang/ResourceIds.h"
#include "tests/support/CommandActions.h"

#include <QAction>
#include <QHash>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

#include <gtest/gtest.h>

#include <map>
#include <memory>

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
    ASSERT_EQ(actions.size(), 19);
    for (QAction* action : actions) {
        action->trigger();
        ASSERT_FALSE(received.isEmpty());
        EXPECT_EQ(received.last(), MenuBuilder::commandOf(action));
    }
    EXPECT_EQ(received.size(), 19);
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
    ASSERT_EQ(actions.size(), 9);
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
    ASSERT_EQ(buttons.size(), 10);
    EXPECT_EQ(bar.actions().size(), 14) << "10 buttons and 4 separators, once";
    LanguagePack::current().unload();
    for (QAction* button : buttons)
        EXPECT_FALSE(button->icon().pixmap(24).isNull()) << button->text().toStdString();
    buttons.last()->trigger();
    EXPECT_EQ(received, QList<int>{CommandId::OpenHelp});
}

// The letter after a lone '&', lower-cased; "" when the text has none.
QString mnemonicOf(const QString& text)
{
    for (int i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != u'&')
            continue;
        if (text[i + 1] != u'&')
            return text[i + 1].toLower();
        ++i; // "&&" is a plain ampersand
    }
    return {};
}

// Every entry of one menu level can be reached by its own letter.
void expectDistinctMnemonics(const QList<QAction*>& entries, const std::string& where)
{
    QHash<QString, QString> taken;
    for (QAction* action : entries) {
        if (action->isSeparator())
            continue;
        const QString letter = mnemonicOf(action->text());
        EXPECT_FALSE(letter.isEmpty()) << where << ": " << action->text().toStdString();
        if (letter.isEmpty())
            continue;
        EXPECT_FALSE(taken.contains(letter))
            << where << ": '" << letter.toStdString() << "' of " << action->text().toStdString()
            << " is already taken by " << taken.value(letter).toStdString();
        taken.insert(letter, action->text());
    }
}

TEST(MenuKeys, everyMenuOfBothPacksHasDistinctMnemonicsAndTheCommandShortcuts)
{
    struct Shortcut {
        int menu;
        int command;
        QKeySequence keys;
    };
    const Shortcut shortcuts[] = {
        {ResourceId::MainMenu, CommandId::Export, QKeySequence(Qt::CTRL | Qt::Key_E)},
        {ResourceId::MainMenu, CommandId::Import, QKeySequence(Qt::CTRL | Qt::Key_I)},
        {ResourceId::MainMenu, CommandId::WorkshopList, QKeySequence(Qt::CTRL | Qt::Key_L)},
        {ResourceId::MainMenu, CommandId::PrinterSettings,
         QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_P)},
        {ResourceId::MainMenu, CommandId::Refresh, QKeySequence(Qt::Key_F5)},
        {ResourceId::TreeContextMenu, CommandId::Export, QKeySequence(Qt::CTRL | Qt::Key_E)},
        {ResourceId::TreeContextMenu, CommandId::Import, QKeySequence(Qt::CTRL | Qt::Key_I)},
        {ResourceId::TreeContextMenu, CommandId::Refresh, QKeySequence(Qt::Key_F5)},
    };
    const MenuBuilder::CommandSink none;
    for (const QString& pack : {QStringLiteral("Velmora_en"), QStringLiteral("Velmora_ru")}) {
        ASSERT_TRUE(LanguagePack::current().load(pack));
        QMenuBar bar;
        MenuBuilder::fillMenuBar(&bar, ResourceId::MainMenu, none);
        const std::string name = pack.toStdString();
        expectDistinctMnemonics(bar.actions(), name + " menu bar");
        for (QAction* title : bar.actions()) {
            if (title->menu())
                expectDistinctMnemonics(title->menu()->actions(),
                                        name + " menu " + title->text().toStdString());
        }
        std::map<int, std::unique_ptr<QMenu>> popups;
        for (const int id : {ResourceId::TreeContextMenu, ResourceId::ReportMenu}) {
            popups[id].reset(MenuBuilder::popupMenu(id, nullptr, none));
            ASSERT_FALSE(popups[id]->actions().isEmpty()) << name << " menu " << id;
            expectDistinctMnemonics(popups[id]->actions(), name + " menu " + std::to_string(id));
        }
        for (const Shortcut& expected : shortcuts) {
            const QList<QAction*> actions = expected.menu == ResourceId::MainMenu
                                                ? commandActions(&bar)
                                                : commandActions(popups[expected.menu].get());
            const QAction* action = FindCommandAction(actions, expected.command);
            ASSERT_NE(action, nullptr)
                << name << " menu " << expected.menu << " command " << expected.command;
            EXPECT_EQ(action->shortcut(), expected.keys) << name << " command " << expected.command;
        }
    }
    LanguagePack::current().load(QStringLiteral("Velmora_ru"));
}

TEST(MenuBuilderCommand, actionWithoutCommandIsZero)
{
    QAction plain(QStringLiteral("x"));
    EXPECT_EQ(MenuBuilder::commandOf(&plain), 0);
    EXPECT_EQ(MenuBuilder::commandOf(nullptr), 0);
}

} // namespace
