#pragma once

#include "store/WorkshopRegister.h"

class cTree;
class QWidget;

// Unregisters the workshop whose node is `node`, drops its node and saves the register
// (warning the user when the save fails). The workshop's folder stays on disk. Does nothing
// when no entry has that node.
void RemoveWorkshopByItem(WorkshopRegister& reg, cTree& tree, TreeNode node, QWidget* parent);
