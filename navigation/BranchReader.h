#pragma once

#include "store/WorkshopRegister.h"

#include <QSet>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// Names of the sub-folders of `folder` whose names contain no full stop, in ascending
// code-unit order (so the last calibration day is the latest). Files are never listed; a
// missing or unreadable folder gives an empty list, and the system's error number in `error`
// when one is given.
QStringList ListSubfolders(const QString& folder, int* error = nullptr);

// What one workshop's exchange folder holds: its vehicle folders and, for each, its
// calibration days, all sorted as ListSubfolders() sorts them.
struct BranchListing {
    QStringList vehicles;
    std::vector<QStringList> days; // days[i] belongs to vehicles[i]
};

// The listing of the workshop registered as `workshopFolder`. Reads folders only, so it may
// run on any thread. With `vehicle` named, only its days and those of vehicles not in `known`
// are listed; the other vehicles' day lists are left empty. An exchange folder that cannot be
// opened gives an empty listing, and its error number in `error` when one is given.
BranchListing ListBranch(const QString& workshopFolder,
                         const std::optional<QString>& vehicle = std::nullopt,
                         const QSet<QString>& known = {}, int* error = nullptr);

// Reads a workshop's vehicles and calibration days from its exchange folder into the
// workshop's tree branch and the register entry's lists, which always match node for node.
namespace BranchReader {

// Fills `entry`'s node, which has no children yet, from the listing of its folder.
void Build(WorkshopEntry& entry, const BranchListing& listing);

// Brings the branch of `entry`, whose node is in a tree, in step with `listing`, a fresh
// listing of its folder, ending as Build() on a fresh node would, and expanded as a new tree
// is: the vehicle list, and the days of every vehicle, or only of `vehicle` when one is named
// (the listing of ListBranch() for that vehicle). Nodes of folders still there are kept; the
// caller makes sure none of the nodes removed is current.
void Apply(WorkshopEntry& entry, const BranchListing& listing,
           const std::optional<QString>& vehicle = std::nullopt);

// Opens the workshop's node and every vehicle node under it, as a new tree shows them,
// whatever the user closed since. The nodes must be in a tree.
void Open(const WorkshopEntry& entry);

} // namespace BranchReader
