#include "exchange/cExportDlg.h"
#include "lang/LanguagePack.h"
#include "lang/StringIds.h"
#include "platform/Drives.h"
#include "platform/ModalRunner.h"
#include "platform/Prompts.h"
#include "tests/exchange/FakeDrives.h"

#include <QComboBox>

#include <gtest/gtest.h>

namespace {

using Disk = FakeDrives::Disk;

TEST(TransferDrives, offersOnlyRemovableVolumesInMountPointOrder)
{
    FakeDrives drives;
    struct Volume {
        const char* name;
        Disk disk;
        const char* fsType;
        bool offered;
    };
    const Volume volumes[] = {
        {"stick", Disk::RemovableFlag, "vfat", true},
        {"backup", Disk::Usb, "exfat", true},
        {"card", Disk::SdCard, "vfat", true},
        {"vault", Disk::EncryptedUsb, "ext4", true},
        {"MY STICK", Disk::RemovableFlag, "vfat", true},
        {"snap", Disk::Loop, "squashfs", false},
        {"data", Disk::Fixed, "ext4", false},
        {"cdrom", Disk::Optical, "iso9660", false},
    };
    QStringList expected;
    for (const Volume& v : volumes) {
        const QString point =
            drives.mount(QString::fromUtf8(v.name), v.disk, QString::fromUtf8(v.fsType));
        if (v.offered)
            expected << point + u'/';
    }
    drives.addLine(QStringLiteral("server:/share %1/media/net nfs4 rw 0 0").arg(drives.root()));
    drives.addLine(QStringLiteral("tmpfs %1/media/ram tmpfs rw 0 0").arg(drives.root()));
    // A volume mounted twice at one point is offered once.
    drives.addLine(QStringLiteral("/dev/sdb1 %1/media/stick vfat rw 0 0").arg(drives.root()));
    expected.sort();

    EXPECT_EQ(Drives::removableRoots(), expected);
    EXPECT_TRUE(expected.first().endsWith(QStringLiteral("/media/MY STICK/")));
}

TEST(TransferDrives, missingMountTableOrSysfsOffersNothing)
{
    FakeDrives drives;
    drives.mount(QStringLiteral("stick"), Disk::RemovableFlag);
    Drives::Sources broken = drives.sources();
    broken.sysRoot = drives.root() + QStringLiteral("/nosys");
    EXPECT_TRUE(Drives::removableRoots(broken).isEmpty());
    broken = drives.sources();
    broken.mountTable = drives.root() + QStringLiteral("/nomounts");
    EXPECT_TRUE(Drives::removableRoots(broken).isEmpty());
}

TEST(TransferDrives, dialogListsDrivesFirstChosenAndRefusesEmptyList)
{
    Prompts::setSilent(true);
    Prompts::takeShownTexts();
    FakeDrives drives;
    {
        cExportDlg empty(Lang(StringId::ImportCaption));
        auto* list = empty.findChild<QComboBox*>(QStringLiteral("id1006"));
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(list->count(), 0);
        EXPECT_EQ(empty.windowTitle(), Lang(StringId::ImportCaption));
        empty.accept();
        EXPECT_EQ(empty.result(), QDialog::Rejected);
        EXPECT_TRUE(empty.DriveText().isEmpty());
        EXPECT_EQ(Prompts::takeShownTexts(), QStringList{Lang(StringId::NoRemovableDrive)});

        // A drive inserted meanwhile is the one the next OK takes, without a second OK.
        const QString late = drives.mount(QStringLiteral("late"), Disk::Usb);
        empty.accept();
        EXPECT_EQ(empty.result(), QDialog::Accepted);
        EXPECT_EQ(empty.DriveText(), late + u'/');
        EXPECT_TRUE(Prompts::takeShownTexts().isEmpty());
    }
    const QString second = drives.mount(QStringLiteral("zz"), Disk::SdCard);
    cExportDlg dlg(Lang(StringId::ExportCaption));
    auto* list = dlg.findChild<QComboBox*>(QStringLiteral("id1006"));
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->currentIndex(), 0);
    list->setCurrentIndex(1);
    dlg.accept();
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.DriveText(), second + u'/');
    EXPECT_TRUE(Prompts::takeShownTexts().isEmpty());
}

} // namespace
