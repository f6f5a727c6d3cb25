#include "exchange/CalibrationImport.h"
#include "tests/support/TreeWaits.h"
#include "exchange/TransferMessages.h"
#include "exchange/cExportDlg.h"
#include "lang/LanguagePack.h"
#include "lang/StringIds.h"
#include "platform/Prompts.h"
#include "store/AtomicFileWriter.h"
#include "store/FolderLock.h"
#include "tests/exchange/TransferFixture.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QMessageBox>
#include <QSysInfo>
#include <QTimer>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class TransferImportTest : public TransferFixture {
protected:
    void SetUp() override
    {
        TransferFixture::SetUp();
        m_ws = MakeWorkshopFolder(QStringLiteral("W"));
        MakeStoredCalibration(m_ws, QStringLiteral("A111AA"), QStringLiteral("20250101"), 1);
        Register(m_ws);
    }

    // What the tachograph leaves on the drive: records under RX902/<number>/<day>.
    void PutOnDrive(const QString& relative, const QByteArray& bytes)
    {
        const QString path = DriveFolder() + u'/' + relative;
        ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    void SelectVehicle()
    {
        m_tree->SelectNode(FindNode(TreeLevel::Vehicle, QStringLiteral("A111AA")));
        EXPECT_TRUE(WaitForTree(*m_tree));
    }

    QString m_ws;
};

TEST_F(TransferImportTest, replacesSameDayRecordsAndNewDaysAppearInTheTree)
{
    const QByteArray param = RecordFileBytes(Pattern(175, 7));
    const QByteArray gsm = RecordFileBytes(Pattern(145, 8));
    PutOnDrive(QStringLiteral("A111AA/20250101/PARAM_UP.BIN"), param);
    PutOnDrive(QStringLiteral("A111AA/20250606/PARAM_UP.BIN"), param);
    PutOnDrive(QStringLiteral("A111AA/20250606/GSM_UP.BIN"), gsm);
    PutOnDrive(QStringLiteral("Z999ZZ/20250707/GSM_UP.BIN"), gsm);
    // Locks another workstation left on the drive lock nothing here and are not taken.
    PutOnDrive(QStringLiteral(".lock"), "x");
    PutOnDrive(QStringLiteral(".A111AA.lock"), "x");
    const QByteArray keptGsm =
        ReadFile(ExchangeFolderOf(m_ws) + QStringLiteral("/A111AA/20250101/GSM_UP.BIN"));
    m_tree->SelectNode(FindNode(TreeLevel::Day, QStringLiteral("20250101")));
    EXPECT_TRUE(WaitForTree(*m_tree));

    const QString status = Import();
    EXPECT_EQ(status, Lang(StringId::TransferImported).arg(4).arg(DriveFolder()));
    EXPECT_TRUE(ShownTexts().isEmpty());
    const QMap<QString, QByteArray> files = FilesUnder(ExchangeFolderOf(m_ws));
    const QMap<QString, QByteArray> expected = {
        {QStringLiteral("SINFO.BIN"), ReadFile(WorkshopRecordPathOf(m_ws))},
        {QStringLiteral("A111AA/20250101/PARAM_UP.BIN"), param},
        {QStringLiteral("A111AA/20250101/GSM_UP.BIN"), keptGsm},
        {QStringLiteral("A111AA/20250606/PARAM_UP.BIN"), param},
        {QStringLiteral("A111AA/20250606/GSM_UP.BIN"), gsm},
        {QStringLiteral("Z999ZZ/20250707/GSM_UP.BIN"), gsm},
    };
    EXPECT_EQ(files, expected);
    EXPECT_EQ(m_tree->SelectedNode(), FindNode(TreeLevel::Day, QStringLiteral("20250101")));
    EXPECT_NE(FindNode(TreeLevel::Day, QStringLiteral("20250606")), nullptr);
    EXPECT_NE(FindNode(TreeLevel::Day, QStringLiteral("20250707")), nullptr);
    EXPECT_EQ(m_reg.entries().front().vehicles.size(), 2u);
}

TEST_F(TransferImportTest, driveWithoutExchangeFolderChangesNothingAndStillRebuilds)
{
    const QMap<QString, QByteArray> before = FilesUnder(m_ws);
    SelectVehicle();
    const QString status = Import();
    EXPECT_EQ(status, Lang(StringId::TransferNoExchangeFolder).arg(DriveFolder()));
    EXPECT_EQ(FilesUnder(m_ws), before);
    EXPECT_EQ(m_tree->SelectedNode(), FindNode(TreeLevel::Vehicle, QStringLiteral("A111AA")));
    EXPECT_NE(FindNode(TreeLevel::Day, QStringLiteral("20250101")), nullptr);
    EXPECT_TRUE(ShownTexts().isEmpty());
}

TEST_F(TransferImportTest, linksAndSpecialFilesAreSkippedAndNamed)
{
    const QString secret = m_data.filePath(QStringLiteral("secret.txt"));
    QFile file(secret);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("secret");
    file.close();
    PutOnDrive(QStringLiteral("A111AA/20250808/notes.txt"), "ok");
    const QString day = DriveFolder() + QStringLiteral("/A111AA/20250808");
    const QStringList odd = {day + QStringLiteral("/PARAM_UP.BIN"), day + QStringLiteral("/fifo"),
                             DriveFolder() + QStringLiteral("/LINKED")};
    ASSERT_TRUE(QFile::link(secret, odd[0]));
    ASSERT_EQ(::mkfifo(QFile::encodeName(odd[1]).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(m_data.path(), odd[2]));
    SelectVehicle();

    Import();
    const QString copied = ExchangeFolderOf(m_ws) + QStringLiteral("/A111AA/20250808");
    EXPECT_EQ(ReadFile(copied + QStringLiteral("/notes.txt")), QByteArray("ok"));
    EXPECT_FALSE(QFileInfo::exists(copied + QStringLiteral("/PARAM_UP.BIN")));
    EXPECT_FALSE(QFileInfo::exists(copied + QStringLiteral("/fifo")));
    EXPECT_FALSE(QFileInfo::exists(ExchangeFolderOf(m_ws) + QStringLiteral("/LINKED")));
    const QStringList shown = ShownTexts();
    ASSERT_EQ(shown.size(), 1);
    for (const QString& path : odd)
        EXPECT_TRUE(shown.first().contains(path)) << path.toStdString();
}

TEST_F(TransferImportTest, failedWriteKeepsTheWorkshopFileAndIsReported)
{
    const QString target = ExchangeFolderOf(m_ws) + QStringLiteral("/A111AA/20250101/PARAM_UP.BIN");
    const QByteArray before = ReadFile(target);
    PutOnDrive(QStringLiteral("A111AA/20250101/PARAM_UP.BIN"), RecordFileBytes(Pattern(175, 9)));
    SelectVehicle();
    AtomicFileWriter::failNthWrite(1);
    const QString status = Import();
    AtomicFileWriter::failNthWrite(0);
    EXPECT_EQ(ReadFile(target), before);
    EXPECT_EQ(status,
              Lang(StringId::TransferImportedWithFailures).arg(0).arg(DriveFolder()).arg(1));
    EXPECT_EQ(ShownTexts(),
              QStringList{Lang(StringId::TransferNothingTaken) + QStringLiteral("\n\n") +
                          Lang(StringId::TransferFilesNotWritten)
                              .arg(target + QStringLiteral(" \u2014 ") +
                                   QString::fromLocal8Bit(std::strerror(ENOSPC)))});
}

TEST_F(TransferImportTest, refusals_nothingSelectedOrFoldersInsideEachOther)
{
    PutOnDrive(QStringLiteral("A111AA/20250909/GSM_UP.BIN"), "x");
    PushUnexpectedDialog();
    cExportDlg dlg(Lang(StringId::ImportCaption));
    EXPECT_FALSE(dlg.Choose(*m_tree));
    ExpectNoDialogRan();
    EXPECT_EQ(ShownTexts(), QStringList{Lang(StringId::NothingSelected)});

    // The workshop's exchange folder is the drive's, or lies inside it.
    for (const QString& destination : {DriveFolder(), DriveFolder() + QStringLiteral("/W/RX902")}) {
        const TransferReport report = CalibrationImport(DriveFolder(), destination).run();
        EXPECT_TRUE(report.overlapping) << destination.toStdString();
        EXPECT_EQ(report.done, 0);
    }
    EXPECT_FALSE(QFileInfo::exists(DriveFolder() + QStringLiteral("/W")));
    EXPECT_FALSE(QFileInfo::exists(ExchangeFolderOf(m_ws) + QStringLiteral("/A111AA/20250909")));

    // A folder whose name merely begins like the drive's lies beside it, not inside.
    const QString beside = DriveFolder() + QStringLiteral("2");
    const TransferReport report = CalibrationImport(DriveFolder(), beside).run();
    EXPECT_FALSE(report.overlapping);
    EXPECT_EQ(report.total, 1);

    // An exchange folder that is a plain file is called that, not a link.
    QFile plain(m_data.filePath(QStringLiteral("RX902")));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    const TransferReport fromFile = CalibrationImport(plain.fileName(), beside).run();
    EXPECT_EQ(
        TransferMessages::Problems(fromFile, TransferMessages::Direction::Import, plain.fileName())
            .text,
        Lang(StringId::TransferNothingTaken) + QStringLiteral("\n\n") +
            Lang(StringId::TransferSourceNotFolder).arg(plain.fileName()));
}

// Many failures with long names: the message fits an 800-pixel-high screen, and its details
// part names every file.
TEST_F(TransferImportTest, manyLongFailuresFitTheScreenWithEveryNameInTheDetails)
{
    QStringList names;
    for (int i = 0; i < 60; ++i) {
        names << QString::number(100 + i) + QString(200, u'n');
        PutOnDrive(QStringLiteral("A111AA/20250909/") + names.last(), "x");
    }
    SelectVehicle();
    Prompts::setSilent(false);
    int height = 0;
    QString details;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (auto* box = qobject_cast<QMessageBox*>(window); box && box->isVisible()) {
                height = box->sizeHint().height();
                details = box->detailedText();
                box->accept();
            }
        }
    });
    poll.start(20);
    AtomicFileWriter::failEvery(AtomicFileWriter::FaultPoint::Write);
    Import();
    AtomicFileWriter::failEvery(AtomicFileWriter::FaultPoint::Any);
    Prompts::setSilent(true);
    EXPECT_GT(height, 0);
    EXPECT_LE(height, 800);
    for (const QString& name : names)
        EXPECT_TRUE(details.contains(name)) << name.toStdString();
    ShownTexts();
}

// A workshop another workstation holds is waited for, then refused with its name, and the
// other's lock stays where it is.
TEST_F(TransferImportTest, workshopLockedElsewhereIsRefusedChangingNothing)
{
    PutOnDrive(QStringLiteral("A111AA/20250909/GSM_UP.BIN"), RecordFileBytes(Pattern(145, 9)));
    QLockFile other(FolderLock::WorkshopLockPath(m_ws));
    ASSERT_TRUE(other.tryLock(0));
    const QMap<QString, QByteArray> before = FilesUnder(m_ws);
    FolderLock::SetWaitMs(200);
    SelectVehicle();
    const QString status = Import();
    FolderLock::SetWaitMs(FolderLock::kDefaultWaitMs);
    EXPECT_TRUE(status.isEmpty());
    EXPECT_EQ(ShownTexts(),
              QStringList{Lang(StringId::WorkshopLockedElsewhere)
                              .arg(m_ws, QStringLiteral("%1 (%2)")
                                             .arg(QSysInfo::machineHostName())
                                             .arg(QCoreApplication::applicationPid()))});
    // The other's lock file among them.
    EXPECT_EQ(FilesUnder(m_ws), before);
}

TEST_F(TransferImportTest, stopAsked_endsBeforeTheNextFile)
{
    PutOnDrive(QStringLiteral("A/1/F1"), "1");
    PutOnDrive(QStringLiteral("A/1/F2"), "2");
    PutOnDrive(QStringLiteral("B/F3"), "3");
    const QString destination = m_data.filePath(QStringLiteral("copy"));
    int calls = 0;
    const TransferReport report =
        CalibrationImport(DriveFolder(), destination).run([&](int done, int total) {
            ++calls;
            EXPECT_EQ(total, 3);
            return done < 2;
        });
    EXPECT_TRUE(report.stopped);
    EXPECT_EQ(report.done, 2);
    EXPECT_EQ(calls, 3);
    EXPECT_EQ(FilesUnder(destination).keys(),
              (QStringList{QStringLiteral("A/1/F1"), QStringLiteral("A/1/F2")}));
    EXPECT_FALSE(QFileInfo::exists(destination + QStringLiteral("/B")));
}

// A vehicle or day appears only with a file in it: a refused record or an empty folder of
// the drive leaves no calibration of zeros in the tree.
TEST_F(TransferImportTest, foldersAreMadeOnlyForFilesTaken)
{
    PutOnDrive(QStringLiteral("N1/20250101/PARAM_UP.BIN"),
               RecordFileBytes(Pattern(175, 1)).left(100));
    ASSERT_TRUE(QDir().mkpath(DriveFolder() + QStringLiteral("/N2/20250202")));
    PutOnDrive(QStringLiteral("N3/20250303/PARAM_UP.BIN"), RecordFileBytes(Pattern(175, 3)));
    SelectVehicle();

    Import();
    EXPECT_EQ(ShownTexts().size(), 1);
    for (const char* gone : {"N1", "N2"})
        EXPECT_FALSE(QFileInfo::exists(ExchangeFolderOf(m_ws) + u'/' + QString::fromLatin1(gone)))
            << gone;
    EXPECT_NE(FindNode(TreeLevel::Day, QStringLiteral("20250303")), nullptr);
    EXPECT_EQ(FindNode(TreeLevel::Vehicle, QStringLiteral("N1")), nullptr);
}

} // namespace

namespace {

TEST_F(TransferImportTest, namesThatAreNoValidTextAreNamedNotDropped)
{
    const QByteArray vehicle = QFile::encodeName(DriveFolder()) + "/\xc0\xc1\xc2"
                                                                  "777";
    ASSERT_TRUE(QDir().mkpath(DriveFolder()));
    ASSERT_EQ(::mkdir(vehicle.constData(), 0755), 0);
    ASSERT_EQ(::mkdir((vehicle + "/20250101").constData(), 0755), 0);
    const int fd =
        ::open((vehicle + "/20250101/PARAM_UP.BIN").constData(), O_WRONLY | O_CREAT, 0644);
    ASSERT_GE(fd, 0);
    ::close(fd);
    SelectVehicle();

    const QString status = Import();
    EXPECT_EQ(status,
              Lang(StringId::TransferImportedWithFailures).arg(0).arg(DriveFolder()).arg(1));
    const QStringList shown = ShownTexts();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown[0].contains(DriveFolder() + QStringLiteral("/\\xC0\\xC1\\xC2777")))
        << shown[0].toStdString();
}

} // namespace

namespace {

// The workshop's details and the owner's are the workshop's own: a stick of another
// workshop replaces them only when the user says so, once for both.
TEST_F(TransferImportTest, otherWorkshopDetailsAndOwnerAreReplacedOnlyWhenTheUserSaysSo)
{
    const QString owner = ExchangeFolderOf(m_ws) + QStringLiteral("/A111AA/CINFO.BIN");
    const QString param = ExchangeFolderOf(m_ws) + QStringLiteral("/A111AA/20250101/PARAM_UP.BIN");
    {
        QFile file(owner);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(RecordFileBytes(Pattern(1624, 1)));
    }
    const QByteArray theirDetails = RecordFileBytes(Pattern(1168, 5));
    const QByteArray theirOwner = RecordFileBytes(Pattern(1624, 6));
    const QByteArray theirParam = RecordFileBytes(Pattern(175, 7));
    for (const auto answer : {Prompts::Answer::No, Prompts::Answer::Yes}) {
        SCOPED_TRACE(answer == Prompts::Answer::Yes ? "replace" : "keep ours");
        const QByteArray ourDetails = ReadFile(WorkshopRecordPathOf(m_ws));
        const QByteArray ourOwner = ReadFile(owner);
        PutOnDrive(QStringLiteral("SINFO.BIN"), theirDetails);
        PutOnDrive(QStringLiteral("A111AA/CINFO.BIN"), theirOwner);
        PutOnDrive(QStringLiteral("A111AA/20250101/PARAM_UP.BIN"), theirParam);
        SelectVehicle();
        Prompts::pushAnswer(answer);

        Import();
        const QStringList shown = ShownTexts();
        ASSERT_EQ(shown.size(), 1);
        EXPECT_EQ(
            shown[0],
            Lang(StringId::TransferReplaceDetails).arg(owner + u'\n' + WorkshopRecordPathOf(m_ws)));
        const bool replace = answer == Prompts::Answer::Yes;
        EXPECT_EQ(ReadFile(WorkshopRecordPathOf(m_ws)), replace ? theirDetails : ourDetails);
        EXPECT_EQ(ReadFile(owner), replace ? theirOwner : ourOwner);
        EXPECT_EQ(ReadFile(param), theirParam);
    }
}

} // namespace

namespace {

// A path of thousands of characters must not push the message's button off the screen.
TEST(TransferMessagesTest, longPathsAreElidedInTheMiddle)
{
    const QString path =
        QStringLiteral("/media/") + QString(4000, u'x') + QStringLiteral("/END.BIN");
    TransferReport report;
    report.filesNotWritten << path;
    report.notFlushed = true;
    const QString text =
        TransferMessages::Problems(report, TransferMessages::Direction::Export, path).text;
    EXPECT_LT(text.size(), 1000);
    for (const QString& line : text.split(u'\n'))
        EXPECT_LE(line.size(), 400) << line.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("/END.BIN")));
    EXPECT_TRUE(text.contains(QStringLiteral("/media/")));
}

} // namespace
