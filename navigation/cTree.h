#pragma once

#include "navigation/BranchReader.h"
#include "navigation/CalibrationLoader.h"
#include "navigation/TreeNodes.h"
#include "navigation/WorkshopListings.h"
#include "store/CalibrationPlace.h"
#include "store/WorkshopRegister.h"

#include <QHash>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTreeWidget>

#include <functional>
#include <optional>
#include <vector>

class CurrentCalibration;
class cTDGrid;
class QMenu;
class QTimer;

// The navigation tree: workshops (shown by name, the full folder path as tooltip), their
// vehicles and each vehicle's calibration days (node text = folder name). It is the
// program's selection, and selecting a vehicle or day is what loads a calibration from
// disk into the current calibration.
//
// Node handles are valid only until the next Rebuild(), which replaces every node and
// refills the register's vehicle and day lists, or until a refresh of their workshop drops
// them with their folders.
class cTree : public QTreeWidget {
    Q_OBJECT
public:
    // Loads into `current`, which outlives the tree.
    cTree(WorkshopRegister& reg, CurrentCalibration& current, QWidget* parent = nullptr);
    ~cTree() override;

    // The grid refreshed after a load; may be null (nothing is shown then).
    void setGrid(cTDGrid* grid);
    // Receives the commands chosen in the context menu (the main window's command table).
    void setCommandSink(std::function<void(int)> sink);

    // Called once when the view is first shown: sets the look, then builds the tree.
    void OnInitialUpdate();
    // Whether a reading of a workshop folder is still awaited from the workers, or waits for
    // a dialog or file work to end before it is shown.
    bool ListingsPending() const;
    // Makes every workshop node anew from the register, at once and with no branch; each
    // workshop's branch, and the register's vehicle and day lists, fill in when its folder has
    // been read on a worker. A workshop still being read is marked so, and one that answers
    // with an error or not within WorkshopListings::TimeoutMs() is marked unreachable, the
    // rest of the tree working on. Loads nothing, leaves nothing selected; records, grid and
    // title are kept.
    void Rebuild();
    // After an action that changed one workshop folder on disk: the branches of every
    // register entry for that folder are read again, on a worker while the window shows a
    // progress after a moment, and end as a fresh reading leaves them, the rest of the tree
    // untouched. RefreshWorkshop() reads every vehicle's days; RefreshVehicle() reads the
    // vehicle list and the days of `vehicleName` only. The node that was selected is selected
    // again, and its calibration loaded from disk, when it is still there; otherwise the
    // records, grid and title are cleared. A folder that cannot be read keeps its branch and
    // is marked unreachable. An entry for the folder that has no node yet makes it a Rebuild().
    void RefreshWorkshop(const QString& workshopFolder);
    void RefreshVehicle(const QString& workshopFolder, const QString& vehicleName);
    // Takes away the node of a workshop that has just left the register, leaving nothing
    // selected; the other workshops keep theirs.
    void DropWorkshopNode(TreeNode node);

    // Text of `node`, or of the selected node when null; "" when there is none. For a
    // workshop node this is its full folder path, from which commands build their paths.
    QString GetNodeText(TreeNode node = nullptr) const;
    // Folder that `node` (or the selected node) stands for: the workshop folder,
    // "<workshop>/RX902/<vehicle>" or "<workshop>/RX902/<vehicle>/<day>"; "" otherwise.
    QString GetNodePath(TreeNode node = nullptr) const;
    TreeNode SelectedNode() const;
    static int NodeLevel(TreeNode node);
    // The workshop node that owns `node`: itself, its parent or its grandparent by level.
    static TreeNode WorkshopNodeOf(TreeNode node);
    // The register entry of the workshop that owns `node`; null when none.
    WorkshopEntry* WorkshopEntryOf(TreeNode node) const;
    // Where the calibration of a node lives: a day node's own, a vehicle node's latest day
    // (no day when it has none), a workshop node's folder alone; empty for no node.
    CalibrationPlace PlaceOf(TreeNode node) const;
    // The calibration days a node stands for, in tree order: all of a workshop's, all of a
    // vehicle's, or the day itself.
    QList<CalibrationPlace> DaysUnder(TreeNode node) const;
    // Makes `node` current; the load runs as for a click, without asking the leave guard.
    void SelectNode(TreeNode node);
    // Selecting a day or vehicle reads its calibration on a worker; the grid takes no input
    // until it is shown, and a newer selection wins over one still being read.
    bool LoadPending() const;
    // Whether anything is awaited from the workers: a workshop's reading, a selection, or the
    // check of the calibration on screen against the disk.
    bool Reading() const { return ListingsPending() || m_loader->Pending(); }
    // Waits, handling events but no input, for a pending load to be shown: what a command does
    // with the calibration on screen is then done with the one selected.
    void FinishLoad();
    // A node's place in the tree (workshop index, then the texts from the workshop down) and
    // the node at such a place once the tree was read again; empty and null when none.
    QStringList NodeAddress(TreeNode node) const;
    TreeNode NodeAt(const QStringList& address) const;

    // Asked before the user moves the selection to a node whose calibration would replace
    // the one on screen; false keeps the selection where it is.
    void setLeaveGuard(std::function<bool(TreeNode target)> guard);
    // Whether selecting `node` loads a calibration: a day, or a vehicle that has one.
    static bool LoadsCalibration(TreeNode node);

    // Reads every workshop folder again on workers, for what other workstations saved, made
    // or deleted, and the workshops' details; each branch is brought in step when its reading
    // arrives, marked as in Rebuild() meanwhile, and the selection stays on its node while
    // that is still there. The calibration on screen, when its files changed on disk since
    // they were loaded, is then read again: shown if nothing was edited meanwhile, otherwise
    // kept with the edits. When its day or vehicle was deleted, a message says so and, unless
    // edited, it is cleared as after a deletion here.
    void RereadAll();
    // Whether the files of the calibration on screen differ now from what was loaded: another
    // workstation saved over them. Reads them on a worker, with a progress after a moment.
    bool ShownChangedOnDisk();
    // The day folder of the calibration on screen; "" when none.
    QString ShownDayFolder() const { return m_shownDay; }
    // Loads the calibration on screen again from its day folder, dropping any edits.
    void ReloadShown();

    // After a folder was deleted: when the calibration on screen was inside it, the records
    // are cleared, the grid shows nothing of it and the title no longer names it.
    void ForgetDeletedFolder(const QString& folder);
    // Whether the calibration on screen was deleted and nothing has been loaded since.
    bool ShownCalibrationDeleted() const { return m_shownDeleted; }

signals:
    void titleChanged(const QString& title);
    // Branches were read again from the disk: every workshop's (an empty folder), one
    // workshop's, or one vehicle's of that workshop.
    void branchesRead(const QString& workshopFolder, const QString& vehicle);
    // A workshop's node was taken away with its branch.
    void workshopDropped();

protected:
    void OnSelChanged(TreeNode node);
    void OnRClick(const QPoint& pos);

    void contextMenuEvent(QContextMenuEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Asks the workers for the reading of every workshop folder in the tree.
    void RequestListings();
    void OnListed(const QString& folder, const WorkshopReading& reading);
    // Shows the readings that waited for a dialog or file work to end.
    void ApplyDeferred();
    void OnUnreachable(const QString& folder, const QString& reason);
    void SetMark(const WorkshopEntry& entry, int mark, const QString& reason = QString());
    // The register entries that stand for `folder`: written alike, or the same folder once
    // resolved, as far as the readings so far have told.
    std::vector<WorkshopEntry*> EntriesOf(const QString& folder);
    // Marks those of `entries` that this tree shows as unreachable, for `reason`.
    void MarkUnreachable(const std::vector<WorkshopEntry*>& entries, const QString& reason);
    // Judges the calibration on screen against the disk, once its workshop has been read.
    void JudgeShown();
    void Refresh(const QString& workshopFolder, const std::optional<QString>& vehicle);
    // Leaves no calibration on screen: records zeroed, grid and title emptied.
    void ClearCalibration();
    void LoadCalibration(const CalibrationPlace& place, TreeNode workshopNode);
    void OnDayRead(const CalibrationPlace& place, const DayReading& reading);
    void ShowDay(const CalibrationPlace& place, const DayReading& reading);
    void OnDayNoAnswer(const CalibrationPlace& place);
    // While a selection is being read the grid takes no input (an application event filter
    // drops what is meant for it), so that nothing is typed into the calibration about to be
    // replaced; it shows its waiting, greyed, only once that takes longer than
    // kGridDimmedAfterMs, so that a quick load does not flicker.
    void HoldGrid();
    void ReleaseGrid();
    static constexpr int kGridDimmedAfterMs = 150;
    // How often readings held back for a dialog or file work look whether it has ended.
    static constexpr int kDeferredRetryMs = 100;

    WorkshopRegister& m_register;
    CurrentCalibration& m_current;
    QPointer<cTDGrid> m_grid;
    std::function<void(int)> m_commandSink;
    std::function<bool(TreeNode)> m_leaveGuard;
    QPointer<QMenu> m_menu;
    WorkshopListings* m_listings = nullptr;
    CalibrationLoader* m_loader = nullptr;
    // Whether the reading awaited from the loader judges the calibration on screen, rather
    // than showing a selection.
    bool m_judging = false;
    bool m_gridHeld = false;
    bool m_gridDimmed = false;
    bool m_gridHadFocus = false;
    QTimer* m_gridDimTimer = nullptr;
    // Readings that arrived while a dialog or file work was under way, newest per folder.
    QHash<QString, WorkshopReading> m_deferred;
    QTimer* m_deferredTimer = nullptr;
    bool m_rebuilding = false;
    bool m_selectingFromCode = false;
    // The day folder of the calibration on screen; empty when none was loaded.
    QString m_shownDay;
    // Where it was loaded from, and what its files held then.
    CalibrationPlace m_shownPlace;
    DayReading m_shownReading;
    bool m_shownDeleted = false;
};

// The register entry whose workshop node is `node`, in register order; null when none.
WorkshopEntry* FindWorkshopByItem(WorkshopRegister& reg, TreeNode node);
