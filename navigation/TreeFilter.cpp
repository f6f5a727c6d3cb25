#include "navigation/TreeFilter.h"

#include "navigation/TreeNodes.h"
#include "navigation/VehicleIndex.h"
#include "navigation/cTree.h"

TreeFilter::TreeFilter(cTree& tree, const VehicleIndex& index) : m_tree(tree), m_index(index) {}

void TreeFilter::setText(const QString& text)
{
    m_text = text;
    const FindText find(text);
    if (find.isEmpty()) {
        if (m_active)
            restore();
        return;
    }
    if (!m_gathered)
        gather();
    m_active = true;
    apply(find);
}

void TreeFilter::invalidate()
{
    m_gathered = false;
    m_rows.clear();
    m_workshops.clear();
    if (m_active)
        setText(m_text);
}

void TreeFilter::keysChanged()
{
    if (!m_gathered)
        return;
    for (const Workshop& workshop : m_workshops) {
        for (std::size_t r = workshop.firstRow; r < workshop.endRow; ++r)
            m_rows[r].keys = keysOf(workshop.folder, m_rows[r].node);
    }
    if (m_active)
        apply(FindText(m_text));
}

FindKeys TreeFilter::keysOf(const QString& workshopFolder, TreeNode vehicle) const
{
    const QString name = vehicle->text(0);
    const FindKeys* keys = m_index.keysOf(workshopFolder, name);
    return keys ? *keys : FindKeys::fold(name);
}

void TreeFilter::gather()
{
    m_rows.clear();
    m_workshops.clear();
    for (int w = 0; w < m_tree.topLevelItemCount(); ++w) {
        const TreeNode workshop = m_tree.topLevelItem(w);
        const QString folder = WorkshopFolderOf(workshop);
        Workshop shown{workshop, folder, m_rows.size(), m_rows.size(), workshop->isHidden()};
        for (int v = 0; v < workshop->childCount(); ++v) {
            const TreeNode vehicle = workshop->child(v);
            m_rows.push_back({vehicle, keysOf(folder, vehicle), vehicle->isHidden()});
        }
        shown.endRow = m_rows.size();
        m_workshops.push_back(shown);
    }
    m_gathered = true;
}

void TreeFilter::apply(const FindText& text)
{
    std::vector<char> found;
    for (Workshop& workshop : m_workshops) {
        found.assign(workshop.endRow - workshop.firstRow, 0);
        bool any = false;
        for (std::size_t r = workshop.firstRow; r < workshop.endRow; ++r) {
            found[r - workshop.firstRow] = text.matches(m_rows[r].keys) ? 1 : 0;
            any = any || found[r - workshop.firstRow];
        }
        if (workshop.hidden == any) {
            workshop.node->setHidden(!any);
            workshop.hidden = !any;
        }
        // Rows under a hidden workshop are left as they are: hiding a row costs the view far
        // more than matching it, and they do not show either way.
        if (!any)
            continue;
        for (std::size_t r = workshop.firstRow; r < workshop.endRow; ++r) {
            Row& row = m_rows[r];
            const bool hide = !found[r - workshop.firstRow];
            if (row.hidden != hide) {
                row.node->setHidden(hide);
                row.hidden = hide;
            }
        }
        if (!workshop.node->isExpanded()) {
            m_opened.push_back(m_tree.NodeAddress(workshop.node));
            workshop.node->setExpanded(true);
        }
    }
}

void TreeFilter::restore()
{
    m_active = false;
    if (!m_gathered)
        gather();
    for (Row& row : m_rows) {
        if (row.hidden) {
            row.node->setHidden(false);
            row.hidden = false;
        }
    }
    for (Workshop& workshop : m_workshops) {
        if (workshop.hidden) {
            workshop.node->setHidden(false);
            workshop.hidden = false;
        }
    }
    for (const QStringList& address : m_opened) {
        if (const TreeNode node = m_tree.NodeAt(address))
            node->setExpanded(false);
    }
    m_opened.clear();
    if (const TreeNode selected = m_tree.SelectedNode())
        m_tree.scrollToItem(selected, QAbstractItemView::PositionAtCenter);
}

TreeNode TreeFilter::firstMatch() const
{
    if (!m_active)
        return nullptr;
    for (const Workshop& workshop : m_workshops) {
        for (std::size_t r = workshop.firstRow; r < workshop.endRow && !workshop.hidden; ++r) {
            if (!m_rows[r].hidden)
                return m_rows[r].node;
        }
    }
    return nullptr;
}
