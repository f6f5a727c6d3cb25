#pragma once

#include <QString>
#include <QTemporaryDir>

// A real exFAT file system on a 64 MiB image, attached to a loop device and mounted with
// exfat-fuse onto a folder the test chooses. Everything is undone on destruction, whatever
// the test did in between. Needs root, losetup, mkfs.exfat and mount.exfat-fuse.
class ExfatStick {
public:
    explicit ExfatStick(const QString& mountPoint);
    ~ExfatStick();

    // Empty when the stick is mounted; otherwise why it could not be.
    QString failure() const { return m_failure; }

private:
    QTemporaryDir m_dir;
    QString m_mountPoint;
    QString m_loop;
    bool m_mounted = false;
    QString m_failure;
};
