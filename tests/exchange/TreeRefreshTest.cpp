#include "app/CMainFrame.h"
#include "tests/support/TreeWaits.h"
#include "app/CVelmoraApp.h"
#include "lang/LanguagePack.h"
#include "lang/ResourceIds.h"
#include "lang/StringIds.h"
#include "navigation/TreeNodes.h"
#include "navigation/cTree.h"
#include "params/ParamRecord.h"
#include "params/RegistrationNumber.h"
#include "platform/ModalRunner.h"
#include "platform/Prompts.h"
#include "store/FolderOps.h"
#include "store/RecordFile.h"
#include "store/WorkshopRegister.h"
#include "tests/exchange/TransferFixture.h"
#include "tests/support/CommandActions.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>

#include <functional>
#include <string>

namespace {

// The tree and the register's lists, node for node, as lines of text; a node that is not
// the one its register entry holds is marked, so the two cannot drift apart unseen.
std::string Describe(const cTree& tree, const WorkshopRegister& reg)
{
    QStringList lines;
    const auto mark = [](bool same) {
        return same ? QString() : QStringLiteral(" NOT THE ENTRY'S");
    };
    const auto& entries = reg.entries();
    lines
        << QStringLiteral("%1 nodes, %2 entries").arg(tree.topLevelItemCount()).arg(entries.size());
    for (int w = 0; w < tree.topLevelItemCount() && w < int(entries.size()); ++w) {
        const TreeNode node = tree.topLevelItem(w);
        const WorkshopEntry& entry = entries[std::size_t(w)];
        lines << QStringLiteral("%1 L%2 %3%4")
                     .arg(tree.GetNodeText(node))
                     .arg(cTree::NodeLevel(node))
                     .arg(node->isExpanded())
                     .arg(mark(entry.node == node && entry.folderPath == tree.GetNodeText(node)));
        lines << QStringLiteral("  %1 vehicles, %2 nodes")
                     .arg(entry.vehicles.size())
                     .arg(node->childCount());
        for (int v = 0; v < node->childCount() && v < int(entry.vehicles.size()); ++v) {
            const TreeNode vehicle = node->child(v);
            const VehicleEntry& vehicleEntry = entry.vehicles[std::size_t(v)];
            lines << QStringLiteral("  %1 L%2 %3 %4%5")
                         .arg(vehicle->text(0))
                         .arg(cTree::NodeLevel(vehicle))
                         .arg(vehicle->isExpanded())
                         .arg(vehicleEntry.name, mark(vehicleEntry.node == vehicle));
            lines << QStringLiteral("    %1 days, %2 nodes")
                         .arg(vehicleEntry.dates.size())
                         .arg(vehicle->childCount());
            for (int d = 0; d < vehicle->childCount() && d < int(vehicleEntry.dates.size()); ++d) {
                const TreeNode day = vehicle->child(d);
                const DateEntry& date = vehicleEntry.dates[std::size_t(d)];
                lines << QStringLiteral("    %1 L%2 %3 %4%5")
                             .arg(day->text(0))
                             .arg(cTree::NodeLevel(day))
                             .arg(day->childCount())
                             .arg(date.name, mark(date.node == day));
            }
        }
    }
    return lines.join(u'\n').toStdString();
}

QString PathOf(TreeNode node)
{
    QStringList parts;
    for (; node; node = node->parent())
        parts.prepend(node->parent() ? node->text(0) : WorkshopFolderOf(node));
    return parts.join(u'|');
}

// Two workshops, the first registered twice, each action taken from the main window's menu
// as the user takes it. After the action only the workshop it changed may have new nodes,
// and the tree and register end as a full rebuild of the same disk leaves them.
class TreeRefreshTest : public TransferFixture {
protected:
    // Fresh workshop folders for each case, registered in the data folder.
    void MakeScene(int index)
    {
        m_a = MakeWorkshopFolder(QStringLiteral("A%1").arg(index));
        m_b = MakeWorkshopFolder(QStringLiteral("B%1").arg(index));
        for (const auto& [vehicle, day] : {std::pair{"AAA111", "20240101"},
                                           {"AAA111", "20240202"},
                                           {"BBB222", "20240303"},
                                           {"LONGNUMBER123", "20240304"}})
            MakeNamedCalibration(m_a, QString::fromLatin1(vehicle), QString::fromLatin1(day));
        MakeNamedCalibration(m_b, QStringLiteral("CCC333"), QStringLiteral("20240404"));
        WorkshopRegister reg;
        for (const QString& folder : {m_a, m_b, m_a})
            reg.entries().push_back({nullptr, {}, {}, folder});
        ASSERT_TRUE(reg.save(WorkshopRegister::serviceFilePath()));
    }

    // A calibration whose parameter record names the vehicle, as saves need.
    void MakeNamedCalibration(const QString& workshop, const QString& vehicle, const QString& day)
    {
        const QString folder = ExchangeFolderOf(workshop) + u'/' + vehicle + u'/' + day;
        ASSERT_TRUE(QDir().mkpath(folder));
        ParamRecord param;
        EncodeRegistrationNumber(vehicle, param.bytes.data() + ParamRecord::Layout::RegNumberOffset,
                                 ParamRecord::Layout::RegNumberWidth,
                                 param.bytes[ParamRecord::Layout::CodePageOffset]);
        ASSERT_TRUE(WriteRecordFile(folder + u'/' + kParamFileName, param.bytes));
    }

    QString m_a;
    QString m_b;
};

struct ActionCase {
    const char* name;
    // The workshop whose nodes must all stay as they were: 'A' or 'B'.
    char kept;
    // Selects, queues the answers and triggers the command.
    std::function<void(cTree&, CMainFrame&)> act;
    // The selected node afterwards, as workshop|vehicle|day; empty for none.
    std::function<QString()> selection;
};

TEST_F(TreeRefreshTest, eachActionRereadsOnlyItsWorkshopAndEndsAsAFullRebuild)
{
    const auto find = [](cTree& tree, int entry, const QString& vehicle, const QString& day) {
        TreeNode node = tree.topLevelItem(entry);
        for (const QString& text : {vehicle, day}) {
            if (text.isEmpty() || !node)
                break;
            TreeNode next = nullptr;
            for (int i = 0; i < node->childCount(); ++i) {
                if (node->child(i)->text(0) == text)
                    next = node->child(i);
            }
            node = next;
        }
        return node;
    };
    const auto trigger = [](CMainFrame& frame, int command) {
        QAction* action = FindCommandAction(frame.menuBar()->findChildren<QAction*>(), command);
        ASSERT_NE(action, nullptr) << command;
        action->trigger();
    };
    const auto none = [] { return QString(); };

    const ActionCase cases[] = {
        {"save", 'B',
         [&](cTree& tree, CMainFrame& frame) {
             tree.SelectNode(find(tree, 0, QStringLiteral("AAA111"), QStringLiteral("20240101")));
             EXPECT_TRUE(WaitForTree(tree));
             trigger(frame, CommandId::SaveCalibration);
         },
         [&] { return m_a + QStringLiteral("|AAA111|") + TodayStamp(); }},
        {"new vehicle", 'B',
         [&](cTree&, CMainFrame& frame) {
             ModalRunner::pushHandler([](QDialog& dialog) {
                 dialog.findChild<QComboBox*>(QStringLiteral("id1015"))->setCurrentIndex(2);
                 dialog.findChild<QLineEdit*>(QStringLiteral("id1016"))
                     ->setText(QStringLiteral("AAA100"));
                 dialog.accept();
                 return dialog.result();
             });
             trigger(frame, CommandId::NewVehicle);
         },
         none},
        {"delete vehicle", 'B',
         [&](cTree& tree, CMainFrame& frame) {
             tree.SelectNode(find(tree, 2, QStringLiteral("BBB222"), {}));
             EXPECT_TRUE(WaitForTree(tree));
             Prompts::pushAnswer(Prompts::Answer::Yes);
             trigger(frame, CommandId::DeleteNode);
         },
         none},
        {"delete day", 'B',
         [&](cTree& tree, CMainFrame& frame) {
             tree.SelectNode(find(tree, 0, QStringLiteral("AAA111"), QStringLiteral("20240202")));
             EXPECT_TRUE(WaitForTree(tree));
             Prompts::pushAnswer(Prompts::Answer::Yes);
             trigger(frame, CommandId::DeleteNode);
         },
         none},
        {"import", 'B',
         [&](cTree& tree, CMainFrame& frame) {
             for (const char* day : {"/RX902/AAA111/20250505", "/RX902/EEE555/20250606"}) {
                 const QString folder = m_drive + QString::fromLatin1(day);
                 EXPECT_TRUE(QDir().mkpath(folder));
                 EXPECT_TRUE(WriteRecordFile(folder + u'/' + kParamFileName, ParamRecord().bytes));
             }
             tree.SelectNode(tree.topLevelItem(0));
             EXPECT_TRUE(WaitForTree(tree));
             PushDriveChoice(m_drive + u'/');
             trigger(frame, CommandId::Import);
         },
         [&] { return m_a; }},
        {"delete workshop node", 'B',
         [&](cTree& tree, CMainFrame& frame) {
             tree.SelectNode(tree.topLevelItem(0));
             EXPECT_TRUE(WaitForTree(tree));
             Prompts::pushAnswer(Prompts::Answer::Yes);
             trigger(frame, CommandId::DeleteNode);
         },
         none},
        {"remove from the workshop list", 'A',
         [&](cTree&, CMainFrame& frame) {
             ModalRunner::pushHandler([](QDialog& dialog) {
                 dialog.findChild<QListWidget*>(QStringLiteral("id1000"))->setCurrentRow(1);
                 dialog.findChild<QPushButton*>(QStringLiteral("id1003"))->click();
                 dialog.reject();
                 return dialog.result();
             });
             trigger(frame, CommandId::WorkshopList);
         },
         none},
    };

    for (int index = 0; index < int(std::size(cases)); ++index) {
        const ActionCase& action = cases[index];
        SCOPED_TRACE(action.name);
        MakeScene(index);
        CVelmoraApp app;
        ASSERT_TRUE(app.InitInstance());
        ASSERT_TRUE(WaitForTree(*app.mainWindow()->tree()));
        CMainFrame& frame = *app.mainWindow();
        cTree& tree = *frame.tree();
        WorkshopRegister& reg = app.workshopRegister();

        // A vehicle the user closed in the workshop the action changes: a refresh opens it
        // again, as a rebuild does.
        if (action.kept == 'A')
            find(tree, 1, QStringLiteral("CCC333"), {})->setExpanded(false);
        else
            find(tree, 0, QStringLiteral("BBB222"), {})->setExpanded(false);
        const auto nodesOf = [&reg](const QString& folder) {
            QList<TreeNode> nodes;
            for (const WorkshopEntry& entry : reg.entries()) {
                if (entry.folderPath != folder)
                    continue;
                nodes << entry.node;
                for (const VehicleEntry& vehicle : entry.vehicles)
                    nodes << vehicle.node;
            }
            return nodes;
        };
        const QString kept = action.kept == 'A' ? m_a : m_b;
        const QList<TreeNode> keptBefore = nodesOf(kept);
        action.act(tree, frame);
        EXPECT_FALSE(ModalRunner::hasPendingHandlers());
        EXPECT_EQ(PathOf(tree.SelectedNode()), action.selection());
        EXPECT_FALSE(keptBefore.isEmpty());
        EXPECT_EQ(nodesOf(kept), keptBefore);
        const std::string afterAction = Describe(tree, reg);

        ASSERT_TRUE(RebuildAndWait(tree));

        EXPECT_EQ(afterAction, Describe(tree, reg));
        // The only message is the question a deletion asks.
        const auto isQuestion = [](const QString& text) {
            for (const int id : {StringId::DeleteQuestion, StringId::DeleteVehicleToTrash,
                                 StringId::DeleteDayToTrash}) {
                if (text.startsWith(Lang(id).section(u'%', 0, 0)))
                    return true;
            }
            return false;
        };
        for (const QString& text : ShownTexts())
            EXPECT_TRUE(isQuestion(text)) << text.toStdString();
    }
}

} // namespace
