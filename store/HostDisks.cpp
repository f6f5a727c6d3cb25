#include "store/HostDisks.h"

#include <QFile>

#include <algorithm>
#include <iterator>

#include <linux/magic.h>
#include <sys/vfs.h>

bool OnThisHostsDisks(const QString& path)
{
    static constexpr unsigned long kLocalKinds[] = {
        EXT4_SUPER_MAGIC,      BTRFS_SUPER_MAGIC, XFS_SUPER_MAGIC,      TMPFS_MAGIC,
        OVERLAYFS_SUPER_MAGIC, F2FS_SUPER_MAGIC,  REISERFS_SUPER_MAGIC,
    };
    struct statfs info {};
    if (::statfs(QFile::encodeName(path).constData(), &info) != 0)
        return false;
    const auto kind = static_cast<unsigned long>(info.f_type);
    return std::find(std::begin(kLocalKinds), std::end(kLocalKinds), kind) != std::end(kLocalKinds);
}
