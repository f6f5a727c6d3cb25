#include "tests/exchange/WorkshopFixture.h"

#include "lang/LanguagePack.h"
#include "lang/StringIds.h"
#include "navigation/NodeDeletion.h"
#include "params/CurrentRecords.h"

#include <QDir>
#include <QFileInfo>

namespace {

class NodeDeletionTest : public WorkshopFixture {
protected:
    void SetUp() override
    {
        WorkshopFixture::SetUp();
        m_workshop = MakeWorkshopFolder(QStringLiteral("shop"));
        MakeCalibration(m_workshop, QStringLiteral("CAR1"), QStringLiteral("20240101"));
        MakeCalibration(m_workshop, QStringLiteral("CAR1"), QStringLiteral("20240202"));
        MakeCalibration(m_workshop, QStringLiteral("CAR2"), QStringLiteral("20240303"));
        Register(m_workshop);
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

    QString m_workshop;
};

TEST_F(NodeDeletionTest, DayNodeDeletesOnlyThatCalibration)
{
    m_tree->SelectNode(FindNode(TreeLevel::Day, QStringLiteral("20240101")));
    const ParamRecord shown = CurrentParamRecord();
    DeleteAnswering(Prompts::Answer::Yes);

    EXPECT_EQ(ShownTexts(), QStringList{Question(QStringLiteral("20240101"))});
    EXPECT_FALSE(QFileInfo::exists(Car1() + QStringLiteral("/20240101")));
    EXPECT_TRUE(QFileInfo::exists(Car1() + QStringLiteral("/20240202/PARAM_UP.BIN")));
    EXPECT_EQ(FindNode(TreeLevel::Day, QStringLiteral("20240101")), nullptr);
    EXPECT_EQ(m_tree->SelectedNode(), nullptr);
    // The deleted calibration is no longer shown, so no save can bring it back unasked.
    EXPECT_NE(shown.bytes, ParamRecord().bytes);
    EXPECT_EQ(CurrentParamRecord().bytes, ParamRecord().bytes);
}

TEST_F(NodeDeletionTest, FolderThatCannotBeDeletedIsReported)
{
    m_tree->SelectNode(FindNode(TreeLevel::Day, QStringLiteral("20240101")));
    // Removed behind the program's back: the deletion cannot succeed.
    ASSERT_TRUE(QDir(Car1() + QStringLiteral("/20240101")).removeRecursively());
    DeleteAnswering(Prompts::Answer::Yes);

    const QString folder = Car1() + QStringLiteral("/20240101");
    EXPECT_EQ(ShownTexts(), (QStringList{Question(QStringLiteral("20240101")),
                                         Lang(StringId::FolderDeleteFailed).arg(folder)}));
}

TEST_F(NodeDeletionTest, VehicleNodeDeletesItsWholeFolder)
{
    m_tree->SelectNode(FindNode(TreeLevel::Vehicle, QStringLiteral("CAR1")));
    DeleteAnswering(Prompts::Answer::Yes);

    EXPECT_FALSE(QFileInfo::exists(Car1()));
    EXPECT_TRUE(QFileInfo::exists(m_workshop + QStringLiteral("/RX902/CAR2/20240303")));
    EXPECT_EQ(FindNode(TreeLevel::Vehicle, QStringLiteral("CAR1")), nullptr);
    EXPECT_EQ(m_reg.findVehicleByName(QStringLiteral("CAR1")), nullptr);
}

TEST_F(NodeDeletionTest, WorkshopNodeIsUnregisteredButKeptOnDisk)
{
    m_tree->SelectNode(m_tree->topLevelItem(0));
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
    DeleteAnswering(Prompts::Answer::No);

    EXPECT_TRUE(QFileInfo::exists(Car1() + QStringLiteral("/20240101")));
    EXPECT_EQ(m_tree->SelectedNode(), car);
    EXPECT_EQ(ShownTexts(), QStringList{Question(QStringLiteral("CAR1"))});
}

TEST_F(NodeDeletionTest, NothingSelectedAsksWithEmptyQuotesAndDoesNothing)
{
    DeleteAnswering(Prompts::Answer::Yes);
    EXPECT_EQ(ShownTexts(), QStringList{Question(QString())});
    EXPECT_EQ(m_reg.entries().size(), 1u);
    EXPECT_TRUE(QFileInfo::exists(Car1()));
}

} // namespace
