#include "tests/exchange/FakeDrives.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

void writeText(const QString& path, const QByteArray& text, QIODevice::OpenMode mode = {})
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | mode)) << path.toStdString();
    file.write(text);
}

} // namespace

FakeDrives::FakeDrives() : m_previous(Drives::sources())
{
    QDir(root()).mkpath(QStringLiteral("sys/class/block"));
    writeText(root() + QStringLiteral("/mounts"), "");
    Drives::setSources(sources());
}

FakeDrives::~FakeDrives()
{
    Drives::setSources(m_previous);
}

Drives::Sources FakeDrives::sources() const
{
    return {root() + QStringLiteral("/mounts"), root() + QStringLiteral("/sys"), false};
}

void FakeDrives::addLine(const QString& line)
{
    writeText(root() + QStringLiteral("/mounts"), line.toUtf8() + '\n', QIODevice::Append);
}

// <sys>/devices/<devicePath>/block/<disk>[/<part>], with <sys>/class/block/<part> a link to
// it, as the kernel publishes a disk and its partition.
void FakeDrives::makeBlock(const QString& devicePath, const QString& disk, const QString& part,
                           bool removable)
{
    const QString diskDir =
        root() + QStringLiteral("/sys/devices/") + devicePath + QStringLiteral("/block/") + disk;
    const QString node = part.isEmpty() ? diskDir : diskDir + u'/' + part;
    ASSERT_TRUE(QDir().mkpath(node));
    writeText(diskDir + QStringLiteral("/removable"), removable ? "1\n" : "0\n");
    if (!part.isEmpty())
        writeText(node + QStringLiteral("/partition"), "1\n");
    QFile::link(node,
                root() + QStringLiteral("/sys/class/block/") + (part.isEmpty() ? disk : part));
}

QString FakeDrives::mount(const QString& name, Disk disk, const QString& fsType)
{
    const int n = m_count++;
    const QString letter = QString(QChar(u'b' + n));
    QString device;
    switch (disk) {
    case Disk::RemovableFlag:
        device = QStringLiteral("sd") + letter + u'1';
        makeBlock(QStringLiteral("pci0000:00/0000:00:17.0/ata%1/host0/target0:0:0/0:0:0:0").arg(n),
                  QStringLiteral("sd") + letter, device, true);
        break;
    case Disk::Usb:
    case Disk::EncryptedUsb:
        device = QStringLiteral("sd") + letter + u'1';
        makeBlock(
            QStringLiteral("pci0000:00/0000:00:14.0/usb1/1-%1/1-%1:1.0/host6/target6:0:0/6:0:0:0")
                .arg(n),
            QStringLiteral("sd") + letter, device, false);
        if (disk == Disk::EncryptedUsb) {
            const QString mapped = QStringLiteral("dm-%1").arg(n);
            makeBlock(QStringLiteral("virtual"), mapped, QString(), false);
            const QString slaves = root() + QStringLiteral("/sys/devices/virtual/block/") + mapped +
                                   QStringLiteral("/slaves");
            QDir().mkpath(slaves);
            QFile::link(root() + QStringLiteral("/sys/class/block/") + device,
                        slaves + u'/' + device);
            device = QStringLiteral("mapper/luks-") + letter;
            QFile::link(root() + QStringLiteral("/sys/class/block/") + mapped,
                        root() + QStringLiteral("/sys/class/block/luks-") + letter);
        }
        break;
    case Disk::SdCard:
        device = QStringLiteral("mmcblk%1p1").arg(n);
        makeBlock(QStringLiteral("platform/soc/mmc%1/mmc%1:0001").arg(n),
                  QStringLiteral("mmcblk%1").arg(n), device, false);
        break;
    case Disk::Loop:
        // Flagged removable, so that only the exclusion of loop devices keeps it out.
        device = QStringLiteral("loop%1").arg(n + 20);
        makeBlock(QStringLiteral("virtual"), device, QString(), true);
        break;
    case Disk::Fixed:
        device = QStringLiteral("nvme%1n1p1").arg(n);
        makeBlock(QStringLiteral("pci0000:00/0000:00:1d.0/nvme/nvme%1").arg(n),
                  QStringLiteral("nvme%1n1").arg(n), device, false);
        break;
    case Disk::Optical:
        device = QStringLiteral("sr%1").arg(n);
        makeBlock(QStringLiteral("pci0000:00/0000:00:17.0/ata9/host9/target9:0:0/9:0:0:0"), device,
                  QString(), true);
        break;
    }
    const QString point = root() + QStringLiteral("/media/") + name;
    EXPECT_TRUE(QDir().mkpath(point));
    QString escaped = point;
    escaped.replace(u' ', QStringLiteral("\\040"));
    addLine(QStringLiteral("/dev/%1 %2 %3 rw,nosuid,nodev 0 0").arg(device, escaped, fsType));
    return point;
}
