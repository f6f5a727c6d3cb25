#pragma once

#include "platform/Drives.h"

#include <QString>
#include <QTemporaryDir>

// A mount table in the format of /proc/self/mounts and a sysfs tree laid out as the kernel
// lays it out, in a temporary folder, with one real folder per mount point. While the object
// lives, the drives layer reads these instead of the machine's.
class FakeDrives {
public:
    enum class Disk { RemovableFlag, Usb, SdCard, EncryptedUsb, Loop, Fixed, Optical };

    FakeDrives();
    ~FakeDrives();

    // Adds a mounted volume on a disk of that kind and returns its mount point (made).
    QString mount(const QString& name, Disk disk, const QString& fsType = QStringLiteral("vfat"));
    // Adds a line of the mount table as it stands.
    void addLine(const QString& line);

    Drives::Sources sources() const;
    QString root() const { return m_dir.path(); }

private:
    void makeBlock(const QString& devicePath, const QString& disk, const QString& part,
                   bool removable);

    QTemporaryDir m_dir;
    int m_count = 0;
    Drives::Sources m_previous;
};
