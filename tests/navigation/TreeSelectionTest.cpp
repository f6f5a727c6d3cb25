#include "tests/navigation/TreeFixture.h"
#include "tests/support/GridKeys.h"
#include "tests/support/TreeWaits.h"

#include "lang/LanguagePack.h"
#include "lang/StringIds.h"
#include "navigation/WorkshopListings.h"
#include "params/cTDGrid.h"
#include "platform/Prompts.h"
#include "store/FolderLock.h"
#include "store/FolderOps.h"
#include "store/RecordFile.h"

#include <QApplication>
#include <QKeyEvent>

#include <algorithm>

class TreeSelectionTest : public TreeFixture {
protected:
    void SetUp() override
    {
        TreeFixture::SetUp();
        m_workshop = MakeWorkshop(QStringLiteral("w"));
        WriteCalibration(m_workshop, QStringLiteral("AB123"), QStringLiteral("20230101"), 10);
        WriteCalibration(m_workshop, QStringLiteral("AB123"), QStringLiteral("20240101"), 20);
        Register(m_workshop, QStringLiteral("Workshop W"));
        ASSERT_TRUE(RebuildAndWait(m_tree));
    }

    TreeNode Vehicle(const QString& name = QStringLiteral("AB123")) const
    {
        return FindNode(TreeLevel::Vehicle, name);
    }
    TreeNode Day(const QString& day, TreeNode vehicle = nullptr) const
    {
        return FindNode(TreeLevel::Day, day, vehicle);
    }

    // True when the current records hold the day written with `seed`. The owner record is
    // the vehicle's, from the last calibration written for it.
    bool Loaded(int seed)
    {
        return m_current.param().bytes == Pattern<RecordSize::Param>(seed) &&
               m_current.gsm().bytes == Pattern<RecordSize::Gsm>(seed + 1);
    }

    QString m_workshop;
};

TEST_F(TreeSelectionTest, vehicleNode_loadsItsLastDayAndSetsTitle)
{
    m_tree.SelectNode(Vehicle());
    EXPECT_TRUE(WaitForTree(m_tree));

    EXPECT_TRUE(Loaded(20));
    EXPECT_EQ(m_current.owner().bytes, Pattern<RecordSize::Owner>(22));
    EXPECT_EQ(m_current.value().workshop.field(WorkshopRecord::Field::Name),
              QStringLiteral("Workshop W"));
    EXPECT_EQ(m_titles, QStringList({"Velmora [AB123]"}));
}

TEST_F(TreeSelectionTest, dayNode_loadsThatDayAndSetsTitle)
{
    m_tree.SelectNode(Day(QStringLiteral("20230101")));
    EXPECT_TRUE(WaitForTree(m_tree));

    EXPECT_TRUE(Loaded(10));
    EXPECT_EQ(m_titles, QStringList({"Velmora [AB123 : 20230101]"}));
}

TEST_F(TreeSelectionTest, workshopNode_loadsNothingAndKeepsTitle)
{
    m_current.param().bytes.fill(0x33);

    m_tree.SelectNode(m_tree.topLevelItem(0));
    EXPECT_TRUE(WaitForTree(m_tree));

    EXPECT_EQ(m_current.param().bytes[100], 0x33);
    EXPECT_TRUE(IsZero(m_current.value().workshop.bytes));
    EXPECT_TRUE(m_titles.isEmpty());
}

TEST_F(TreeSelectionTest, missingParamFileBesideGsmFile_givesZerosBesideGsmValues)
{
    WriteCalibration(m_workshop, QStringLiteral("CD456"), QStringLiteral("20240505"), 40, false,
                     true);
    ASSERT_TRUE(RebuildAndWait(m_tree));
    m_current.param().bytes.fill(0x33);

    m_tree.SelectNode(Day(QStringLiteral("20240505")));
    EXPECT_TRUE(WaitForTree(m_tree));

    EXPECT_TRUE(IsZero(m_current.param().bytes));
    EXPECT_EQ(m_current.gsm().bytes, Pattern<RecordSize::Gsm>(41));
    EXPECT_EQ(m_current.owner().bytes, Pattern<RecordSize::Owner>(42));
}

TEST_F(TreeSelectionTest, vehicleWithoutDays_setsTitleOnly)
{
    MakeFolder(m_workshop, QStringLiteral("NEW1"));
    ASSERT_TRUE(RebuildAndWait(m_tree));
    m_tree.SelectNode(Day(QStringLiteral("20230101")));
    EXPECT_TRUE(WaitForTree(m_tree));

    m_tree.SelectNode(Vehicle(QStringLiteral("NEW1")));
    EXPECT_TRUE(WaitForTree(m_tree));

    EXPECT_TRUE(Loaded(10));
    EXPECT_EQ(m_titles.last(), QStringLiteral("Velmora [NEW1]"));
}

TEST_F(TreeSelectionTest, sameVehicleUnderTwoWorkshops_loadsFromTheSelectedWorkshop)
{
    const QString other = MakeWorkshop(QStringLiteral("other"));
    WriteCalibration(other, QStringLiteral("AB123"), QStringLiteral("20220707"), 60);
    Register(other, QStringLiteral("Workshop O"));
    ASSERT_TRUE(RebuildAndWait(m_tree));

    m_tree.SelectNode(Vehicle(QStringLiteral("AB123"))); // first workshop
    EXPECT_TRUE(WaitForTree(m_tree));
    EXPECT_TRUE(Loaded(20));
    m_tree.SelectNode(m_reg.entries()[1].vehicles.front().node);
    EXPECT_TRUE(WaitForTree(m_tree));

    EXPECT_TRUE(Loaded(60));
    EXPECT_EQ(m_current.value().workshop.field(WorkshopRecord::Field::Name),
              QStringLiteral("Workshop O"));
}

TEST_F(TreeSelectionTest, longVehicleName_loadsItsLastDay)
{
    const QString longName = QStringLiteral("ABCDEFGHIJKLMN");
    WriteCalibration(m_workshop, longName, QStringLiteral("20240808"), 70);
    ASSERT_TRUE(RebuildAndWait(m_tree));

    m_tree.SelectNode(Vehicle(longName));
    EXPECT_TRUE(WaitForTree(m_tree));

    EXPECT_TRUE(Loaded(70));
    EXPECT_EQ(m_titles.last(), QStringLiteral("Velmora [ABCDEFGHIJKLMN]"));
}

TEST_F(TreeSelectionTest, nodeOfUnregisteredWorkshop_setsTitleButCopiesNothing)
{
    const TreeNode day = Day(QStringLiteral("20230101"));
    m_reg.entries().clear(); // the tree still shows the nodes until its next rebuild
    m_current.param().bytes.fill(0x33);

    m_tree.SelectNode(day);
    EXPECT_TRUE(WaitForTree(m_tree));

    EXPECT_EQ(m_current.param().bytes[0], 0x33);
    EXPECT_EQ(m_titles, QStringList({"Velmora [AB123 : 20230101]"}));
}

TEST_F(TreeSelectionTest, reselectingTheSelectedNode_doesNotLoadAgain)
{
    const TreeNode day = Day(QStringLiteral("20230101"));
    m_tree.SelectNode(day);
    EXPECT_TRUE(WaitForTree(m_tree));
    m_current.param().bytes.fill(0x33); // an unsaved edit

    m_tree.SelectNode(day);
    EXPECT_TRUE(WaitForTree(m_tree));

    EXPECT_EQ(m_current.param().bytes[0], 0x33);
    EXPECT_EQ(m_titles.size(), 1);
}

TEST_F(TreeSelectionTest, keyboardMoves_loadEveryNodePassedOver)
{
    m_tree.SelectNode(Vehicle());
    EXPECT_TRUE(WaitForTree(m_tree));
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);

    QApplication::sendEvent(&m_tree, &down);
    EXPECT_EQ(m_tree.SelectedNode(), Day(QStringLiteral("20230101")));
    EXPECT_TRUE(WaitForTree(m_tree));
    EXPECT_TRUE(Loaded(10));
    QApplication::sendEvent(&m_tree, &down);
    EXPECT_TRUE(WaitForTree(m_tree));

    EXPECT_TRUE(Loaded(20));
    EXPECT_EQ(m_titles, QStringList({"Velmora [AB123]", "Velmora [AB123 : 20230101]",
                                     "Velmora [AB123 : 20240101]"}));
}

// Keys pressed faster than the days are read: the last selection is the one shown, and the
// one it overtook never replaces it.
TEST_F(TreeSelectionTest, newerSelectionWinsOverOneStillBeingRead)
{
    m_tree.SelectNode(Vehicle());
    EXPECT_TRUE(WaitForTree(m_tree));
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(&m_tree, &down);
    QApplication::sendEvent(&m_tree, &down);
    EXPECT_TRUE(m_tree.LoadPending());

    EXPECT_TRUE(WaitForTree(m_tree));
    QTest::qWait(50);
    EXPECT_TRUE(Loaded(20));
    EXPECT_EQ(m_tree.ShownDayFolder(),
              ExchangeFolderOf(m_workshop) + QStringLiteral("/AB123/20240101"));
}

class TreeGridTest : public TreeSelectionTest {
protected:
    void SetUp() override
    {
        TreeSelectionTest::SetUp();
        m_grid.SetupRows();
        m_tree.setGrid(&m_grid);
        // A calibration whose registration number the grid shows as text.
        decltype(ParamRecord::bytes) param{};
        const QByteArray number("XY987");
        std::copy(number.begin(), number.end(),
                  param.begin() + ParamRecord::Layout::RegNumberOffset);
        ASSERT_TRUE(WriteRecordFile(
            ExchangeFolderOf(m_workshop) + QStringLiteral("/AB123/20240101/PARAM_UP.BIN"), param));
    }

    void TearDown() override { LanguagePack::current().load(QStringLiteral("Velmora_ru")); }

    int RowLabelled(int stringId) const
    {
        for (int row = 0; row < m_grid.GetRowCount(); ++row) {
            if (m_grid.GetCellText(row, 0) == Lang(stringId))
                return row;
        }
        return -1;
    }

    cTDGrid m_grid{m_current};
};

TEST_F(TreeGridTest, load_refreshesTheGrid)
{
    const int row = RowLabelled(StringId::RegistrationNumber);
    ASSERT_GE(row, 0);

    m_tree.SelectNode(Vehicle());
    EXPECT_TRUE(WaitForTree(m_tree));

    EXPECT_EQ(m_grid.GetCellText(row, 1), QStringLiteral("XY987"));
}

TEST_F(TreeGridTest, languageSwitch_clearsRecordsButKeepsSelectionAndTitle)
{
    const TreeNode day = Day(QStringLiteral("20240101"));
    m_tree.SelectNode(day);
    EXPECT_TRUE(WaitForTree(m_tree));
    const QString russianLabel = m_grid.GetCellText(0, 0);
    ASSERT_TRUE(LanguagePack::current().load(QStringLiteral("Velmora_en")));

    m_grid.SetupRows();
    m_grid.Refresh();

    EXPECT_EQ(m_tree.SelectedNode(), day);
    EXPECT_EQ(m_titles.size(), 1);
    EXPECT_EQ(m_current.param().bytes[ParamRecord::Layout::RegNumberOffset], 0);
    EXPECT_NE(m_grid.GetCellText(0, 0), russianLabel);
    EXPECT_EQ(m_grid.GetCellText(RowLabelled(StringId::RegistrationNumber), 1), QString());
}

// A day whose folder does not answer (here: its vehicle's lock held elsewhere past the answer
// time): the grid takes no input meanwhile, then the day is given up with a message, the
// workshop marked, and the grid back, showing nothing of the calibration before.
TEST_F(TreeGridTest, dayThatDoesNotAnswerIsGivenUpWithAMessage)
{
    m_tree.SelectNode(Day(QStringLiteral("20230101")));
    ASSERT_TRUE(WaitForTree(m_tree));
    ASSERT_TRUE(Loaded(10));
    FolderLock::SetWaitMs(3000);
    WorkshopListings::SetTimeoutMs(300);
    FolderLock elsewhere(
        FolderLock::VehicleLockPath(ExchangeFolderOf(m_workshop) + QStringLiteral("/AB123")));
    ASSERT_EQ(elsewhere.Acquire(), FolderLock::Result::Locked);
    Prompts::setSilent(true);
    Prompts::takeShownTexts();

    m_tree.SelectNode(Day(QStringLiteral("20240101")));
    EXPECT_TRUE(m_tree.LoadPending());
    const int row = RowLabelled(StringId::RegistrationNumber);
    typeKeys(&m_grid, row, QStringLiteral("7"));
    EXPECT_FALSE(m_grid.CellAt(row, 1)->IsEditing());
    EXPECT_TRUE(QTest::qWaitFor([this] { return !m_grid.isEnabled(); }, 1000));
    EXPECT_TRUE(QTest::qWaitFor([this] { return !m_tree.LoadPending(); }, 2000));

    const QString reason = Lang(StringId::NoAnswerWithin).arg(0);
    EXPECT_EQ(Prompts::takeShownTexts(),
              QStringList{Lang(StringId::WorkshopUnreachable).arg(reason) + u'\n' +
                          ExchangeFolderOf(m_workshop) + QStringLiteral("/AB123/20240101")});
    EXPECT_EQ(m_tree.topLevelItem(0)->data(0, kWorkshopMarkRole).toInt(),
              WorkshopMark::Unreachable);
    EXPECT_TRUE(m_grid.isEnabled());
    EXPECT_TRUE(IsZero(m_current.param().bytes));
    EXPECT_TRUE(m_tree.ShownDayFolder().isEmpty());
    Prompts::setSilent(false);
    WorkshopListings::SetTimeoutMs(WorkshopListings::kDefaultTimeoutMs);
    FolderLock::SetWaitMs(FolderLock::kDefaultWaitMs);
}
