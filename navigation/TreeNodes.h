#pragma once

#include "store/WorkshopRegister.h"

#include <QString>

// Level of a tree node, kept as the item's data (Qt::UserRole).
namespace TreeLevel {
constexpr int None = 0, Workshop = 1, Vehicle = 2, Day = 3;
}

// A new node of that text and level, added as the last child of `parent` when there is one.
// Adding to a parent that is not in a tree yet costs no model notification, which is why
// branches are built outside the tree and put in whole.
TreeNode MakeNode(TreeNode parent, const QString& text, int level);
