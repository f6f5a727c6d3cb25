#pragma once

#include <QString>
#include <QStringList>

// The removable drives a technician can hand to the tachograph: mounted volumes whose disk
// a file manager would show as removable. A disk counts when its sysfs `removable` flag is
// 1, when it sits on USB or when it is an SD card; where the system bus offers UDisks2, a
// mount that UDisks2 calls removable or auto-mountable counts too. Loop, RAM, optical and
// fixed disks and network shares are never offered.
class Drives {
public:
    // Where the facts come from. Tests point these at files of their own.
    struct Sources {
        QString mountTable = QStringLiteral("/proc/self/mounts");
        QString sysRoot = QStringLiteral("/sys");
        bool askUDisks = true;
    };

    // The root texts (mount point followed by "/") of the removable volumes, in order of
    // mount point, each once.
    static QStringList removableRoots();
    static QStringList removableRoots(const Sources& sources);

    // Test seam: the sources removableRoots() reads.
    static void setSources(const Sources& sources);
    static Sources sources();
};
