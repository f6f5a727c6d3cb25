#include "navigation/RemoveWorkshopByItem.h"

#include "navigation/cTree.h"
#include "store/RegisterSaver.h"

void RemoveWorkshopByItem(WorkshopRegister& reg, cTree& tree, TreeNode node, QWidget* parent)
{
    if (!reg.removeByNode(node))
        return;
    // The rebuild gives the remaining entries their new nodes before anything else looks.
    tree.Rebuild();
    SaveRegisterOrWarn(reg, parent);
}
