#include "tests/navigation/TreeFixture.h"
#include "tests/support/TreeWaits.h"

#include "navigation/RemoveWorkshopByItem.h"
#include "platform/Prompts.h"

#include <QDir>
#include <QFile>

class RemoveWorkshopByItemTest : public TreeFixture {
protected:
    void SetUp() override
    {
        TreeFixture::SetUp();
        m_first = MakeWorkshop(QStringLiteral("first"));
        m_second = MakeWorkshop(QStringLiteral("second"));
        MakeFolder(m_first, QStringLiteral("AB123"), QStringLiteral("20240101"));
        MakeFolder(m_second, QStringLiteral("CD456"), QStringLiteral("20240202"));
        Register(m_first);
        Register(m_second);
        ASSERT_TRUE(RebuildAndWait(m_tree));
    }

    static QString ServiceFileText()
    {
        QFile file(WorkshopRegister::serviceFilePath());
        if (!file.open(QIODevice::ReadOnly))
            return {};
        const QByteArray bytes = file.readAll();
        return QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.constData()),
                                  bytes.size() / 2);
    }

    QString m_first;
    QString m_second;
};

TEST_F(RemoveWorkshopByItemTest, removesEntryRebuildsTreeAndSavesRegister)
{
    RemoveWorkshopByItem(m_reg, m_tree, m_reg.entries()[0].node, nullptr);

    ASSERT_EQ(m_reg.entries().size(), 1u);
    EXPECT_EQ(TopLevelTexts(), QStringList({m_second}));
    EXPECT_EQ(m_reg.entries()[0].node, m_tree.topLevelItem(0));
    EXPECT_EQ(m_reg.entries()[0].vehicles.front().node, m_tree.topLevelItem(0)->child(0));
    EXPECT_EQ(ServiceFileText(), m_second + QStringLiteral("\r\n"));
    // Unregistering leaves the folder and its calibrations on disk.
    EXPECT_TRUE(QDir(m_first + QStringLiteral("/RX902/AB123/20240101")).exists());
}

TEST_F(RemoveWorkshopByItemTest, nodeOfNoEntry_changesNothing)
{
    const TreeNode vehicle = FindNode(TreeLevel::Vehicle, QStringLiteral("AB123"));

    RemoveWorkshopByItem(m_reg, m_tree, vehicle, nullptr);

    EXPECT_EQ(m_reg.entries().size(), 2u);
    EXPECT_EQ(m_tree.topLevelItemCount(), 2);
    EXPECT_FALSE(QFile::exists(WorkshopRegister::serviceFilePath()));
}

TEST_F(RemoveWorkshopByItemTest, lastWorkshop_leavesEmptyRegisterFile)
{
    RemoveWorkshopByItem(m_reg, m_tree, m_reg.entries()[1].node, nullptr);
    RemoveWorkshopByItem(m_reg, m_tree, m_reg.entries()[0].node, nullptr);

    EXPECT_EQ(m_tree.topLevelItemCount(), 0);
    ASSERT_TRUE(QFile::exists(WorkshopRegister::serviceFilePath()));
    EXPECT_EQ(QFile(WorkshopRegister::serviceFilePath()).size(), 0);
}

TEST_F(RemoveWorkshopByItemTest, failedSave_warnsTheUser)
{
    Prompts::setSilent(true);
    Prompts::takeShownTexts();
    // A folder in the register file's place makes the save fail.
    ASSERT_TRUE(QDir().mkpath(WorkshopRegister::serviceFilePath()));

    RemoveWorkshopByItem(m_reg, m_tree, m_reg.entries()[0].node, nullptr);

    EXPECT_EQ(m_reg.entries().size(), 1u);
    EXPECT_EQ(Prompts::takeShownTexts().size(), 1);
    Prompts::setSilent(false);
}
