#include "tests/navigation/TreeFixture.h"
#include "tests/support/TreeWaits.h"

#include "store/FolderOps.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using TreeRebuildTest = TreeFixture;

TEST_F(TreeRebuildTest, emptyRegister_givesEmptyTreeWithoutSelection)
{
    m_tree.OnInitialUpdate();
    ASSERT_TRUE(WaitForTree(m_tree));

    EXPECT_EQ(m_tree.topLevelItemCount(), 0);
    EXPECT_EQ(m_tree.SelectedNode(), nullptr);
    EXPECT_EQ(m_tree.GetNodeText(), QString());
    EXPECT_EQ(m_tree.GetNodePath(), QString());
    EXPECT_TRUE(m_tree.isHeaderHidden());
}

TEST_F(TreeRebuildTest, workshopsKeepRegisterOrder_foldersSortedAscending)
{
    const QString second = MakeWorkshop(QStringLiteral("b_second"));
    const QString first = MakeWorkshop(QStringLiteral("a_first"));
    for (const char* vehicle : {"ZX900", "AB123", "MK555"})
        MakeFolder(second, QString::fromLatin1(vehicle));
    for (const char* day : {"20240301", "20221231", "20230615"})
        MakeFolder(second, QStringLiteral("AB123"), QString::fromLatin1(day));
    Register(second);
    Register(first);

    ASSERT_TRUE(RebuildAndWait(m_tree));

    EXPECT_EQ(TopLevelTexts(), QStringList({second, first}));
    const TreeNode workshop = m_tree.topLevelItem(0);
    EXPECT_EQ(ChildTexts(workshop), QStringList({"AB123", "MK555", "ZX900"}));
    EXPECT_EQ(ChildTexts(workshop->child(0)), QStringList({"20221231", "20230615", "20240301"}));

    // The register's lists mirror the tree node for node.
    const WorkshopEntry& entry = m_reg.entries().front();
    EXPECT_EQ(entry.node, workshop);
    ASSERT_EQ(entry.vehicles.size(), 3u);
    EXPECT_EQ(entry.vehicles[2].name, QStringLiteral("ZX900"));
    EXPECT_EQ(entry.vehicles[2].node, workshop->child(2));
    ASSERT_EQ(entry.vehicles[0].dates.size(), 3u);
    EXPECT_EQ(entry.vehicles[0].dates.back().name, QStringLiteral("20240301"));
    EXPECT_EQ(entry.vehicles[0].dates.back().node, workshop->child(0)->child(2));
    EXPECT_EQ(cTree::NodeLevel(workshop), TreeLevel::Workshop);
    EXPECT_EQ(workshop->child(0)->data(0, Qt::UserRole).toInt(), TreeLevel::Vehicle);
    EXPECT_EQ(cTree::NodeLevel(workshop->child(0)->child(0)), TreeLevel::Day);
}

TEST_F(TreeRebuildTest, namesWithFullStopAndFiles_areNotListed)
{
    const QString workshop = MakeWorkshop(QStringLiteral("w"));
    MakeFolder(workshop, QStringLiteral("AB123"), QStringLiteral("20240101"));
    MakeFolder(workshop, QStringLiteral("AB.123"));
    MakeFolder(workshop, QStringLiteral(".hidden"));
    MakeFolder(workshop, QStringLiteral("AB123"), QStringLiteral("2024.01.02"));
    MakeFolder(workshop, QStringLiteral("AB123"), QStringLiteral(".git"));
    MakeFile(ExchangeFolderOf(workshop) + QStringLiteral("/SINFO.BIN"));
    MakeFile(ExchangeFolderOf(workshop) + QStringLiteral("/NOEXTENSION"));
    MakeFile(ExchangeFolderOf(workshop) + QStringLiteral("/AB123/CINFO.BIN"));
    MakeFile(ExchangeFolderOf(workshop) + QStringLiteral("/AB123/20240102"));
    Register(workshop);

    ASSERT_TRUE(RebuildAndWait(m_tree));

    const TreeNode node = m_tree.topLevelItem(0);
    EXPECT_EQ(ChildTexts(node), QStringList({"AB123"}));
    EXPECT_EQ(ChildTexts(node->child(0)), QStringList({"20240101"}));
    ASSERT_EQ(m_reg.entries().front().vehicles.size(), 1u);
    EXPECT_EQ(m_reg.entries().front().vehicles.front().dates.size(), 1u);
}

TEST_F(TreeRebuildTest, workshopWithoutExchangeFolderOrGone_isShownWithoutChildren)
{
    const QString bare = MakeWorkshop(QStringLiteral("bare"), false);
    Register(bare);
    Register(m_data.filePath(QStringLiteral("never_made")));

    ASSERT_TRUE(RebuildAndWait(m_tree));

    ASSERT_EQ(m_tree.topLevelItemCount(), 2);
    EXPECT_EQ(m_tree.topLevelItem(0)->childCount(), 0);
    EXPECT_EQ(m_tree.topLevelItem(1)->childCount(), 0);
    EXPECT_TRUE(m_reg.entries()[0].vehicles.empty());
    EXPECT_EQ(m_reg.entries()[1].node, m_tree.topLevelItem(1));
}

TEST_F(TreeRebuildTest, longVehicleName_shownWholeButStoredAsTwelve)
{
    const QString workshop = MakeWorkshop(QStringLiteral("w"));
    const QString longName = QStringLiteral("ABCDEFGHIJKLM"); // 13 characters
    MakeFolder(workshop, longName, QStringLiteral("20240101"));
    Register(workshop);

    ASSERT_TRUE(RebuildAndWait(m_tree));

    EXPECT_EQ(ChildTexts(m_tree.topLevelItem(0)), QStringList({longName}));
    EXPECT_EQ(m_reg.entries().front().vehicles.front().name, QStringLiteral("ABCDEFGHIJKL"));
    EXPECT_EQ(m_reg.findVehicleByName(longName), nullptr);
    EXPECT_NE(m_reg.findVehicleByName(QStringLiteral("ABCDEFGHIJKL")), nullptr);
}

TEST_F(TreeRebuildTest, sameFolderRegisteredTwice_givesTwoWorkshopNodes)
{
    const QString workshop = MakeWorkshop(QStringLiteral("w"));
    MakeFolder(workshop, QStringLiteral("AB123"), QStringLiteral("20240101"));
    Register(workshop);
    Register(workshop);

    ASSERT_TRUE(RebuildAndWait(m_tree));

    ASSERT_EQ(m_tree.topLevelItemCount(), 2);
    EXPECT_NE(m_reg.entries()[0].node, m_reg.entries()[1].node);
    EXPECT_EQ(FindWorkshopByItem(m_reg, m_tree.topLevelItem(1)), &m_reg.entries()[1]);
    EXPECT_EQ(m_reg.entries()[1].vehicles.front().node, m_tree.topLevelItem(1)->child(0));
    // The look-up by name finds the vehicle under the first of the two.
    EXPECT_EQ(m_reg.findVehicleByName(QStringLiteral("AB123")),
              &m_reg.entries()[0].vehicles.front());
}

TEST_F(TreeRebuildTest, afterRebuild_nodesExpandedNothingSelectedNothingLoaded)
{
    const QString workshop = MakeWorkshop(QStringLiteral("w"));
    WriteCalibration(workshop, QStringLiteral("AB123"), QStringLiteral("20240101"), 7);
    MakeFolder(workshop, QStringLiteral("CD456"), QStringLiteral("20240202"));
    Register(workshop);
    ASSERT_TRUE(RebuildAndWait(m_tree));
    m_tree.SelectNode(FindNode(TreeLevel::Day, QStringLiteral("20240101")));
    EXPECT_TRUE(WaitForTree(m_tree));
    m_current.param().bytes.fill(0x55);
    m_titles.clear();

    ASSERT_TRUE(RebuildAndWait(m_tree));

    EXPECT_EQ(m_tree.SelectedNode(), nullptr);
    EXPECT_TRUE(m_tree.selectedItems().isEmpty());
    const TreeNode node = m_tree.topLevelItem(0);
    EXPECT_TRUE(node->isExpanded());
    EXPECT_TRUE(node->child(0)->isExpanded());
    EXPECT_TRUE(node->child(1)->isExpanded());
    // The rebuild neither loads nor touches the title.
    EXPECT_EQ(m_current.param().bytes[0], 0x55);
    EXPECT_TRUE(m_titles.isEmpty());
}

TEST_F(TreeRebuildTest, rebuild_followsTheDiskAndDoesNotPileUpEntries)
{
    const QString workshop = MakeWorkshop(QStringLiteral("w"));
    MakeFolder(workshop, QStringLiteral("AB123"), QStringLiteral("20240101"));
    MakeFolder(workshop, QStringLiteral("CD456"));
    Register(workshop);
    ASSERT_TRUE(RebuildAndWait(m_tree));

    ASSERT_EQ(DeleteFolderTree(ExchangeFolderOf(workshop) + QStringLiteral("/CD456")), 0);
    MakeFolder(workshop, QStringLiteral("AB123"), QStringLiteral("20240202"));
    ASSERT_TRUE(RebuildAndWait(m_tree));

    EXPECT_EQ(ChildTexts(m_tree.topLevelItem(0)), QStringList({"AB123"}));
    ASSERT_EQ(m_reg.entries().front().vehicles.size(), 1u);
    EXPECT_EQ(m_reg.entries().front().vehicles.front().dates.size(), 2u);
}

TEST_F(TreeRebuildTest, nodePathsAndTexts_followTheLevel)
{
    const QString workshop = MakeWorkshop(QStringLiteral("w"));
    MakeFolder(workshop, QStringLiteral("AB123"), QStringLiteral("20240101"));
    Register(workshop);
    ASSERT_TRUE(RebuildAndWait(m_tree));
    const TreeNode vehicle = FindNode(TreeLevel::Vehicle, QStringLiteral("AB123"));
    const TreeNode day = FindNode(TreeLevel::Day, QStringLiteral("20240101"));

    EXPECT_EQ(m_tree.GetNodePath(m_tree.topLevelItem(0)), workshop);
    EXPECT_EQ(m_tree.GetNodePath(vehicle), workshop + QStringLiteral("/RX902/AB123"));
    EXPECT_EQ(m_tree.GetNodePath(day), workshop + QStringLiteral("/RX902/AB123/20240101"));
    EXPECT_TRUE(QDir(m_tree.GetNodePath(day)).exists());
    EXPECT_EQ(m_tree.GetNodeText(day), QStringLiteral("20240101"));

    m_tree.SelectNode(vehicle);
    EXPECT_TRUE(WaitForTree(m_tree));
    EXPECT_EQ(m_tree.GetNodeText(), QStringLiteral("AB123"));
    EXPECT_EQ(m_tree.GetNodePath(), workshop + QStringLiteral("/RX902/AB123"));
}

TEST_F(TreeRebuildTest, workshopNodesShowTheRecordsNameElseTheFolderName)
{
    const struct {
        QString folder;
        QString recordName;
        QString shown;
    } cases[] = {
        {QStringLiteral("north"), QStringLiteral("  North Garage "),
         QStringLiteral("North Garage")},
        {QStringLiteral("south"), QString(), QStringLiteral("south")},
        {QStringLiteral("blank"), QStringLiteral("   "), QStringLiteral("blank")},
    };
    for (const auto& c : cases) {
        const QString workshop = MakeWorkshop(c.folder);
        MakeFolder(workshop, QStringLiteral("AB") + c.folder, QStringLiteral("20240101"));
        Register(workshop, c.recordName);
    }
    ASSERT_TRUE(RebuildAndWait(m_tree));

    for (int i = 0; i < 3; ++i) {
        const TreeNode node = m_tree.topLevelItem(i);
        const QString folder = m_data.filePath(cases[i].folder);
        EXPECT_EQ(node->text(0), cases[i].shown);
        EXPECT_EQ(node->toolTip(0), folder);
        EXPECT_EQ(m_tree.GetNodeText(node), folder);
        EXPECT_EQ(m_tree.GetNodePath(node->child(0)->child(0)),
                  folder + QStringLiteral("/RX902/AB") + cases[i].folder +
                      QStringLiteral("/20240101"));
    }
}

TEST(ListSubfolders, missingFolder_givesEmptyList)
{
    EXPECT_TRUE(ListSubfolders(QStringLiteral("/nonexistent/velmora/folder")).isEmpty());
}

TEST(ListSubfolders, linksCountAsWhatTheyLeadTo_sortedByCodeUnit)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QDir root(dir.path());
    for (const char* folder : {"b", "B", "\xD0\x96", "target"})
        ASSERT_TRUE(root.mkpath(QString::fromUtf8(folder)));
    QFile file(root.filePath(QStringLiteral("plain")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    ASSERT_TRUE(QFile::link(root.filePath(QStringLiteral("target")),
                            root.filePath(QStringLiteral("toFolder"))));
    ASSERT_TRUE(QFile::link(root.filePath(QStringLiteral("plain")),
                            root.filePath(QStringLiteral("toFile"))));
    ASSERT_TRUE(QFile::link(root.filePath(QStringLiteral("gone")),
                            root.filePath(QStringLiteral("dangling"))));

    EXPECT_EQ(ListSubfolders(dir.path()),
              QStringList({"B", "b", "target", "toFolder", QString::fromUtf8("\xD0\x96")}));
}

// After an action on one vehicle only its days are read again, with those of vehicles the tree
// did not know; the others are left as the tree has them.
TEST_F(TreeRebuildTest, partialListing_readsTheNamedAndTheUnknownVehiclesOnly)
{
    const QString workshop = MakeWorkshop(QStringLiteral("w"));
    for (const char* vehicle : {"A1", "B2", "C3"})
        MakeFolder(workshop, QString::fromLatin1(vehicle), QStringLiteral("20260101"));
    const QSet<QString> known{QStringLiteral("A1"), QStringLiteral("B2")};
    const QStringList day{QStringLiteral("20260101")};
    const struct {
        const char* what;
        std::optional<QString> vehicle;
        std::vector<QStringList> days;
    } cases[] = {
        {"whole workshop", std::nullopt, {day, day, day}},
        {"one known vehicle", QStringLiteral("B2"), {{}, day, day}},
        {"a vehicle not there", QStringLiteral("Z9"), {{}, {}, day}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const BranchListing listing = ListBranch(workshop, c.vehicle, known);
        EXPECT_EQ(listing.vehicles, QStringList({"A1", "B2", "C3"}));
        EXPECT_EQ(listing.days, c.days);
    }
}
