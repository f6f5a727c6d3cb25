#include "navigation/NodeDeletion.h"

#include "lang/LanguagePack.h"
#include "lang/StringIds.h"
#include "navigation/RemoveWorkshopByItem.h"
#include "navigation/cTree.h"
#include "platform/Prompts.h"
#include "store/FolderOps.h"

void DeleteSelectedNode(WorkshopRegister& reg, cTree& tree, QWidget* window)
{
    const TreeNode node = tree.SelectedNode();
    const int level = cTree::NodeLevel(node);
    const QString text = node ? tree.GetNodeText(node) : QString();
    const QString question = QStringLiteral("%1 '%2' ?").arg(Lang(StringId::DeleteQuestion), text);
    if (Prompts::askYesNo(window, question) != Prompts::Answer::Yes)
        return;

    switch (level) {
    case TreeLevel::Workshop:
        RemoveWorkshopByItem(reg, tree, node, window);
        return;
    case TreeLevel::Vehicle:
    case TreeLevel::Day: {
        const QString folder = tree.GetNodePath(node);
        const TreeNode vehicle = level == TreeLevel::Vehicle ? node : node->parent();
        const QString vehicleName = tree.GetNodeText(vehicle);
        const QString workshopFolder = tree.GetNodeText(vehicle->parent());
        const bool deleted = DeleteFolderTree(folder) == 0;
        tree.RefreshVehicle(workshopFolder, vehicleName);
        if (deleted)
            tree.ForgetDeletedFolder(folder);
        // The refreshed tree shows what is left; the user is told that something is.
        if (!deleted)
            Prompts::warn(window, Lang(StringId::FolderDeleteFailed).arg(folder));
        return;
    }
    default:
        return;
    }
}
