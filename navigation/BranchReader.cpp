#include "navigation/BranchReader.h"

#include "store/CalibrationPlace.h"

#include "navigation/TreeNodes.h"

#include <QFile>
#include <QTreeWidgetItem>

#include <algorithm>
#include <string_view>
#include <vector>

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A folder open for listing, closed when it goes.
class OpenFolder {
public:
    // Opens the folder `name`: a name in the folder open as `parent`, or a full path with
    // AT_FDCWD. Opening a vehicle's folder by its name alone spares the system looking up
    // every folder of the full path again, once per vehicle.
    OpenFolder(int parent, const QString& name, int* error = nullptr)
        : m_fd(::openat(parent, QFile::encodeName(name).constData(),
                        O_RDONLY | O_DIRECTORY | O_CLOEXEC))
    {
        if (m_fd < 0 && error)
            *error = errno;
    }
    ~OpenFolder()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    OpenFolder(const OpenFolder&) = delete;
    OpenFolder& operator=(const OpenFolder&) = delete;

    int fd() const { return m_fd; }
    bool isOpen() const { return m_fd >= 0; }

private:
    int m_fd;
};

QStringList ListFolders(const OpenFolder& folder)
{
    QStringList names;
    // Read straight from the kernel's listing into a buffer of our own: a directory stream
    // would allocate its own for every folder and ask the file system about the folder first,
    // and a listing object per entry would cost more than the kernel's own work for these
    // small folders. An enumeration that fails half-way ends there and lists what it found.
    alignas(dirent64) char buffer[8192];
    for (;;) {
        const ssize_t got = ::getdents64(folder.fd(), buffer, sizeof buffer);
        if (got <= 0)
            break;
        for (ssize_t offset = 0; offset < got;) {
            const auto* entry = reinterpret_cast<const dirent64*>(buffer + offset);
            offset += entry->d_reclen;
            const std::string_view name(entry->d_name);
            // A name with a full stop is a file name with an extension, or hidden (and "."
            // and ".." among them); neither is a vehicle or a calibration day.
            if (name.find('.') != std::string_view::npos)
                continue;
            bool isFolder = entry->d_type == DT_DIR;
            // Some file systems do not say, and a link to a folder counts as the folder.
            if (entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK) {
                struct stat info {};
                isFolder =
                    ::fstatat(folder.fd(), entry->d_name, &info, 0) == 0 && S_ISDIR(info.st_mode);
            }
            if (isFolder)
                names.append(QFile::decodeName(
                    QByteArray::fromRawData(name.data(), qsizetype(name.size()))));
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

QStringList ListSubfolders(const QString& folder, int* error)
{
    const OpenFolder open(AT_FDCWD, folder, error);
    return open.isOpen() ? ListFolders(open) : QStringList();
}

namespace {

DateEntry MakeDay(TreeNode vehicleNode, const QString& name)
{
    return DateEntry{MakeNode(vehicleNode, name, TreeLevel::Day), name.left(kEntryNameChars)};
}

void FillDates(TreeNode vehicleNode, VehicleEntry& vehicle, const QStringList& names)
{
    vehicle.dates.clear();
    vehicle.dates.reserve(std::size_t(names.size()));
    for (const QString& name : names)
        vehicle.dates.push_back(MakeDay(vehicleNode, name));
}

VehicleEntry MakeVehicle(TreeNode workshopNode, const QString& name, const QStringList& days)
{
    VehicleEntry vehicle{
        MakeNode(workshopNode, name, TreeLevel::Vehicle), {}, name.left(kEntryNameChars)};
    FillDates(vehicle.node, vehicle, days);
    return vehicle;
}

// Merges a fresh sorted listing into a branch level whose entries match `parent`'s children
// in order: entries of names gone lose their nodes, entries of new names are made by `make`
// (outside the tree) and put in at their place, and `keep` sees every entry that stays.
template <typename Entry, typename Make, typename Keep>
void MergeLevel(TreeNode parent, std::vector<Entry>& entries, const QStringList& names, Make make,
                Keep keep)
{
    std::vector<Entry> merged;
    merged.reserve(std::size_t(names.size()));
    std::vector<TreeNode> gone;
    std::vector<std::size_t> added;
    std::size_t old = 0;
    for (const QString& name : names) {
        while (old < entries.size() && entries[old].node->text(0) < name)
            gone.push_back(entries[old++].node);
        if (old < entries.size() && entries[old].node->text(0) == name) {
            merged.push_back(std::move(entries[old++]));
            keep(merged.back());
        } else {
            added.push_back(merged.size());
            merged.push_back(make(name));
        }
    }
    for (; old < entries.size(); ++old)
        gone.push_back(entries[old].node);

    // Removing first leaves the kept nodes in order; each new node then goes in at its final
    // row, which every node before it already holds.
    for (TreeNode node : gone)
        delete node;
    for (std::size_t index : added)
        parent->insertChild(int(index), merged[index].node);
    entries = std::move(merged);
}

} // namespace

BranchListing ListBranch(const QString& workshopFolder, const std::optional<QString>& vehicle,
                         const QSet<QString>& known, int* error)
{
    BranchListing listing;
    const QString vehiclesFolder = ExchangeFolderOf(workshopFolder);
    const OpenFolder vehicles(AT_FDCWD, vehiclesFolder, error);
    if (!vehicles.isOpen())
        return listing;
    listing.vehicles = ListFolders(vehicles);
    listing.days.reserve(std::size_t(listing.vehicles.size()));
    for (const QString& name : listing.vehicles) {
        const bool wanted = !vehicle || *vehicle == name || !known.contains(name);
        QStringList days;
        if (wanted) {
            const OpenFolder open(vehicles.fd(), name);
            if (open.isOpen())
                days = ListFolders(open);
        }
        listing.days.push_back(days);
    }
    return listing;
}

namespace BranchReader {

void Build(WorkshopEntry& entry, const BranchListing& listing)
{
    entry.vehicles.clear();
    entry.vehicles.reserve(std::size_t(listing.vehicles.size()));
    QList<QTreeWidgetItem*> nodes;
    nodes.reserve(qsizetype(listing.days.size()));
    for (std::size_t i = 0; i < listing.days.size(); ++i) {
        entry.vehicles.push_back(
            MakeVehicle(nullptr, listing.vehicles[qsizetype(i)], listing.days[i]));
        nodes.append(entry.vehicles.back().node);
    }
    // Made outside the tree and appended at once, the branch costs a view one notification,
    // and one that moves no row it already holds, which would have it look through every
    // node it keeps track of.
    entry.node->addChildren(nodes);
}

void Apply(WorkshopEntry& entry, const BranchListing& listing,
           const std::optional<QString>& vehicle)
{
    // The listing is sorted as ListSubfolders() sorts.
    const auto daysOf = [&listing](const QString& name) {
        const auto found = std::lower_bound(listing.vehicles.begin(), listing.vehicles.end(), name);
        return found == listing.vehicles.end() || *found != name
                   ? QStringList()
                   : listing.days[std::size_t(found - listing.vehicles.begin())];
    };
    MergeLevel(
        entry.node, entry.vehicles, listing.vehicles,
        [&](const QString& name) { return MakeVehicle(nullptr, name, daysOf(name)); },
        [&](VehicleEntry& kept) {
            const QString name = kept.node->text(0);
            if (vehicle && *vehicle != name)
                return;
            MergeLevel(
                kept.node, kept.dates, daysOf(name),
                [](const QString& day) { return MakeDay(nullptr, day); }, [](DateEntry&) {});
        });
    Open(entry);
}

void Open(const WorkshopEntry& entry)
{
    // Opening a node already open changes nothing.
    entry.node->setExpanded(true);
    for (const VehicleEntry& vehicle : entry.vehicles)
        vehicle.node->setExpanded(true);
}

} // namespace BranchReader
