#include "navigation/RemoveWorkshopByItem.h"

#include "navigation/cTree.h"
#include "store/RegisterSaver.h"

void RemoveWorkshopByItem(WorkshopRegister& reg, cTree& tree, TreeNode node, QWidget* parent)
{
    if (!reg.removeByNode(node))
        return;
    tree.DropWorkshopNode(node);
    SaveRegisterOrWarn(reg, parent);
}
