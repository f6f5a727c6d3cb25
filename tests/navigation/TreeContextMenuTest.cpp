#include "tests/navigation/TreeFixture.h"
#include "tests/support/TreeWaits.h"

#include "lang/MenuBuilder.h"
#include "lang/ResourceIds.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>

class TreeContextMenuTest : public TreeFixture {
protected:
    void SetUp() override
    {
        TreeFixture::SetUp();
        const QString workshop = MakeWorkshop(QStringLiteral("w"));
        MakeFolder(workshop, QStringLiteral("AB123"), QStringLiteral("20240101"));
        MakeFolder(workshop, QStringLiteral("CD456"), QStringLiteral("20240202"));
        Register(workshop);
        m_tree.setCommandSink([this](int command) { m_commands.append(command); });
        m_tree.resize(400, 400);
        m_tree.show();
        m_tree.OnInitialUpdate();
        ASSERT_TRUE(WaitForTree(m_tree));
        m_selected = FindNode(TreeLevel::Vehicle, QStringLiteral("AB123"));
        m_other = FindNode(TreeLevel::Vehicle, QStringLiteral("CD456"));
        m_tree.SelectNode(m_selected);
        EXPECT_TRUE(WaitForTree(m_tree));
    }

    // A right click as the desktop delivers it: press, release, then the menu request.
    void RightClick(TreeNode node)
    {
        const QPoint pos = m_tree.visualItemRect(node).center();
        const QPoint global = m_tree.viewport()->mapToGlobal(pos);
        QMouseEvent press(QEvent::MouseButtonPress, pos, global, Qt::RightButton, Qt::RightButton,
                          Qt::NoModifier);
        QMouseEvent release(QEvent::MouseButtonRelease, pos, global, Qt::RightButton, Qt::NoButton,
                            Qt::NoModifier);
        QContextMenuEvent request(QContextMenuEvent::Mouse, pos, global);
        QApplication::sendEvent(m_tree.viewport(), &press);
        QApplication::sendEvent(m_tree.viewport(), &release);
        QApplication::sendEvent(m_tree.viewport(), &request);
    }

    QMenu* OpenMenu() const
    {
        for (QMenu* menu : m_tree.findChildren<QMenu*>()) {
            if (menu->isVisible())
                return menu;
        }
        return nullptr;
    }

    TreeNode m_selected = nullptr;
    TreeNode m_other = nullptr;
    QList<int> m_commands;
};

TEST_F(TreeContextMenuTest, rightClickOnSelectedNode_opensMenuWhoseCommandsReachTheSink)
{
    RightClick(m_selected);

    QMenu* menu = OpenMenu();
    ASSERT_NE(menu, nullptr);
    QAction* remove = nullptr;
    for (QAction* action : menu->actions()) {
        if (MenuBuilder::commandOf(action) == CommandId::DeleteNode)
            remove = action;
    }
    ASSERT_NE(remove, nullptr);
    remove->trigger();
    EXPECT_EQ(m_commands, QList<int>({CommandId::DeleteNode}));
    EXPECT_EQ(m_tree.SelectedNode(), m_selected);
    menu->close();
}

TEST_F(TreeContextMenuTest, rightClickOnAnotherNode_selectsAndLoadsItThenOpensTheMenu)
{
    m_titles.clear();

    RightClick(m_other);

    EXPECT_EQ(m_tree.SelectedNode(), m_other);
    EXPECT_EQ(m_titles, QStringList{QStringLiteral("Velmora [CD456]")});
    QMenu* menu = OpenMenu();
    ASSERT_NE(menu, nullptr);
    menu->close();
}

TEST_F(TreeContextMenuTest, rightClickWithNothingSelected_selectsTheNodeClicked)
{
    ASSERT_TRUE(RebuildAndWait(m_tree));

    RightClick(FindNode(TreeLevel::Vehicle, QStringLiteral("AB123")));

    EXPECT_EQ(m_tree.SelectedNode(), FindNode(TreeLevel::Vehicle, QStringLiteral("AB123")));
    QMenu* menu = OpenMenu();
    ASSERT_NE(menu, nullptr);
    menu->close();
}

TEST_F(TreeContextMenuTest, rightClickOnEmptySpace_opensNothingAndKeepsSelection)
{
    const QPoint below =
        m_tree.visualItemRect(FindNode(TreeLevel::Day, QStringLiteral("20240202"))).bottomLeft() +
        QPoint(5, 40);
    ASSERT_EQ(m_tree.itemAt(below), nullptr);
    QContextMenuEvent request(QContextMenuEvent::Mouse, below,
                              m_tree.viewport()->mapToGlobal(below));

    QApplication::sendEvent(m_tree.viewport(), &request);

    EXPECT_EQ(OpenMenu(), nullptr);
    EXPECT_EQ(m_tree.SelectedNode(), m_selected);
}

TEST_F(TreeContextMenuTest, menuKey_opensMenuAtTheSelection)
{
    QContextMenuEvent request(QContextMenuEvent::Keyboard, QPoint(1, 1),
                              m_tree.viewport()->mapToGlobal(QPoint(1, 1)));

    QApplication::sendEvent(m_tree.viewport(), &request);

    QMenu* menu = OpenMenu();
    ASSERT_NE(menu, nullptr);
    menu->close();
}
