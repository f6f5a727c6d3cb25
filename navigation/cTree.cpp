#include "navigation/cTree.h"

#include "lang/LanguagePack.h"
#include "lang/MenuBuilder.h"
#include "lang/ResourceIds.h"
#include "lang/StringIds.h"
#include "params/CurrentRecords.h"
#include "params/cTDGrid.h"
#include "platform/Prompts.h"
#include "store/FolderOps.h"
#include "store/RecordFile.h"

#include <QContextMenuEvent>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QMouseEvent>
#include <QScopedValueRollback>

#include <algorithm>
#include <filesystem>
#include <string_view>
#include <system_error>
#include <vector>

namespace {

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

// Each workshop's branch is built outside the tree, where adding a node costs no model
// notification; the finished branches then go into the tree in one batch. The parent must
// not be in the tree yet: the base class adds the node to it before the node's own text
// and level are set.
QTreeWidgetItem* MakeNode(QTreeWidgetItem* parent, const QString& text, int level)
{
    return new TreeNodeItem(parent, text, level);
}

QString JoinPath(const QString& folder, const QString& name)
{
    return folder + u'/' + name;
}

} // namespace

QStringList ListSubfolders(const QString& folder)
{
    namespace fs = std::filesystem;
    QStringList names;
    std::error_code error;
    fs::directory_iterator it(fs::path(QFile::encodeName(folder).toStdString()),
                              fs::directory_options::skip_permission_denied, error);
    if (error)
        return names;
    // An enumeration that fails half-way ends there and lists what it found so far.
    for (; it != fs::directory_iterator(); it.increment(error)) {
        // The entry's own name is the tail of its path; taking it there spares a path object
        // per entry.
        const std::string& path = it->path().native();
        const std::string_view name = std::string_view(path).substr(path.rfind('/') + 1);
        // A name with a full stop is a file name with an extension, or hidden; neither is
        // a vehicle or a calibration day.
        if (name.find('.') != std::string_view::npos)
            continue;
        std::error_code typeError;
        if (!it->is_directory(typeError))
            continue;
        names.append(
            QFile::decodeName(QByteArray::fromRawData(name.data(), qsizetype(name.size()))));
    }
    std::sort(names.begin(), names.end());
    return names;
}

cTree::cTree(WorkshopRegister& reg, QWidget* parent) : QTreeWidget(parent), m_register(reg)
{
    setColumnCount(1);
    setSelectionMode(QAbstractItemView::SingleSelection);
    // Every row has the same height; this spares the view from measuring each row of a
    // large register.
    setUniformRowHeights(true);
    connect(this, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current, QTreeWidgetItem*) { OnSelChanged(current); });
}

cTree::~cTree()
{
    // The base classes drop the items after this object is gone; no load may run then.
    blockSignals(true);
}

void cTree::setGrid(cTDGrid* grid)
{
    m_grid = grid;
}

void cTree::setCommandSink(std::function<void(int)> sink)
{
    m_commandSink = std::move(sink);
}

void cTree::OnInitialUpdate()
{
    setHeaderHidden(true);
    setRootIsDecorated(true);
    setItemsExpandable(true);
    setDragDropMode(QAbstractItemView::NoDragDrop);
    setAllColumnsShowFocus(true);
    setMouseTracking(true);
    Rebuild();
}

void cTree::Rebuild()
{
    // Clearing the items moves the current item, which would otherwise load a calibration.
    const QScopedValueRollback guard(m_rebuilding, true);
    const bool updates = updatesEnabled();
    setUpdatesEnabled(false);

    // The new branches are built before the old nodes go: freeing tens of thousands of
    // nodes first would leave the allocator busy merging their memory during the listing.
    QList<QTreeWidgetItem*> workshopNodes;
    workshopNodes.reserve(qsizetype(m_register.entries().size()));
    for (WorkshopEntry& entry : m_register.entries()) {
        TreeNode node = MakeNode(nullptr, entry.folderPath, TreeLevel::Workshop);
        entry.node = node;
        ScanVehicles(node, entry, ExchangeFolderOf(entry.folderPath));
        workshopNodes.append(node);
    }
    clear();
    addTopLevelItems(workshopNodes);

    // Expanding needs the items inside the tree, so it follows the insertion.
    for (WorkshopEntry& entry : m_register.entries()) {
        entry.node->setExpanded(true);
        for (const VehicleEntry& vehicle : entry.vehicles)
            vehicle.node->setExpanded(true);
    }

    setCurrentItem(nullptr);
    clearSelection();
    setUpdatesEnabled(updates);
}

void cTree::ScanVehicles(TreeNode workshopNode, WorkshopEntry& entry, const QString& vehiclesFolder)
{
    entry.vehicles.clear();
    const QStringList names = ListSubfolders(vehiclesFolder);
    entry.vehicles.reserve(std::size_t(names.size()));
    for (const QString& name : names) {
        TreeNode node = MakeNode(workshopNode, name, TreeLevel::Vehicle);
        entry.vehicles.push_back(VehicleEntry{node, {}, name.left(kEntryNameChars)});
        ScanDates(node, entry.vehicles.back(), JoinPath(vehiclesFolder, name));
    }
}

void cTree::ScanDates(TreeNode vehicleNode, VehicleEntry& vehicle, const QString& vehicleFolder)
{
    vehicle.dates.clear();
    const QStringList names = ListSubfolders(vehicleFolder);
    vehicle.dates.reserve(std::size_t(names.size()));
    for (const QString& name : names) {
        TreeNode node = MakeNode(vehicleNode, name, TreeLevel::Day);
        vehicle.dates.push_back(DateEntry{node, name.left(kEntryNameChars)});
    }
}

QString cTree::GetNodeText(TreeNode node) const
{
    if (!node)
        node = SelectedNode();
    return node ? node->text(0) : QString();
}

QString cTree::GetNodePath(TreeNode node) const
{
    if (!node)
        node = SelectedNode();
    switch (NodeLevel(node)) {
    case TreeLevel::Workshop:
        return node->text(0);
    case TreeLevel::Vehicle:
        return JoinPath(ExchangeFolderOf(node->parent()->text(0)), node->text(0));
    case TreeLevel::Day: {
        const TreeNode vehicle = node->parent();
        return JoinPath(JoinPath(ExchangeFolderOf(vehicle->parent()->text(0)), vehicle->text(0)),
                        node->text(0));
    }
    default:
        return {};
    }
}

TreeNode cTree::SelectedNode() const
{
    return currentItem();
}

int cTree::NodeLevel(TreeNode node)
{
    return node ? node->data(0, Qt::UserRole).toInt() : TreeLevel::None;
}

void cTree::SelectNode(TreeNode node)
{
    setCurrentItem(node);
}

WorkshopEntry* FindWorkshopByItem(WorkshopRegister& reg, TreeNode node)
{
    if (!node)
        return nullptr;
    for (WorkshopEntry& entry : reg.entries()) {
        if (entry.node == node)
            return &entry;
    }
    return nullptr;
}

void cTree::OnSelChanged(TreeNode node)
{
    if (m_rebuilding || !node)
        return;
    switch (NodeLevel(node)) {
    case TreeLevel::Vehicle: {
        const TreeNode workshopNode = node->parent();
        emit titleChanged(QStringLiteral("Velmora [%1]").arg(node->text(0)));
        // The vehicle is looked up through its own workshop and node rather than by name
        // over the whole register: the same registration number may be filed under two
        // workshops, and a folder name longer than the stored name would not match at all.
        const WorkshopEntry* entry = FindWorkshopByItem(m_register, workshopNode);
        if (!entry)
            return;
        const auto vehicle = std::find_if(entry->vehicles.begin(), entry->vehicles.end(),
                                          [node](const VehicleEntry& v) { return v.node == node; });
        if (vehicle == entry->vehicles.end() || vehicle->dates.empty())
            return;
        const QString vehicleFolder = GetNodePath(node);
        LoadCalibration(vehicleFolder, JoinPath(vehicleFolder, vehicle->dates.back().node->text(0)),
                        workshopNode);
        return;
    }
    case TreeLevel::Day: {
        const TreeNode vehicleNode = node->parent();
        emit titleChanged(
            QStringLiteral("Velmora [%1 : %2]").arg(vehicleNode->text(0), node->text(0)));
        LoadCalibration(GetNodePath(vehicleNode), GetNodePath(node), vehicleNode->parent());
        return;
    }
    default:
        return;
    }
}

void cTree::LoadCalibration(const QString& vehicleFolder, const QString& dayFolder,
                            TreeNode workshopNode)
{
    const WorkshopEntry* entry = FindWorkshopByItem(m_register, workshopNode);
    if (!entry)
        return;
    // An edit still open belongs to the records on screen; it ends into them before they
    // are replaced, so it cannot land in the calibration loaded now.
    if (m_grid)
        m_grid->EndFocusEdit();

    // A missing file leaves its record all zero; one that exists but cannot be read does too,
    // and the user is told which.
    decltype(ParamRecord::bytes) param{};
    decltype(GsmRecord::bytes) gsm{};
    decltype(OwnerRecord::bytes) owner{};
    QStringList unreadable;
    const auto read = [&unreadable](const QString& path, std::span<std::uint8_t> dest) {
        if (!ReadRecordFile(path, dest) && QFileInfo::exists(path))
            unreadable << path;
    };
    read(JoinPath(dayFolder, kParamFileName), param);
    read(JoinPath(dayFolder, kGsmFileName), gsm);
    read(JoinPath(vehicleFolder, kOwnerFileName), owner);
    CurrentParamRecord().bytes = param;
    CurrentGsmRecord().bytes = gsm;
    CurrentOwnerRecord().bytes = owner;
    CurrentWorkshopRecord() = entry->record;
    if (m_grid)
        m_grid->Refresh();
    for (const QString& path : unreadable)
        Prompts::warn(window(), Lang(StringId::RecordUnreadable).arg(path));
}

void cTree::OnRClick(const QPoint& pos)
{
    const TreeNode selected = SelectedNode();
    if (!selected || itemAt(pos) != selected)
        return;
    // Each right click loads the menu afresh, so it follows the language pack in use.
    if (m_menu)
        m_menu->deleteLater();
    m_menu = MenuBuilder::popupMenu(ResourceId::TreeContextMenu, this, [this](int command) {
        if (m_commandSink)
            m_commandSink(command);
    });
    if (m_menu)
        m_menu->popup(viewport()->mapToGlobal(pos));
}

void cTree::contextMenuEvent(QContextMenuEvent* event)
{
    // The menu key has no cursor position of its own: it opens the menu at the selection.
    const TreeNode selected = SelectedNode();
    if (event->reason() == QContextMenuEvent::Keyboard && selected)
        OnRClick(visualItemRect(selected).center());
    else
        OnRClick(event->pos());
    event->accept();
}

// A right button press must not move the selection: the context menu only ever acts on
// the node that is already selected.
void cTree::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton) {
        event->accept();
        return;
    }
    QTreeWidget::mousePressEvent(event);
}

void cTree::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton) {
        event->accept();
        return;
    }
    QTreeWidget::mouseReleaseEvent(event);
}

void cTree::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton) {
        event->accept();
        return;
    }
    QTreeWidget::mouseDoubleClickEvent(event);
}
