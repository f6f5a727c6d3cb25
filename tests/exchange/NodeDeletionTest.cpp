#include "tests/exchange/WorkshopFixture.h"
#include "tests/support/TreeWaits.h"

#include "lang/LanguagePack.h"
#include "lang/StringIds.h"
#include "navigation/NodeDeletion.h"
#include "params/CurrentCalibration.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {

class NodeDeletionTest : public WorkshopFixture {
protected:
    // Deleted folders go to a trash of the test's own, never the user's.
    void SetUp() override
    {
        ASSERT_TRUE(m_home.isValid());
        m_oldHome = qgetenv("HOME");
        m_oldDataHome = qgetenv("XDG_DATA_HOME");
        qputenv("HOME", m_home.path().toUtf8());
        qputenv("XDG_DATA_HOME", m_home.filePath(QStringLiteral("data")).toUtf8());
        WorkshopFixture::SetUp();
        m_workshop = MakeWorkshopFolder(QStringLiteral("shop"));
        MakeCalibration(m_workshop, QStringLiteral("CAR1"), QStringLiteral("20240101"));
        MakeCalibration(m_workshop, QStringLiteral("CAR1"), QStringLiteral("20240202"));
        MakeCalibration(m_workshop, QStringLiteral("CAR2"), QStringLiteral("20240303"));
        Register(m_workshop);
    }

    void TearDown() override
    {
        WorkshopFixture::TearDown();
        qputenv("HOME", m_oldHome);
        qputenv("XDG_DATA_HOME", m_oldDataHome);
    }

    QString InTrash(const QString& name) const
    {
        return m_home.filePath(QStringLiteral("data/Trash/files/") + name);
    }

    void DeleteAnswering(Prompts::Answer answer)
    {
        Prompts::pushAnswer(answer);
        DeleteSelectedNode(m_reg, *m_tree, nullptr);
    }

    QString Question(const QString& text) const
    {
        return QStringLiteral("%1 '%2' ?").arg(Lang(StringId::DeleteQuestion), text);
    }

    QString Car1() const { return m_workshop + QStringLiteral("/RX902/CAR1"); }

    QTemporaryDir m_home;
    QByteArray m_oldHome;
    QByteArray m_oldDataHome;
    QString m_workshop;
};

TEST_F(NodeDeletionTest, DayNodeDeletesOnlyThatCalibration)
{
    m_tree->SelectNode(FindNode(TreeLevel::Day, QStringLiteral("20240101")));
    EXPECT_TRUE(WaitForTree(*m_tree));
    ASSERT_NE(m_current.param().bytes, ParamRecord().bytes);
    DeleteAnswering(Prompts::Answer::Yes);

    EXPECT_EQ(ShownTexts(),
              QStringList{Lang(StringId::DeleteDayToTrash)
                              .arg(QStringLiteral("01.01.2024"), QStringLiteral("CAR1"),
                                   Car1() + QStringLiteral("/20240101"))});
    EXPECT_FALSE(QFileInfo::exists(Car1() + QStringLiteral("/20240101")));
    // Taken back from the trash with the file manager, it is whole.
    EXPECT_TRUE(QFileInfo::exists(InTrash(QStringLiteral("20240101/PARAM_UP.BIN"))));
    EXPECT_TRUE(
        QFileInfo::exists(m_home.filePath(QStringLiteral("data/Trash/info/20240101.trashinfo"))));
    EXPECT_TRUE(QFileInfo::exists(Car1() + QStringLiteral("/20240202/PARAM_UP.BIN")));
    EXPECT_EQ(FindNode(TreeLevel::Day, QStringLiteral("20240101")), nullptr);
    EXPECT_EQ(m_tree->SelectedNode(), nullptr);
    // Nothing of the deleted calibration stays on screen.
    EXPECT_EQ(m_current.param().bytes, ParamRecord().bytes);
    EXPECT_TRUE(m_tree->ShownCalibrationDeleted());
}

TEST_F(NodeDeletionTest, FolderThatCannotBeDeletedIsReported)
{
    m_tree->SelectNode(FindNode(TreeLevel::Day, QStringLiteral("20240101")));
    EXPECT_TRUE(WaitForTree(*m_tree));
    // Removed behind the program's back: the deletion cannot succeed.
    ASSERT_TRUE(QDir(Car1() + QStringLiteral("/20240101")).removeRecursively());
    DeleteAnswering(Prompts::Answer::Yes);

    const QString folder = Car1() + QStringLiteral("/20240101");
    const QStringList shown = ShownTexts();
    ASSERT_EQ(shown.size(), 2);
    // Gone, it has no file system and so no trash to go to; what is left is reported.
    EXPECT_EQ(shown[1], Lang(StringId::FolderDeleteFailed).arg(folder));
}

TEST_F(NodeDeletionTest, VehicleNodeDeletesItsWholeFolder)
{
    m_tree->SelectNode(FindNode(TreeLevel::Vehicle, QStringLiteral("CAR1")));
    EXPECT_TRUE(WaitForTree(*m_tree));
    DeleteAnswering(Prompts::Answer::Yes);

    EXPECT_EQ(ShownTexts(),
              QStringList{Lang(StringId::DeleteVehicleToTrash)
                              .arg(QStringLiteral("CAR1"), QStringLiteral("2"), Car1())});
    EXPECT_FALSE(QFileInfo::exists(Car1()));
    EXPECT_TRUE(QFileInfo::exists(InTrash(QStringLiteral("CAR1/20240202/GSM_UP.BIN"))));
    EXPECT_TRUE(QFileInfo::exists(m_workshop + QStringLiteral("/RX902/CAR2/20240303")));
    EXPECT_EQ(FindNode(TreeLevel::Vehicle, QStringLiteral("CAR1")), nullptr);
    EXPECT_EQ(m_reg.findVehicleByName(QStringLiteral("CAR1")), nullptr);
}

TEST_F(NodeDeletionTest, WorkshopNodeIsUnregisteredButKeptOnDisk)
{
    m_tree->SelectNode(m_tree->topLevelItem(0));
    EXPECT_TRUE(WaitForTree(*m_tree));
    DeleteAnswering(Prompts::Answer::Yes);

    EXPECT_EQ(ShownTexts(), QStringList{Question(m_workshop)});
    EXPECT_TRUE(m_reg.entries().empty());
    EXPECT_EQ(m_tree->topLevelItemCount(), 0);
    EXPECT_EQ(ReadFile(WorkshopRegister::serviceFilePath()).size(), 0);
    EXPECT_TRUE(QFileInfo::exists(Car1() + QStringLiteral("/20240202/GSM_UP.BIN")));
    EXPECT_TRUE(QFileInfo::exists(m_workshop + QStringLiteral("/RX902/SINFO.BIN")));
}

TEST_F(NodeDeletionTest, AnsweringNoChangesNothing)
{
    const TreeNode car = FindNode(TreeLevel::Vehicle, QStringLiteral("CAR1"));
    m_tree->SelectNode(car);
    EXPECT_TRUE(WaitForTree(*m_tree));
    DeleteAnswering(Prompts::Answer::No);

    EXPECT_TRUE(QFileInfo::exists(Car1() + QStringLiteral("/20240101")));
    EXPECT_EQ(m_tree->SelectedNode(), car);
    EXPECT_EQ(ShownTexts(),
              QStringList{Lang(StringId::DeleteVehicleToTrash)
                              .arg(QStringLiteral("CAR1"), QStringLiteral("2"), Car1())});
}

TEST_F(NodeDeletionTest, NothingSelectedAsksWithEmptyQuotesAndDoesNothing)
{
    DeleteAnswering(Prompts::Answer::Yes);
    EXPECT_EQ(ShownTexts(), QStringList{Question(QString())});
    EXPECT_EQ(m_reg.entries().size(), 1u);
    EXPECT_TRUE(QFileInfo::exists(Car1()));
}

} // namespace
