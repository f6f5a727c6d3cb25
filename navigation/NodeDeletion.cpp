#include "navigation/NodeDeletion.h"

#include "lang/DisplayDate.h"
#include "lang/LanguagePack.h"
#include "lang/StringIds.h"
#include "navigation/RemoveWorkshopByItem.h"
#include "navigation/cTree.h"
#include "platform/BackgroundWork.h"
#include "platform/Prompts.h"
#include "platform/Trash.h"
#include "store/FolderLock.h"
#include "store/FolderOps.h"
#include "store/LockRefusal.h"

#include <QDir>

namespace {
// The question names what goes and whether it can be had back from the trash.
QString FolderQuestion(const cTree& tree, TreeNode node, bool toTrash)
{
    const QString folder = QDir::toNativeSeparators(tree.GetNodePath(node));
    if (cTree::NodeLevel(node) == TreeLevel::Vehicle) {
        return Lang(toTrash ? StringId::DeleteVehicleToTrash : StringId::DeleteVehiclePermanently)
            .arg(tree.GetNodeText(node))
            .arg(node->childCount())
            .arg(folder);
    }
    return Lang(toTrash ? StringId::DeleteDayToTrash : StringId::DeleteDayPermanently)
        .arg(DisplayDayStamp(tree.GetNodeText(node)), tree.GetNodeText(node->parent()), folder);
}
} // namespace

void DeleteSelectedNode(WorkshopRegister& reg, cTree& tree, QWidget* window)
{
    const TreeNode node = tree.SelectedNode();
    const int level = cTree::NodeLevel(node);
    if (level != TreeLevel::Vehicle && level != TreeLevel::Day) {
        const QString text = node ? tree.GetNodeText(node) : QString();
        const QString question =
            QStringLiteral("%1 '%2' ?").arg(Lang(StringId::DeleteQuestion), text);
        if (Prompts::askYesNo(window, question) == Prompts::Answer::Yes &&
            level == TreeLevel::Workshop)
            RemoveWorkshopByItem(reg, tree, node, window);
        return;
    }

    const QString folder = tree.GetNodePath(node);
    // Whether the folder's file system has a trash is asked of the disk, off this thread.
    bool toTrash = false;
    BackgroundWork::Run(window, Lang(StringId::WaitingForFolder),
                        [&] { toTrash = Trash::canTake(folder); });
    if (Prompts::askYesNo(window, FolderQuestion(tree, node, toTrash)) != Prompts::Answer::Yes)
        return;
    const TreeNode vehicle = level == TreeLevel::Vehicle ? node : node->parent();
    const QString vehicleName = tree.GetNodeText(vehicle);
    const QString workshopFolder = tree.GetNodeText(vehicle->parent());
    // Under the vehicle's lock, so that no save of another workstation writes into a folder
    // half deleted. The lock is taken and given up (its file removed) on the worker.
    const QString lockPath = FolderLock::VehicleLockPath(tree.GetNodePath(vehicle));
    FolderLock::Result locked = FolderLock::Result::Failed;
    QString holder;
    bool deleted = false;
    BackgroundWork::Run(window, Lang(StringId::WaitingForDelete).arg(folder), [&] {
        FolderLock lock(lockPath);
        locked = lock.Acquire();
        holder = lock.Holder();
        if (locked == FolderLock::Result::Locked)
            deleted = toTrash ? Trash::move(folder) : DeleteFolderTree(folder) == 0;
    });
    if (locked != FolderLock::Result::Locked) {
        Prompts::warn(window, LockRefusal::Text(locked, LockRefusal::Scope::Vehicle, vehicleName,
                                                holder, lockPath));
        return;
    }
    tree.RefreshVehicle(workshopFolder, vehicleName);
    if (deleted) {
        tree.ForgetDeletedFolder(folder);
        return;
    }
    // The refreshed tree shows what is left; the user is told that something is.
    Prompts::warn(window,
                  Lang(toTrash ? StringId::TrashFailed : StringId::FolderDeleteFailed).arg(folder));
}
