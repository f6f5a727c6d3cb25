#include "navigation/TreeNodes.h"

#include <QTreeWidgetItem>

#include <vector>

namespace {

// Where a workshop node keeps its folder path, its text being the workshop's name.
constexpr int kFolderPathRole = Qt::UserRole + 1;

// A tree node that keeps its text and level in two members instead of the item's generic
// per-role storage: the rebuild makes tens of thousands of nodes, and the generic storage
// costs several allocations for each. Both still read as the item's data (the text as
// Qt::DisplayRole, the level as Qt::UserRole), and setData() keeps them in step.
class TreeNodeItem final : public QTreeWidgetItem {
public:
    // Nodes come and go by the ten thousand on every rebuild; node-sized slots kept on a
    // free list spare the general allocator most of that traffic.
    static void* operator new(std::size_t size);
    static void operator delete(void* slot);

    TreeNodeItem(QTreeWidgetItem* parent, const QString& text, int level)
        : QTreeWidgetItem(parent, UserType), m_text(text), m_level(level)
    {
    }

    QVariant data(int column, int role) const override
    {
        if (column == 0 && (role == Qt::DisplayRole || role == Qt::EditRole))
            return m_text;
        if (column == 0 && role == Qt::UserRole)
            return m_level;
        return QTreeWidgetItem::data(column, role);
    }

    void setData(int column, int role, const QVariant& value) override
    {
        if (column == 0 && (role == Qt::DisplayRole || role == Qt::EditRole))
            m_text = value.toString();
        else if (column == 0 && role == Qt::UserRole)
            m_level = value.toInt();
        QTreeWidgetItem::setData(column, role, value);
    }

    QTreeWidgetItem* clone() const override
    {
        auto* copy = new TreeNodeItem(nullptr, m_text, m_level);
        for (int i = 0; i < childCount(); ++i)
            copy->addChild(child(i)->clone());
        return copy;
    }

private:
    QString m_text;
    int m_level;
};

std::vector<void*>& FreeNodeSlots()
{
    // Never destroyed: a node may still be freed while static objects are torn down.
    static auto* freeSlots = new std::vector<void*>;
    return *freeSlots;
}

void* TreeNodeItem::operator new(std::size_t size)
{
    Q_ASSERT(size == sizeof(TreeNodeItem));
    std::vector<void*>& freeSlots = FreeNodeSlots();
    if (freeSlots.empty()) {
        constexpr std::size_t kSlotsPerBlock = 1024;
        auto* block = static_cast<char*>(::operator new(size* kSlotsPerBlock));
        for (std::size_t i = 0; i < kSlotsPerBlock; ++i)
            freeSlots.push_back(block + i * size);
    }
    void* slot = freeSlots.back();
    freeSlots.pop_back();
    return slot;
}

void TreeNodeItem::operator delete(void* slot)
{
    FreeNodeSlots().push_back(slot);
}

} // namespace

TreeNode MakeNode(TreeNode parent, const QString& text, int level)
{
    // The base class adds the node to its parent before the node's own text and level are
    // set; a parent already in a tree would be told of a node without them.
    return new TreeNodeItem(parent, text, level);
}

TreeNode MakeWorkshopNode(const WorkshopEntry& entry)
{
    const TreeNode node = MakeNode(nullptr, WorkshopDisplayName(entry), TreeLevel::Workshop);
    node->setData(0, kFolderPathRole, entry.folderPath);
    node->setToolTip(0, entry.folderPath);
    return node;
}

void ShowWorkshopName(const WorkshopEntry& entry)
{
    if (entry.node)
        entry.node->setText(0, WorkshopDisplayName(entry));
}

QString WorkshopFolderOf(TreeNode workshopNode)
{
    if (!workshopNode || workshopNode->data(0, Qt::UserRole).toInt() != TreeLevel::Workshop)
        return {};
    return workshopNode->data(0, kFolderPathRole).toString();
}
