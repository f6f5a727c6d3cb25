#include "platform/Drives.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusReply>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <algorithm>

namespace {

Drives::Sources& currentSources()
{
    static Drives::Sources sources;
    return sources;
}

struct MountEntry {
    QString device;
    QString mountPoint;
    QString fsType;
};

// The mount table escapes blanks, tabs, new lines and backslashes as three octal digits.
QString unescapeMountField(const QByteArray& field)
{
    QByteArray out;
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            bool ok = false;
            const int code = field.mid(i + 1, 3).toInt(&ok, 8);
            if (ok) {
                out.append(static_cast<char>(code));
                i += 3;
                continue;
            }
        }
        out.append(field[i]);
    }
    return QFile::decodeName(out);
}

QList<MountEntry> readMountTable(const QString& path)
{
    QList<MountEntry> entries;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return entries;
    // /proc/self/mounts reports a size of 0, so it is read to its end rather than by size.
    const QList<QByteArray> lines = file.readAll().split('\n');
    for (const QByteArray& line : lines) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() < 3)
            continue;
        entries.append({unescapeMountField(fields[0]), unescapeMountField(fields[1]),
                        QString::fromLatin1(fields[2])});
    }
    return entries;
}

QString readFirstLine(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLatin1(file.readLine(64)).trimmed();
}

// Disks that are never handed to a tachograph, however sysfs flags them: loop and RAM
// disks, optical drives, network block devices.
bool isExcludedDisk(const QString& name)
{
    static const QStringList prefixes = {QStringLiteral("loop"), QStringLiteral("ram"),
                                         QStringLiteral("zram"), QStringLiteral("sr"),
                                         QStringLiteral("nbd")};
    return std::any_of(prefixes.cbegin(), prefixes.cend(),
                       [&name](const QString& prefix) { return name.startsWith(prefix); });
}

// Whether the block device `name` (a partition or a whole disk) lies on a removable disk.
// A mapped device (an encrypted stick) is judged by the device beneath it.
bool isRemovableBlock(const QString& sysRoot, const QString& name, int depth = 0)
{
    if (name.isEmpty() || depth > 4)
        return false;
    const QString device =
        QFileInfo(sysRoot + QStringLiteral("/class/block/") + name).canonicalFilePath();
    if (device.isEmpty())
        return false;
    const QString disk = QFileInfo::exists(device + QStringLiteral("/partition"))
                             ? QFileInfo(device).path()
                             : device;
    const QString diskName = QFileInfo(disk).fileName();
    if (isExcludedDisk(diskName))
        return false;
    const QStringList slaves =
        QDir(disk + QStringLiteral("/slaves")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    if (!slaves.isEmpty())
        return isRemovableBlock(sysRoot, slaves.first(), depth + 1);
    return readFirstLine(disk + QStringLiteral("/removable")) == QStringLiteral("1") ||
           disk.contains(QStringLiteral("/usb")) || diskName.startsWith(QStringLiteral("mmcblk"));
}

// The kernel's name of the block device a mount table entry names ("sdb1" for /dev/sdb1
// or for a /dev/disk/by-uuid link to it); empty for anything that is no device file.
QString blockNameOf(const QString& device)
{
    if (!device.startsWith(QStringLiteral("/dev/")))
        return {};
    const QString resolved = QFileInfo(device).canonicalFilePath();
    return QFileInfo(resolved.isEmpty() ? device : resolved).fileName();
}

constexpr int kBusTimeoutMs = 500;
const QString kUDisksService = QStringLiteral("org.freedesktop.UDisks2");

QVariantMap busProperties(const QDBusConnection& bus, const QString& path, const QString& interface)
{
    QDBusMessage call = QDBusMessage::createMethodCall(
        kUDisksService, path, QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("GetAll"));
    call << interface;
    const QDBusReply<QVariantMap> reply = bus.call(call, QDBus::Block, kBusTimeoutMs);
    return reply.isValid() ? reply.value() : QVariantMap();
}

// UDisks2 hands mount points over as zero-terminated byte arrays.
QStringList mountPointsOf(const QVariant& value)
{
    QList<QByteArray> raw;
    if (value.canConvert<QDBusArgument>())
        qvariant_cast<QDBusArgument>(value) >> raw;
    QStringList points;
    for (QByteArray point : raw) {
        while (point.endsWith('\0'))
            point.chop(1);
        points.append(QFile::decodeName(point));
    }
    return points;
}

// Mount points of the file systems that UDisks2 would show as removable; empty where the
// system bus or UDisks2 is not there.
QSet<QString> udisksRemovableMountPoints()
{
    QSet<QString> points;
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected() || !bus.interface() ||
        !bus.interface()->isServiceRegistered(kUDisksService).value())
        return points;
    QDBusMessage call = QDBusMessage::createMethodCall(
        kUDisksService, QStringLiteral("/org/freedesktop/UDisks2/Manager"),
        QStringLiteral("org.freedesktop.UDisks2.Manager"), QStringLiteral("GetBlockDevices"));
    call << QVariantMap();
    const QDBusReply<QList<QDBusObjectPath>> blocks = bus.call(call, QDBus::Block, kBusTimeoutMs);
    if (!blocks.isValid())
        return points;
    for (const QDBusObjectPath& block : blocks.value()) {
        const QStringList mounted = mountPointsOf(
            busProperties(bus, block.path(), QStringLiteral("org.freedesktop.UDisks2.Filesystem"))
                .value(QStringLiteral("MountPoints")));
        if (mounted.isEmpty())
            continue;
        const QVariantMap blockProps =
            busProperties(bus, block.path(), QStringLiteral("org.freedesktop.UDisks2.Block"));
        if (blockProps.value(QStringLiteral("HintIgnore")).toBool())
            continue;
        const QString drive =
            qvariant_cast<QDBusObjectPath>(blockProps.value(QStringLiteral("Drive"))).path();
        const QVariantMap driveProps =
            drive.isEmpty() || drive == QStringLiteral("/")
                ? QVariantMap()
                : busProperties(bus, drive, QStringLiteral("org.freedesktop.UDisks2.Drive"));
        if (driveProps.value(QStringLiteral("Optical")).toBool())
            continue;
        if (driveProps.value(QStringLiteral("Removable")).toBool() ||
            blockProps.value(QStringLiteral("HintAuto")).toBool()) {
            for (const QString& point : mounted)
                points.insert(point);
        }
    }
    return points;
}

} // namespace

QStringList Drives::removableRoots()
{
    return removableRoots(currentSources());
}

QStringList Drives::removableRoots(const Sources& sources)
{
    const QSet<QString> udisks = sources.askUDisks ? udisksRemovableMountPoints() : QSet<QString>();
    QStringList points;
    for (const MountEntry& entry : readMountTable(sources.mountTable)) {
        // The root of the file system is never a stick, whatever its disk claims.
        if (entry.mountPoint == QStringLiteral("/") || points.contains(entry.mountPoint))
            continue;
        if (entry.fsType == QStringLiteral("iso9660") || entry.fsType == QStringLiteral("udf"))
            continue;
        const QString block = blockNameOf(entry.device);
        if (block.isEmpty())
            continue;
        if (isRemovableBlock(sources.sysRoot, block) || udisks.contains(entry.mountPoint))
            points.append(entry.mountPoint);
    }
    points.sort();
    QStringList roots;
    for (const QString& point : points)
        roots.append(point + u'/');
    return roots;
}

void Drives::setSources(const Sources& sources)
{
    currentSources() = sources;
}

Drives::Sources Drives::sources()
{
    return currentSources();
}
