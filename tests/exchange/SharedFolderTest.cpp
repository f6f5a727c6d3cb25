#include "tests/exchange/SambaShare.h"

#include "params/GsmRecord.h"
#include "params/OwnerRecord.h"
#include "params/ParamRecord.h"
#include "store/FolderOps.h"
#include "store/RecordFile.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// Two workstations save the same vehicle at the same moment, again and again, while a third
// reads it as the program loads a selection: a workshop folder on a file server and one on a
// local disk must both come through whole.

namespace {

constexpr int kSavesEach = 300;
constexpr int kRunMs = 280000;

const QString kNumber = QStringLiteral("AB123");
const QString kDay = QStringLiteral("20260315");

QProcess* Start(QProcess& process, const QStringList& arguments)
{
    process.start(QStringLiteral(WORKSTATION_HELPER), arguments);
    return &process;
}

void TwoWritersOneReader(const QString& root)
{
    const QString workshop = root + QStringLiteral("/workshop");
    ASSERT_TRUE(QDir().mkpath(workshop + QStringLiteral("/RX902")));
    QTemporaryDir local;
    const QString stop = local.filePath(QStringLiteral("stop"));

    QProcess reader;
    QProcess first;
    QProcess second;
    Start(reader, {QStringLiteral("read"), workshop, kNumber, kDay, stop});
    Start(first, {QStringLiteral("save"), workshop, kNumber, kDay, QStringLiteral("17"),
                  QString::number(kSavesEach)});
    Start(second, {QStringLiteral("save"), workshop, kNumber, kDay, QStringLiteral("42"),
                   QString::number(kSavesEach)});
    for (QProcess* writer : {&first, &second}) {
        EXPECT_TRUE(writer->waitForFinished(kRunMs));
        EXPECT_EQ(writer->exitCode(), 0) << writer->readAllStandardError().toStdString();
        EXPECT_EQ(writer->readAllStandardOutput().count("saved\n"), kSavesEach);
    }
    ASSERT_TRUE(QFile(stop).open(QIODevice::WriteOnly));
    ASSERT_TRUE(reader.waitForFinished(kRunMs));
    EXPECT_EQ(reader.exitCode(), 0) << reader.readAllStandardError().toStdString();
    const QList<QByteArray> counts = reader.readAllStandardOutput().trimmed().split(' ');
    ASSERT_EQ(counts.size(), 4);
    EXPECT_GT(counts[1].toLong(), 0) << "the reader never found the day";
    EXPECT_EQ(counts[3], "0") << "reads that mixed two calibrations or found a file not whole";

    // The day holds one whole calibration of one of the two, and nothing else is left.
    const QString vehicle = workshop + QStringLiteral("/RX902/") + kNumber;
    ParamRecord param;
    GsmRecord gsm;
    OwnerRecord owner;
    ASSERT_EQ(ReadCheckedRecordFile(vehicle + u'/' + kDay + u'/' + kParamFileName, param.bytes),
              RecordFileState::Whole);
    ASSERT_EQ(ReadCheckedRecordFile(vehicle + u'/' + kDay + u'/' + kGsmFileName, gsm.bytes),
              RecordFileState::Whole);
    ASSERT_EQ(ReadCheckedRecordFile(vehicle + u'/' + kOwnerFileName, owner.bytes),
              RecordFileState::Whole);
    EXPECT_TRUE(gsm.bytes[0] == 17 || gsm.bytes[0] == 42);
    EXPECT_EQ(param.bytes[0], gsm.bytes[0]);
    EXPECT_EQ(owner.bytes.back(), gsm.bytes[0]);
    QStringList left;
    QDirIterator it(workshop, QDir::Files | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        left << QDir(workshop).relativeFilePath(it.next());
    left.sort();
    EXPECT_EQ(left, (QStringList{QStringLiteral("RX902/AB123/20260315/GSM_UP.BIN"),
                                 QStringLiteral("RX902/AB123/20260315/PARAM_UP.BIN"),
                                 QStringLiteral("RX902/AB123/CINFO.BIN")}));
}

TEST(SharedFolderTest, twoWorkstationsSavingOneVehicleOnASambaShareNeverMixTheirCalibrations)
{
    const QString missing = SambaShare::missingPart();
    // CI has every part; a developer's machine without them says what it lacks.
    if (!missing.isEmpty() && qgetenv("CI") != "true")
        GTEST_SKIP() << "no file server can be started here: " << missing.toStdString()
                     << " is missing (scripts/install-deps.sh installs samba and smbnetfs)";
    const SambaShare share;
    ASSERT_TRUE(share.failure().isEmpty()) << share.failure().toStdString();
    TwoWritersOneReader(share.folder());
}

TEST(SharedFolderTest, twoWorkstationsSavingOneVehicleOnALocalFolderNeverMixTheirCalibrations)
{
    QTemporaryDir root;
    TwoWritersOneReader(root.path());
}

} // namespace
