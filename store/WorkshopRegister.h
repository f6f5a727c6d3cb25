#pragma once

#include "store/WorkshopRecord.h"

#include <QString>

#include <vector>

class QTreeWidgetItem;

// Tree node handles are kept as plain pointers: the tree owns its items, and every rebuild
// replaces all of them, so nothing keeps one across a rebuild.
using TreeNode = QTreeWidgetItem*;

// Vehicle and day names are kept as at most this many characters.
inline constexpr int kEntryNameChars = 12;

struct DateEntry {
    TreeNode node = nullptr;
    QString name; // at most kEntryNameChars characters
};

struct VehicleEntry {
    TreeNode node = nullptr;
    std::vector<DateEntry> dates;
    QString name; // at most kEntryNameChars characters
};

struct WorkshopEntry {
    TreeNode node = nullptr;
    WorkshopRecord record;
    std::vector<VehicleEntry> vehicles;
    QString folderPath; // held whole, exactly as in service.txt
};

// The ordered register of workshop folders, stored in service.txt in the data folder as
// UTF-16LE lines ended by CR LF. Not sorted; may hold the same folder twice.
class WorkshopRegister {
public:
    std::vector<WorkshopEntry>& entries() { return m_entries; }
    const std::vector<WorkshopEntry>& entries() const { return m_entries; }

    // Fills the register from the file (the register is emptied first); every code unit
    // below 32 ends a line, empty lines are skipped. With Records::Read each path's SINFO.BIN
    // is read into its entry (a missing one leaves the record zero); with Records::Later every
    // record is left zero for the caller to read where the workshop folder cannot hold it up.
    // A missing or empty file gives an empty register. A byte-order mark at the start of a
    // line is skipped. Only a regular file of at most kMaxRegisterBytes is read: a link to a
    // device or a named pipe would never end.
    enum class LoadResult { Loaded, Missing, NotAFile, TooLarge, Unreadable };
    enum class Records { Read, Later };
    LoadResult load(const QString& serviceFile, Records records = Records::Read);
    static constexpr qint64 kMaxRegisterBytes = qint64{1024} * 1024;
    // Writes every folder path followed by CR LF, atomically. False when it failed, or when
    // a path cannot be held by the file (see canHoldPath); the file is then left as it was.
    bool save(const QString& serviceFile) const;
    // Whether a folder path survives a save and load unchanged: not empty and free of code
    // units below 32, which end lines in the file. Check before adding an entry.
    static bool canHoldPath(const QString& folderPath);

    // First vehicle, in register order and then list order, whose name equals `name`
    // exactly (names are held as at most 12 characters).
    VehicleEntry* findVehicleByName(const QString& name);
    // First entry whose workshop node is `node`.
    WorkshopEntry* findByNode(TreeNode node);
    // Removes the first entry whose workshop node is `node`; false when there is none.
    bool removeByNode(TreeNode node);

    static QString serviceFilePath(); // data folder + "/service.txt"

private:
    std::vector<WorkshopEntry> m_entries;
};

// "<workshop>/RX902" and "<workshop>/RX902/SINFO.BIN".
QString ExchangeFolderOf(const QString& workshopFolder);
QString WorkshopRecordPathOf(const QString& workshopFolder);
