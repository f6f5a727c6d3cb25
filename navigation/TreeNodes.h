#pragma once

#include "navigation/WorkshopName.h"
#include "store/WorkshopRegister.h"

#include <QString>
#include <QtCore/qnamespace.h>

// Level of a tree node, kept as the item's data (Qt::UserRole).
namespace TreeLevel {
constexpr int None = 0, Workshop = 1, Vehicle = 2, Day = 3;
}

// What a workshop node shows of its folder's listing, kept as the item's data in
// kWorkshopMarkRole: nothing, still being read, or not reachable (the reason in its tooltip).
namespace WorkshopMark {
constexpr int None = 0, Reading = 1, Unreachable = 2;
}
inline constexpr int kWorkshopMarkRole = Qt::UserRole + 2;

// A new node of that text and level, added as the last child of `parent` when there is one.
// Adding to a parent that is not in a tree yet costs no model notification, which is why
// branches are built outside the tree and put in whole.
TreeNode MakeNode(TreeNode parent, const QString& text, int level);

// A workshop's node, not yet in a tree: its text is the workshop's name (see
// WorkshopDisplayName), its tooltip and folder (WorkshopFolderOf) the full folder path.
TreeNode MakeWorkshopNode(const WorkshopEntry& entry);
// Puts the entry's current name on its node, after its details changed.
void ShowWorkshopName(const WorkshopEntry& entry);
// The folder path a workshop node stands for; "" for any other node.
QString WorkshopFolderOf(TreeNode workshopNode);
