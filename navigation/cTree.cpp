#include "navigation/cTree.h"

#include "lang/DisplayDate.h"
#include "lang/LanguagePack.h"
#include "lang/MenuBuilder.h"
#include "lang/ResourceIds.h"
#include "lang/StringIds.h"
#include "navigation/BranchLister.h"
#include "navigation/BranchReader.h"
#include "navigation/GuardedSelectionModel.h"
#include "navigation/InspectionDue.h"
#include "navigation/TreeNodes.h"
#include "navigation/WorkshopListings.h"
#include "params/CalibrationFiles.h"
#include "params/CurrentCalibration.h"
#include "params/cTDGrid.h"
#include "platform/BackgroundWork.h"
#include "platform/Prompts.h"
#include "store/CalibrationPlace.h"
#include "store/FolderLock.h"
#include "store/FolderOps.h"
#include "store/RecordFaults.h"
#include "store/RecordFile.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QFile>
#include <QFileInfo>
#include <QHelpEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <QStyle>
#include <QTimer>
#include <QToolTip>

#include <algorithm>
#include <vector>

namespace {

// Whether two register paths name one folder: written alike, or resolving to the same folder.
bool SameFolder(const QString& a, const QString& canonicalB, const QString& b)
{
    if (a == b)
        return true;
    return !canonicalB.isEmpty() && QFileInfo(a).canonicalFilePath() == canonicalB;
}

// The bytes of a calibration's three files as they are on disk now, to tell whether another
// workstation saved over them; files that cannot be read count as empty.
QByteArray CalibrationContent(const CalibrationPlace& place)
{
    QByteArray content;
    for (const QString& path : {place.paramFile(), place.gsmFile(), place.ownerFile()}) {
        QFile file(path);
        const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        content += QByteArray::number(bytes.size()) + ':' + bytes;
    }
    return content;
}

} // namespace

cTree::cTree(WorkshopRegister& reg, CurrentCalibration& current, QWidget* parent)
    : QTreeWidget(parent), m_register(reg), m_current(current)
{
    setColumnCount(1);
    setSelectionMode(QAbstractItemView::SingleSelection);
    // Every row has the same height; this spares the view from measuring each row of a
    // large register.
    setUniformRowHeights(true);
    // Leaving changed values asks first, so the move of the current item must be refusable
    // before it happens, whether by click, key or type-ahead.
    QItemSelectionModel* previous = selectionModel();
    auto* guarded = new GuardedSelectionModel(model(), this);
    guarded->setGuard([this](const QModelIndex& index) {
        const TreeNode target = itemFromIndex(index);
        return m_selectingFromCode || !m_leaveGuard || !LoadsCalibration(target) ||
               m_leaveGuard(target);
    });
    setSelectionModel(guarded);
    delete previous;
    connect(guarded, &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { OnSelChanged(itemFromIndex(current)); });
    m_listings = new WorkshopListings(this);
    connect(m_listings, &WorkshopListings::listed, this, &cTree::OnListed);
    connect(m_listings, &WorkshopListings::unreachable, this, &cTree::OnUnreachable);
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
    // The workshop nodes are shown at once; their branches follow from the workers.
    const QScopedValueRollback guard(m_rebuilding, true);
    clear();
    for (WorkshopEntry& entry : m_register.entries()) {
        entry.node = MakeWorkshopNode(entry);
        BranchReader::Build(entry, {});
        addTopLevelItem(entry.node);
    }
    setCurrentItem(nullptr);
    RequestListings();
    m_listings->WaitFor(kFirstWaitMs);
}

bool cTree::ListingsPending() const
{
    return m_listings->AnyPending();
}

void cTree::RequestListings()
{
    QStringList asked;
    for (const WorkshopEntry& entry : m_register.entries()) {
        if (!entry.node || entry.node->treeWidget() != this)
            continue;
        if (!asked.contains(entry.folderPath)) {
            m_listings->Request(entry.folderPath);
            asked << entry.folderPath;
        }
        if (entry.node->data(0, kWorkshopMarkRole).toInt() != WorkshopMark::Unreachable)
            SetMark(entry, WorkshopMark::Reading);
    }
}

void cTree::SetMark(const WorkshopEntry& entry, int mark, const QString& reason)
{
    entry.node->setData(0, kWorkshopMarkRole, mark);
    switch (mark) {
    case WorkshopMark::Reading:
        entry.node->setIcon(0, style()->standardIcon(QStyle::SP_BrowserReload));
        entry.node->setToolTip(0, Lang(StringId::ReadingWorkshop) + u'\n' + entry.folderPath);
        break;
    case WorkshopMark::Unreachable:
        entry.node->setIcon(0, style()->standardIcon(QStyle::SP_MessageBoxWarning));
        entry.node->setToolTip(0, Lang(StringId::WorkshopUnreachable)
                                          .arg(reason.isEmpty()
                                                   ? Lang(StringId::NoAnswerWithin)
                                                         .arg(WorkshopListings::TimeoutMs() / 1000)
                                                   : reason) +
                                      u'\n' + entry.folderPath);
        break;
    default:
        entry.node->setIcon(0, QIcon());
        entry.node->setToolTip(0, entry.folderPath);
        break;
    }
}

void cTree::OnListed(const QString& folder, const BranchListing& listing)
{
    // A dialog or file work under way may hold nodes of this tree: the listing waits for it.
    if (QApplication::activeModalWidget() || BackgroundWork::Busy()) {
        QTimer::singleShot(kFirstWaitMs, this,
                           [this, folder, listing] { OnListed(folder, listing); });
        return;
    }
    const QStringList selected = NodeAddress(SelectedNode());
    {
        const QScopedValueRollback guard(m_rebuilding, true);
        setCurrentItem(nullptr);
        for (WorkshopEntry& entry : m_register.entries()) {
            if (entry.folderPath != folder || !entry.node || entry.node->treeWidget() != this)
                continue;
            if (entry.vehicles.empty()) {
                // A branch filled the first time is built outside the tree and put back
                // whole, which costs the view one notification instead of one per node.
                const int row = indexOfTopLevelItem(entry.node);
                takeTopLevelItem(row);
                BranchReader::Build(entry, listing);
                insertTopLevelItem(row, entry.node);
                BranchReader::Open(entry);
            } else {
                BranchReader::Apply(entry, listing);
            }
            SetMark(entry, WorkshopMark::None);
        }
        // Back on its node without loading or asking: what is on screen is judged below.
        if (const TreeNode again = NodeAt(selected)) {
            const QScopedValueRollback fromCode(m_selectingFromCode, true);
            setCurrentItem(again);
        }
    }
    emit branchesRead(folder, QString());
    if (m_shownDay.startsWith(ExchangeFolderOf(folder) + u'/'))
        JudgeShown();
}

void cTree::OnUnreachable(const QString& folder, const QString& reason)
{
    for (const WorkshopEntry& entry : m_register.entries()) {
        if (entry.folderPath == folder && entry.node && entry.node->treeWidget() == this)
            SetMark(entry, WorkshopMark::Unreachable, reason);
    }
}

void cTree::Rebuild()
{
    // Clearing the items moves the current item, which would otherwise load a calibration.
    const QScopedValueRollback guard(m_rebuilding, true);
    const bool updates = updatesEnabled();
    setUpdatesEnabled(false);

    std::vector<QString> folders;
    folders.reserve(m_register.entries().size());
    for (const WorkshopEntry& entry : m_register.entries())
        folders.push_back(entry.folderPath);
    // The old nodes go while the first workshops are being listed; each new branch is built
    // outside the tree and put in whole, which costs the view one notification.
    BranchLister lister(std::move(folders));
    clear();
    for (std::size_t i = 0; i < m_register.entries().size(); ++i) {
        WorkshopEntry& entry = m_register.entries()[i];
        entry.node = MakeWorkshopNode(entry);
        BranchReader::Build(entry, lister.take(i));
        addTopLevelItem(entry.node);
    }

    // Expanding needs the items inside the tree, so it follows the insertion.
    for (const WorkshopEntry& entry : m_register.entries())
        BranchReader::Open(entry);

    setCurrentItem(nullptr);
    clearSelection();
    setUpdatesEnabled(updates);
    emit branchesRead(QString(), QString());
}

void cTree::RefreshWorkshop(const QString& workshopFolder)
{
    Refresh(workshopFolder, std::nullopt);
}

void cTree::RefreshVehicle(const QString& workshopFolder, const QString& vehicleName)
{
    Refresh(workshopFolder, vehicleName);
}

void cTree::Refresh(const QString& workshopFolder, const std::optional<QString>& vehicle)
{
    // What was on screen came from the folders read again here: the node that was selected
    // is selected again and loaded afresh, or, when it is gone, nothing stale stays shown.
    const QStringList selected = NodeAddress(SelectedNode());
    Sync(workshopFolder, vehicle);
    if (selected.isEmpty())
        return;
    if (const TreeNode again = NodeAt(selected))
        SelectNode(again);
    else
        ClearCalibration();
}

void cTree::Sync(const QString& workshopFolder, const std::optional<QString>& vehicle)
{
    const QString canonical = QFileInfo(workshopFolder).canonicalFilePath();
    std::vector<WorkshopEntry*> changed;
    for (WorkshopEntry& entry : m_register.entries()) {
        if (!SameFolder(entry.folderPath, canonical, workshopFolder))
            continue;
        // An entry the tree does not show yet needs the whole tree built.
        if (!entry.node || entry.node->treeWidget() != this) {
            Rebuild();
            return;
        }
        changed.push_back(&entry);
    }

    const QScopedValueRollback guard(m_rebuilding, true);
    const bool updates = updatesEnabled();
    setUpdatesEnabled(false);
    // A node about to go may be the current one.
    setCurrentItem(nullptr);
    clearSelection();
    for (WorkshopEntry* entry : changed)
        BranchReader::Sync(*entry, vehicle);
    setUpdatesEnabled(updates);
    for (const WorkshopEntry* entry : changed)
        emit branchesRead(entry->folderPath, vehicle.value_or(QString()));
}

void cTree::RereadAll()
{
    for (const WorkshopEntry& entry : m_register.entries())
        ShowWorkshopName(entry);
    RequestListings();
    m_listings->WaitFor(kFirstWaitMs);
}

void cTree::JudgeShown()
{
    if (m_shownDay.isEmpty())
        return;

    const bool edited = m_grid && m_grid->HasUnsavedChanges();
    if (!QFileInfo(m_shownDay).isDir()) {
        const QString text =
            QFileInfo(m_shownPlace.vehicleFolder()).isDir()
                ? Lang(StringId::DayDeletedElsewhere)
                      .arg(m_shownPlace.vehicle, DisplayDayStamp(m_shownPlace.day))
                : Lang(StringId::VehicleDeletedElsewhere).arg(m_shownPlace.vehicle);
        // Edits stay on screen: saving them files them again.
        if (edited)
            m_shownDay.clear();
        else
            ForgetDeletedFolder(m_shownDay);
        Prompts::warn(window(), text);
        return;
    }
    if (!edited && ShownChangedOnDisk())
        ReloadShown();
}

bool cTree::ShownChangedOnDisk() const
{
    return !m_shownDay.isEmpty() && QFileInfo(m_shownDay).isDir() &&
           CalibrationContent(m_shownPlace) != m_shownContent;
}

void cTree::ReloadShown()
{
    if (m_shownDay.isEmpty())
        return;
    TreeNode workshopNode = nullptr;
    for (const WorkshopEntry& entry : m_register.entries()) {
        if (entry.node && entry.folderPath == m_shownPlace.workshopFolder)
            workshopNode = entry.node;
    }
    LoadCalibration(m_shownPlace, workshopNode);
}

QStringList cTree::NodeAddress(TreeNode node) const
{
    // The workshop's place comes first: the register may hold one folder twice.
    QStringList address;
    TreeNode top = node;
    for (; node; node = node->parent()) {
        address.prepend(node->text(0));
        top = node;
    }
    if (top)
        address.prepend(QString::number(indexOfTopLevelItem(top)));
    return address;
}

TreeNode cTree::NodeAt(const QStringList& address) const
{
    if (address.size() < 2)
        return nullptr;
    TreeNode node = topLevelItem(address[0].toInt());
    if (!node || node->text(0) != address[1])
        return nullptr;
    for (qsizetype i = 2; i < address.size() && node; ++i) {
        TreeNode child = nullptr;
        for (int c = 0; c < node->childCount() && !child; ++c) {
            if (node->child(c)->text(0) == address[i])
                child = node->child(c);
        }
        node = child;
    }
    return node;
}

void cTree::ClearCalibration()
{
    // An open edit belongs to the calibration that goes.
    if (m_grid)
        m_grid->EndFocusEdit();
    m_current.clear();
    emit titleChanged(QStringLiteral("Velmora"));
}

void cTree::DropWorkshopNode(TreeNode node)
{
    const QScopedValueRollback guard(m_rebuilding, true);
    setCurrentItem(nullptr);
    clearSelection();
    if (node && node->treeWidget() == this)
        delete node;
    emit workshopDropped();
}

QString cTree::GetNodeText(TreeNode node) const
{
    if (!node)
        node = SelectedNode();
    if (NodeLevel(node) == TreeLevel::Workshop)
        return WorkshopFolderOf(node);
    return node ? node->text(0) : QString();
}

QString cTree::GetNodePath(TreeNode node) const
{
    if (!node)
        node = SelectedNode();
    const CalibrationPlace place = PlaceOf(node);
    switch (NodeLevel(node)) {
    case TreeLevel::Workshop:
        return place.workshopFolder;
    case TreeLevel::Vehicle:
        return place.vehicleFolder();
    case TreeLevel::Day:
        return place.dayFolder();
    default:
        return {};
    }
}

CalibrationPlace cTree::PlaceOf(TreeNode node) const
{
    switch (NodeLevel(node)) {
    case TreeLevel::Workshop:
        return {WorkshopFolderOf(node), {}, {}};
    case TreeLevel::Vehicle:
        return {WorkshopFolderOf(node->parent()), node->text(0),
                node->childCount() > 0 ? node->child(node->childCount() - 1)->text(0) : QString()};
    case TreeLevel::Day:
        return {WorkshopFolderOf(node->parent()->parent()), node->parent()->text(0), node->text(0)};
    default:
        return {};
    }
}

QList<CalibrationPlace> cTree::DaysUnder(TreeNode node) const
{
    QList<CalibrationPlace> days;
    const auto addVehicle = [&days](const QString& workshopFolder, TreeNode vehicle) {
        for (int d = 0; d < vehicle->childCount(); ++d)
            days.append({workshopFolder, vehicle->text(0), vehicle->child(d)->text(0)});
    };
    switch (NodeLevel(node)) {
    case TreeLevel::Workshop:
        for (int v = 0; v < node->childCount(); ++v)
            addVehicle(WorkshopFolderOf(node), node->child(v));
        break;
    case TreeLevel::Vehicle:
        addVehicle(WorkshopFolderOf(node->parent()), node);
        break;
    case TreeLevel::Day:
        days.append(PlaceOf(node));
        break;
    default:
        break;
    }
    return days;
}

TreeNode cTree::SelectedNode() const
{
    return currentItem();
}

int cTree::NodeLevel(TreeNode node)
{
    return node ? node->data(0, Qt::UserRole).toInt() : TreeLevel::None;
}

WorkshopEntry* cTree::WorkshopEntryOf(TreeNode node) const
{
    return FindWorkshopByItem(m_register, WorkshopNodeOf(node));
}

TreeNode cTree::WorkshopNodeOf(TreeNode node)
{
    switch (NodeLevel(node)) {
    case TreeLevel::Workshop:
        return node;
    case TreeLevel::Vehicle:
        return node->parent();
    case TreeLevel::Day:
        return node->parent() ? node->parent()->parent() : nullptr;
    default:
        return nullptr;
    }
}

void cTree::SelectNode(TreeNode node)
{
    const QScopedValueRollback fromCode(m_selectingFromCode, true);
    setCurrentItem(node);
}

void cTree::setLeaveGuard(std::function<bool(TreeNode)> guard)
{
    m_leaveGuard = std::move(guard);
}

bool cTree::LoadsCalibration(TreeNode node)
{
    switch (NodeLevel(node)) {
    case TreeLevel::Day:
        return true;
    case TreeLevel::Vehicle:
        return node->childCount() > 0;
    default:
        return false;
    }
}

void cTree::ForgetDeletedFolder(const QString& folder)
{
    if (m_shownDay.isEmpty() || (m_shownDay != folder && !m_shownDay.startsWith(folder + u'/')))
        return;
    m_shownDay.clear();
    m_shownDeleted = true;
    ClearCalibration();
    if (m_grid)
        m_grid->MarkStored();
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
        LoadCalibration(
            {WorkshopFolderOf(workshopNode), node->text(0), vehicle->dates.back().node->text(0)},
            workshopNode);
        return;
    }
    case TreeLevel::Day: {
        const TreeNode vehicleNode = node->parent();
        emit titleChanged(
            QStringLiteral("Velmora [%1 : %2]").arg(vehicleNode->text(0), node->text(0)));
        LoadCalibration(PlaceOf(node), vehicleNode->parent());
        return;
    }
    default:
        return;
    }
}

void cTree::LoadCalibration(const CalibrationPlace& place, TreeNode workshopNode)
{
    const WorkshopEntry* entry = FindWorkshopByItem(m_register, workshopNode);
    if (!entry)
        return;
    // An edit still open belongs to the records on screen; it ends into them before they
    // are replaced, so it cannot land in the calibration loaded now.
    if (m_grid)
        m_grid->EndFocusEdit();

    // Read under the vehicle's lock, so that a save of another workstation is never seen half
    // done; when the lock cannot be had the files are read as they are.
    CalibrationRead read;
    QByteArray content;
    BackgroundWork::Run(window(), Lang(StringId::ReadingWorkshop), [&] {
        FolderLock lock(FolderLock::VehicleLockPath(place.vehicleFolder()));
        lock.Acquire();
        read = ReadCalibration(place, entry->record);
        content = CalibrationContent(place);
    });
    // The user is told of every file but a missing one that is not whole.
    QStringList faults;
    for (const auto& [path, state] : read.faults) {
        faults << (state == RecordFileState::Unreadable
                       ? Lang(StringId::RecordUnreadable).arg(path)
                       : Lang(StringId::RecordDamaged).arg(path, RecordFaultText(state)));
    }
    m_current.replace(read.calibration);
    m_shownDay = place.dayFolder();
    m_shownPlace = place;
    m_shownContent = content;
    m_shownDeleted = false;
    if (m_grid)
        m_grid->MarkStored();
    if (!faults.isEmpty())
        Prompts::warn(window(), faults.join(QStringLiteral("\n\n")));
}

void cTree::OnRClick(const QPoint& pos)
{
    // As in any file manager, the node under the cursor becomes the selection first, so the
    // menu always acts on what was clicked.
    const TreeNode node = itemAt(pos);
    if (!node)
        return;
    if (node != SelectedNode())
        SelectNode(node);
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
    if (event->reason() != QContextMenuEvent::Keyboard)
        OnRClick(event->pos());
    else if (const TreeNode selected = SelectedNode())
        OnRClick(visualItemRect(selected).center());
    event->accept();
}

// A right button press leaves the selection to the context menu request that follows it,
// which selects the node under the cursor once; a press on empty space clears nothing.
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

bool cTree::viewportEvent(QEvent* event)
{
    // A vehicle's tooltip says when its next inspection is due, reckoned when it is shown so
    // that it follows the days on screen, today's date and the language in use.
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const TreeNode node = itemAt(help->pos());
        if (NodeLevel(node) == TreeLevel::Vehicle) {
            QStringList days;
            for (int i = 0; i < node->childCount(); ++i)
                days.append(node->child(i)->text(0));
            const QDate due = InspectionDueDate(LatestCalibrationDay(days));
            if (due.isValid()) {
                QToolTip::showText(help->globalPos(), InspectionDueText(due, QDate::currentDate()),
                                   viewport(), visualItemRect(node));
                return true;
            }
        }
    }
    return QTreeWidget::viewportEvent(event);
}
