#include "navigation/cTree.h"

#include "lang/DisplayDate.h"
#include "lang/LanguagePack.h"
#include "lang/MenuBuilder.h"
#include "lang/ResourceIds.h"
#include "lang/StringIds.h"
#include "navigation/BranchReader.h"
#include "navigation/GuardedSelectionModel.h"
#include "navigation/InspectionDue.h"
#include "navigation/TreeNodes.h"
#include "navigation/WorkshopListings.h"
#include "params/CurrentCalibration.h"
#include "params/cTDGrid.h"
#include "platform/BackgroundWork.h"
#include "platform/Prompts.h"
#include "store/CalibrationPlace.h"
#include "store/RecordFaults.h"
#include "store/RecordFile.h"

#include <QApplication>
#include <QContextMenuEvent>
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

// Whether a dialog or file work is under way, which may hold nodes of the tree or rely on the
// calibration on screen staying as it is.
bool DialogOrFileWorkUnderWay()
{
    return QApplication::activeModalWidget() || BackgroundWork::Busy();
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
    m_loader = new CalibrationLoader(this);
    connect(m_loader, &CalibrationLoader::dayRead, this, &cTree::OnDayRead);
    connect(m_loader, &CalibrationLoader::noAnswer, this, &cTree::OnDayNoAnswer);
    m_deferredTimer = new QTimer(this);
    m_deferredTimer->setInterval(kDeferredRetryMs);
    connect(m_deferredTimer, &QTimer::timeout, this, &cTree::ApplyDeferred);
    m_gridDimTimer = new QTimer(this);
    m_gridDimTimer->setSingleShot(true);
    connect(m_gridDimTimer, &QTimer::timeout, this, [this] {
        if (!m_gridHeld || !m_grid)
            return;
        m_gridHadFocus = m_grid->hasFocus() || m_grid->isAncestorOf(QApplication::focusWidget());
        m_grid->setEnabled(false);
        m_gridDimmed = true;
    });
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

bool cTree::ListingsPending() const
{
    return m_listings->AnyPending() || !m_deferred.isEmpty();
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

void cTree::OnListed(const QString& folder, const WorkshopReading& reading)
{
    // A dialog or file work under way may hold nodes of this tree: the reading waits for it.
    if (DialogOrFileWorkUnderWay()) {
        m_deferred.insert(folder, reading);
        m_deferredTimer->start();
        return;
    }
    m_deferred.remove(folder);
    const QStringList selected = NodeAddress(SelectedNode());
    {
        const QScopedValueRollback guard(m_rebuilding, true);
        // The branch changes as a whole: the view is drawn once, after it.
        const bool updates = updatesEnabled();
        setUpdatesEnabled(false);
        setCurrentItem(nullptr);
        for (WorkshopEntry& entry : m_register.entries()) {
            if (entry.folderPath != folder || !entry.node || entry.node->treeWidget() != this)
                continue;
            if (reading.record) {
                entry.record = *reading.record;
                ShowWorkshopName(entry);
            }
            if (entry.vehicles.empty()) {
                BranchReader::Build(entry, reading.branch);
                BranchReader::Open(entry);
            } else {
                BranchReader::Apply(entry, reading.branch);
            }
            SetMark(entry, WorkshopMark::None);
        }
        // Back on its node without loading or asking: what is on screen is judged below.
        if (const TreeNode again = NodeAt(selected)) {
            const QScopedValueRollback fromCode(m_selectingFromCode, true);
            setCurrentItem(again);
        } else if (!selected.isEmpty() && LoadPending()) {
            // The day being read for the selection has gone with its node.
            m_loader->Drop();
            ReleaseGrid();
            ClearCalibration();
        }
        setUpdatesEnabled(updates);
    }
    emit branchesRead(folder, QString());
    if (m_shownDay.startsWith(ExchangeFolderOf(folder) + u'/'))
        JudgeShown();
}

void cTree::ApplyDeferred()
{
    if (DialogOrFileWorkUnderWay())
        return;
    m_deferredTimer->stop();
    const QHash<QString, WorkshopReading> deferred = std::exchange(m_deferred, {});
    for (auto it = deferred.begin(); it != deferred.end(); ++it)
        OnListed(it.key(), it.value());
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
    // Nothing stays selected, so a selection still being read is of no interest.
    if (!m_judging)
        m_loader->Drop();
    ReleaseGrid();
    // Readings held back belong to the nodes that go; the workers read every folder anew.
    m_deferred.clear();
    m_deferredTimer->stop();
    clear();
    for (WorkshopEntry& entry : m_register.entries()) {
        entry.node = MakeWorkshopNode(entry);
        BranchReader::Build(entry, {});
        addTopLevelItem(entry.node);
    }
    setCurrentItem(nullptr);
    clearSelection();
    setUpdatesEnabled(updates);
    RequestListings();
}

void cTree::RefreshWorkshop(const QString& workshopFolder)
{
    Refresh(workshopFolder, std::nullopt);
}

void cTree::RefreshVehicle(const QString& workshopFolder, const QString& vehicleName)
{
    Refresh(workshopFolder, vehicleName);
}

void cTree::MarkUnreachable(const std::vector<WorkshopEntry*>& entries, const QString& reason)
{
    for (const WorkshopEntry* entry : entries) {
        if (entry->node && entry->node->treeWidget() == this)
            SetMark(*entry, WorkshopMark::Unreachable, reason);
    }
}

std::vector<WorkshopEntry*> cTree::EntriesOf(const QString& folder)
{
    const QString resolved = m_listings->ResolvedPath(folder);
    std::vector<WorkshopEntry*> entries;
    for (WorkshopEntry& entry : m_register.entries()) {
        if (entry.folderPath == folder ||
            (!resolved.isEmpty() && m_listings->ResolvedPath(entry.folderPath) == resolved))
            entries.push_back(&entry);
    }
    return entries;
}

void cTree::Refresh(const QString& workshopFolder, const std::optional<QString>& vehicle)
{
    const std::vector<WorkshopEntry*> entries = EntriesOf(workshopFolder);
    // An entry the tree does not show yet needs the whole tree built.
    for (const WorkshopEntry* entry : entries) {
        if (!entry->node || entry->node->treeWidget() != this) {
            Rebuild();
            return;
        }
    }
    // Vehicles that some entry does not know yet are listed with their days.
    QSet<QString> known;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        QSet<QString> names;
        for (const VehicleEntry& v : entries[i]->vehicles)
            names.insert(v.node->text(0));
        known = i == 0 ? names : known.intersect(names);
    }
    WorkshopReadOutcome outcome;
    BackgroundWork::Run(window(), Lang(StringId::ReadingWorkshop),
                        [&] { outcome = ReadWorkshopFolder(workshopFolder, vehicle, known); });
    // The folders may have been registered again while the window waited.
    const std::vector<WorkshopEntry*> changed = EntriesOf(workshopFolder);
    if (!outcome.error.isEmpty()) {
        MarkUnreachable(changed, outcome.error);
        return;
    }

    // What was on screen came from the folders read again here: the node that was selected
    // is selected again and loaded afresh, or, when it is gone, nothing stale stays shown.
    const QStringList selected = NodeAddress(SelectedNode());
    {
        const QScopedValueRollback guard(m_rebuilding, true);
        const bool updates = updatesEnabled();
        setUpdatesEnabled(false);
        // A node about to go may be the current one.
        setCurrentItem(nullptr);
        clearSelection();
        for (WorkshopEntry* entry : changed) {
            if (!entry->node || entry->node->treeWidget() != this)
                continue;
            BranchReader::Apply(*entry, outcome.reading.branch, vehicle);
            if (entry->node->data(0, kWorkshopMarkRole).toInt() == WorkshopMark::Unreachable)
                SetMark(*entry, WorkshopMark::None);
        }
        setUpdatesEnabled(updates);
    }
    for (const WorkshopEntry* entry : changed)
        emit branchesRead(entry->folderPath, vehicle.value_or(QString()));
    if (selected.isEmpty())
        return;
    if (const TreeNode again = NodeAt(selected))
        SelectNode(again);
    else
        ClearCalibration();
}

void cTree::RereadAll()
{
    for (const WorkshopEntry& entry : m_register.entries())
        ShowWorkshopName(entry);
    RequestListings();
}

void cTree::JudgeShown()
{
    // A selection still being read shows the disk as it is anyway.
    if (m_shownDay.isEmpty() || m_loader->Pending())
        return;
    const WorkshopEntry* entry = nullptr;
    for (const WorkshopEntry& candidate : m_register.entries()) {
        if (candidate.folderPath == m_shownPlace.workshopFolder)
            entry = &candidate;
    }
    m_judging = true;
    m_loader->Request(m_shownPlace, entry ? entry->record : m_current.value().workshop);
}

bool cTree::ShownChangedOnDisk()
{
    if (m_shownDay.isEmpty())
        return false;
    DayReading now;
    BackgroundWork::Run(window(), Lang(StringId::ReadingWorkshop),
                        [&, place = m_shownPlace, workshop = m_current.value().workshop] {
                            now = ReadDay(place, workshop);
                        });
    return now.dayThere && !now.SameFilesAs(m_shownReading);
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
    HoldGrid();
    m_judging = false;
    m_loader->Request(place, entry->record);
}

bool cTree::LoadPending() const
{
    return m_loader->Pending() && !m_judging;
}

void cTree::FinishLoad()
{
    BackgroundWork::WaitUntil(window(), Lang(StringId::ReadingWorkshop),
                              [this] { return !LoadPending(); });
}

void cTree::OnDayRead(const CalibrationPlace& place, const DayReading& reading)
{
    if (!m_judging) {
        ShowDay(place, reading);
        return;
    }
    m_judging = false;
    // The calibration on screen may have changed while its files were read. While a dialog or
    // file work is under way the judgement is left to the next re-read, which every command
    // that acts on a workshop starts.
    if (place != m_shownPlace || m_shownDay.isEmpty() || DialogOrFileWorkUnderWay())
        return;
    const bool edited = m_grid && m_grid->HasUnsavedChanges();
    if (!reading.dayThere) {
        const QString text =
            reading.vehicleThere
                ? Lang(StringId::DayDeletedElsewhere).arg(place.vehicle, DisplayDayStamp(place.day))
                : Lang(StringId::VehicleDeletedElsewhere).arg(place.vehicle);
        // Edits stay on screen: saving them files them again.
        if (edited)
            m_shownDay.clear();
        else
            ForgetDeletedFolder(m_shownDay);
        Prompts::warn(window(), text);
        return;
    }
    if (!edited && !reading.SameFilesAs(m_shownReading))
        ShowDay(place, reading);
}

void cTree::ShowDay(const CalibrationPlace& place, const DayReading& reading)
{
    ReleaseGrid();
    // The user is told of every file but a missing one that is not whole.
    QStringList faults;
    for (const auto& [path, state] : reading.read.faults) {
        faults << (state == RecordFileState::Unreadable
                       ? Lang(StringId::RecordUnreadable).arg(path)
                       : Lang(StringId::RecordDamaged).arg(path, RecordFaultText(state)));
    }
    m_current.replace(reading.read.calibration);
    m_shownDay = place.dayFolder();
    m_shownPlace = place;
    m_shownReading = reading;
    m_shownDeleted = false;
    if (m_grid)
        m_grid->MarkStored();
    if (!faults.isEmpty())
        Prompts::warn(window(), faults.join(QStringLiteral("\n\n")));
}

void cTree::OnDayNoAnswer(const CalibrationPlace& place)
{
    if (m_judging) {
        m_judging = false;
        return;
    }
    // Nothing of the day could be read: what was on screen before is not shown as if it were.
    ReleaseGrid();
    ClearCalibration();
    m_shownDay.clear();
    m_shownPlace = {};
    if (m_grid)
        m_grid->MarkStored();
    const QString reason = Lang(StringId::NoAnswerWithin).arg(WorkshopListings::TimeoutMs() / 1000);
    MarkUnreachable(EntriesOf(place.workshopFolder), reason);
    Prompts::warn(window(),
                  Lang(StringId::WorkshopUnreachable).arg(reason) + u'\n' + place.dayFolder());
}

void cTree::HoldGrid()
{
    if (!m_grid || m_gridHeld)
        return;
    m_gridHeld = true;
    qApp->installEventFilter(this);
    m_gridDimTimer->start(kGridDimmedAfterMs);
}

void cTree::ReleaseGrid()
{
    m_gridDimTimer->stop();
    if (!m_gridHeld)
        return;
    m_gridHeld = false;
    qApp->removeEventFilter(this);
    if (!m_gridDimmed || !m_grid)
        return;
    m_gridDimmed = false;
    m_grid->setEnabled(true);
    if (m_gridHadFocus)
        m_grid->setFocus();
}

bool cTree::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::InputMethod:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Drop:
        break;
    default:
        return QTreeWidget::eventFilter(watched, event);
    }
    // Input for the grid while the selection is read would land in the calibration about to
    // be replaced.
    const auto* widget = qobject_cast<const QWidget*>(watched);
    if (m_gridHeld && m_grid && widget && (widget == m_grid || m_grid->isAncestorOf(widget)))
        return true;
    return QTreeWidget::eventFilter(watched, event);
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
