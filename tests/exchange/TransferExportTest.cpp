#include "exchange/CalibrationExport.h"
#include "tests/support/TreeWaits.h"
#include "exchange/TransferProgressDialog.h"
#include "exchange/cExportDlg.h"
#include "lang/LanguagePack.h"
#include "lang/StringIds.h"
#include "store/AtomicFileWriter.h"
#include "tests/exchange/ExfatStick.h"
#include "tests/exchange/TransferFixture.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QProgressDialog>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <functional>
#include <memory>

namespace {

class TransferExportTest : public TransferFixture {
protected:
    void SetUp() override
    {
        TransferFixture::SetUp();
        m_a = MakeWorkshopFolder(QStringLiteral("A"));
        m_b = MakeWorkshopFolder(QStringLiteral("B"));
        MakeStoredCalibration(m_a, QStringLiteral("A111AA"), QStringLiteral("20250101"), 1);
        MakeStoredCalibration(m_a, QStringLiteral("A111AA"), QStringLiteral("20250202"), 2);
        MakeStoredCalibration(m_a, QStringLiteral("B222BB"), QStringLiteral("20250303"), 3);
        // The same number in a later workshop: its own days, not those of workshop A.
        MakeStoredCalibration(m_b, QStringLiteral("A111AA"), QStringLiteral("20240909"), 4);
        // A number that fills the record's field: its folder name is longer than the
        // register keeps.
        MakeStoredCalibration(m_b, QStringLiteral("ABCDEFGHIJKLM"), QStringLiteral("20240910"), 5);
        Register(m_a);
        Register(m_b);
    }

    // The two files export writes for a calibration of `seed`.
    static void ExpectDay(QMap<QString, QByteArray>& files, const QString& day, int seed)
    {
        EXPECT_EQ(files.take(day + QStringLiteral("/PARAM.BIN")),
                  RecordFileBytes(Pattern(175, seed).left(171)))
            << day.toStdString();
        EXPECT_EQ(files.take(day + QStringLiteral("/GSM.BIN")),
                  RecordFileBytes(Pattern(145, seed + 1).left(137)))
            << day.toStdString();
    }

    QString m_a;
    QString m_b;
};

TEST_F(TransferExportTest, eachScopeWritesItsCalibrationsByteForByte)
{
    struct Case {
        const char* name;
        int level;
        const char* text;
        const char* under; // the vehicle node to search below, or null
        QList<std::pair<const char*, int>> days;
    };
    const Case cases[] = {
        {"day", TreeLevel::Day, "20250202", nullptr, {{"A111AA/20250202", 2}}},
        {"vehicle",
         TreeLevel::Vehicle,
         "A111AA",
         nullptr,
         {{"A111AA/20250101", 1}, {"A111AA/20250202", 2}}},
        {"vehicle of the second workshop",
         TreeLevel::Vehicle,
         "A111AA",
         "B",
         {{"A111AA/20240909", 4}}},
        {"workshop",
         TreeLevel::Workshop,
         nullptr,
         nullptr,
         {{"A111AA/20250101", 1}, {"A111AA/20250202", 2}, {"B222BB/20250303", 3}}},
        {"vehicle of 13 characters",
         TreeLevel::Vehicle,
         "ABCDEFGHIJKLM",
         "B",
         {{"ABCDEFGHIJKLM/20240910", 5}}},
        {"workshop with a vehicle of 13 characters",
         TreeLevel::Workshop,
         nullptr,
         "B",
         {{"A111AA/20240909", 4}, {"ABCDEFGHIJKLM/20240910", 5}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QDir(DriveFolder()).removeRecursively();
        TreeNode under = c.under && c.level != TreeLevel::Workshop
                             ? FindNode(TreeLevel::Workshop, m_b)
                             : nullptr;
        const QString text = c.text ? QString::fromUtf8(c.text) : (c.under ? m_b : m_a);
        TreeNode node = FindNode(c.level, text, under);
        ASSERT_NE(node, nullptr);
        m_tree->SelectNode(node);
        EXPECT_TRUE(WaitForTree(*m_tree));

        const QString status = Export();
        EXPECT_EQ(status, Lang(StringId::TransferExported).arg(c.days.size()).arg(DriveFolder()));
        QMap<QString, QByteArray> files = FilesUnder(DriveFolder());
        for (const auto& [day, seed] : c.days)
            ExpectDay(files, QString::fromUtf8(day), seed);
        EXPECT_TRUE(files.isEmpty()) << files.firstKey().toStdString();
        EXPECT_TRUE(ShownTexts().isEmpty());
    }
}

TEST_F(TransferExportTest, missingParamRecordStillMakesTheDayAndWritesGsmOnly)
{
    const QString day = ExchangeFolderOf(m_a) + QStringLiteral("/B222BB/20250303");
    ASSERT_TRUE(QFile::remove(day + QStringLiteral("/PARAM_UP.BIN")));
    m_tree->SelectNode(FindNode(TreeLevel::Day, QStringLiteral("20250303")));
    EXPECT_TRUE(WaitForTree(*m_tree));

    Export();
    const QMap<QString, QByteArray> files = FilesUnder(DriveFolder());
    EXPECT_EQ(files.keys(), QStringList{QStringLiteral("B222BB/20250303/GSM.BIN")});
    EXPECT_EQ(files.first().size(), 141);
    const QStringList shown = ShownTexts();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown.first().contains(day + QStringLiteral("/PARAM_UP.BIN")));
}

TEST_F(TransferExportTest, secondExportReplacesTheFilesWhole)
{
    const QString onDrive = DriveFolder() + QStringLiteral("/A111AA/20250101/PARAM.BIN");
    ASSERT_TRUE(QDir().mkpath(QFileInfo(onDrive).path()));
    QFile old(onDrive);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(4000, 'x'));
    old.close();
    m_tree->SelectNode(FindNode(TreeLevel::Day, QStringLiteral("20250101")));
    EXPECT_TRUE(WaitForTree(*m_tree));
    Export();
    MakeStoredCalibration(m_a, QStringLiteral("A111AA"), QStringLiteral("20250101"), 9);
    Export();

    QMap<QString, QByteArray> files = FilesUnder(DriveFolder());
    ExpectDay(files, QStringLiteral("A111AA/20250101"), 9);
    EXPECT_TRUE(files.isEmpty());
}

// A day whose new file cannot be written loses its older one on the drive: the tachograph
// must not load a calibration older than the one exported.
TEST_F(TransferExportTest, failedWriteRemovesTheOlderFileAndSaysWhy)
{
    const QString onDrive = DriveFolder() + QStringLiteral("/A111AA/20250101/PARAM.BIN");
    m_tree->SelectNode(FindNode(TreeLevel::Day, QStringLiteral("20250101")));
    EXPECT_TRUE(WaitForTree(*m_tree));
    Export();
    ASSERT_TRUE(QFileInfo::exists(onDrive));
    MakeStoredCalibration(m_a, QStringLiteral("A111AA"), QStringLiteral("20250101"), 9);

    AtomicFileWriter::failNthWrite(1);
    Export();
    AtomicFileWriter::failNthWrite(0);
    EXPECT_FALSE(QFileInfo::exists(onDrive));
    EXPECT_EQ(ReadFile(DriveFolder() + QStringLiteral("/A111AA/20250101/GSM.BIN")),
              RecordFileBytes(Pattern(145, 10).left(137)));
    const QStringList shown = ShownTexts();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown.first().contains(Lang(StringId::TransferOlderFilesRemoved)
                                           .arg(onDrive + QStringLiteral(" \u2014 ") +
                                                QString::fromLocal8Bit(std::strerror(ENOSPC)))))
        << shown.first().toStdString();

    // A drive that does not confirm the flush is not called ready to be removed.
    AtomicFileWriter::failAt(AtomicFileWriter::FaultPoint::SyncFileSystem, 1);
    const QString status = Export();
    AtomicFileWriter::failAt(AtomicFileWriter::FaultPoint::SyncFileSystem, 0);
    EXPECT_NE(status, Lang(StringId::TransferExported).arg(1).arg(DriveFolder()));
    const QStringList unflushed = ShownTexts();
    ASSERT_EQ(unflushed.size(), 1);
    EXPECT_TRUE(unflushed.first().contains(Lang(StringId::TransferNotFlushed).arg(DriveFolder())));
}

TEST_F(TransferExportTest, refusedAndSkippedExportsSayWhy)
{
    // A number that FAT cannot hold, and a link on the drive pointing out of it.
    MakeStoredCalibration(m_a, QStringLiteral("C3:3CC"), QStringLiteral("20250404"), 5);
    // Two numbers that one FAT or exFAT folder would hold.
    MakeStoredCalibration(m_a, QStringLiteral("c4dd"), QStringLiteral("20250505"), 6);
    MakeStoredCalibration(m_a, QStringLiteral("C4DD"), QStringLiteral("20250606"), 7);
    // A vehicle whose folder on the drive is a link.
    MakeStoredCalibration(m_a, QStringLiteral("D5EE"), QStringLiteral("20250707"), 8);
    ASSERT_TRUE(RebuildAndWait(*m_tree));
    const QString outside = m_data.filePath(QStringLiteral("outside.txt"));
    QFile out(outside);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write("keep");
    out.close();
    const QString linkDay = DriveFolder() + QStringLiteral("/B222BB/20250303");
    ASSERT_TRUE(QDir().mkpath(linkDay));
    ASSERT_TRUE(QFile::link(outside, linkDay + QStringLiteral("/GSM.BIN")));
    ASSERT_TRUE(QFile::link(m_data.path(), DriveFolder() + QStringLiteral("/D5EE")));
    // A file where a vehicle's folder should be made.
    const QString blocked = DriveFolder() + QStringLiteral("/A111AA");
    QFile blocker(blocked);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    m_tree->SelectNode(FindNode(TreeLevel::Workshop, m_a));
    EXPECT_TRUE(WaitForTree(*m_tree));
    const QString status = Export();
    EXPECT_EQ(ReadFile(outside), QByteArray("keep"));
    for (const char* refused : {"C3:3CC", "c4dd", "C4DD"})
        EXPECT_FALSE(QFileInfo::exists(DriveFolder() + u'/' + QString::fromLatin1(refused)))
            << refused;
    // Six of the seven calibrations failed: the status says so and does not call the drive
    // ready to be removed.
    EXPECT_EQ(status,
              Lang(StringId::TransferExportedWithFailures).arg(1).arg(DriveFolder()).arg(6));
    const QStringList shown = ShownTexts();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown.first().contains(
        Lang(StringId::TransferNamesNotOnDrive).arg(QStringLiteral("C3:3CC"))));
    EXPECT_TRUE(shown.first().contains(Lang(StringId::TransferSkipped)
                                           .arg(linkDay + QStringLiteral("/GSM.BIN\n") +
                                                DriveFolder() + QStringLiteral("/D5EE"))));
    EXPECT_TRUE(shown.first().contains(Lang(StringId::TransferFoldersNotCreated)
                                           .arg(blocked + QStringLiteral(" \u2014 ") +
                                                QString::fromLocal8Bit(std::strerror(ENOTDIR)))));
    EXPECT_TRUE(shown.first().contains(
        Lang(StringId::TransferNamesDifferInCase).arg(QStringLiteral("C4DD\nc4dd"))));

    // Nothing selected: no dialog, nothing written, and the user is told what to do.
    ASSERT_TRUE(RebuildAndWait(*m_tree));
    QDir(DriveFolder()).removeRecursively();
    PushUnexpectedDialog();
    cExportDlg dlg(Lang(StringId::ExportCaption));
    EXPECT_FALSE(dlg.Choose(*m_tree));
    ExpectNoDialogRan();
    EXPECT_EQ(ShownTexts(), QStringList{Lang(StringId::NothingSelected)});
    EXPECT_FALSE(QFileInfo::exists(DriveFolder()));
}

// The message's first line says what happened, both ways: nothing or part transferred,
// or only damaged records refused or odd entries skipped.
TEST_F(TransferExportTest, problemHeadingFitsWhatHappened)
{
    const auto put = [this](const QString& relative, const QByteArray& bytes) {
        const QString path = DriveFolder() + u'/' + relative;
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    };
    const QString gsm = QStringLiteral("A111AA/20250909/GSM_UP.BIN");
    const QByteArray whole = RecordFileBytes(Pattern(145, 9));
    const struct {
        bool exporting;
        std::function<void()> arrange;
        int heading;
    } cases[] = {
        {true, [] { AtomicFileWriter::failEvery(AtomicFileWriter::FaultPoint::Write); },
         StringId::TransferNothingWritten},
        {true, [] { AtomicFileWriter::failNthWrite(1); }, StringId::TransferSomeNotWritten},
        {false,
         [&] {
             put(gsm, whole);
             AtomicFileWriter::failEvery(AtomicFileWriter::FaultPoint::Write);
         },
         StringId::TransferNothingTaken},
        {false,
         [&] {
             put(gsm, whole);
             put(QStringLiteral("A111AA/20250909/NOTES.TXT"), "n");
             AtomicFileWriter::failNthWrite(1);
         },
         StringId::TransferSomeNotTaken},
        {false, [&] { put(QStringLiteral("A111AA/20250909/PARAM_UP.BIN"), "short"); },
         StringId::TransferRecordsRefusedOnly},
        {false,
         [&] {
             put(gsm, whole);
             QFile::link(m_data.path(), DriveFolder() + QStringLiteral("/LINKED"));
         },
         StringId::TransferSkippedOnly},
    };
    for (const auto& c : cases) {
        QDir(DriveFolder()).removeRecursively();
        m_tree->SelectNode(FindNode(TreeLevel::Vehicle, QStringLiteral("A111AA")));
        EXPECT_TRUE(WaitForTree(*m_tree));
        c.arrange();
        if (c.exporting)
            Export();
        else
            Import();
        AtomicFileWriter::failEvery(AtomicFileWriter::FaultPoint::Any);
        AtomicFileWriter::failNthWrite(0);
        const QStringList shown = ShownTexts();
        ASSERT_EQ(shown.size(), 1) << c.heading;
        EXPECT_TRUE(shown.first().startsWith(Lang(c.heading) + QStringLiteral("\n\n")))
            << shown.first().toStdString();
    }
}

TEST_F(TransferExportTest, stopAsked_endsAfterTheCalibrationUnderWay)
{
    const QList<CalibrationPlace> items = {
        {m_a, QStringLiteral("A111AA"), QStringLiteral("20250101")},
        {m_a, QStringLiteral("A111AA"), QStringLiteral("20250202")},
    };
    QList<std::pair<int, int>> asked;
    const TransferReport report =
        CalibrationExport(DriveFolder()).run(items, [&](int done, int total) {
            asked.append({done, total});
            return done < 1;
        });
    EXPECT_EQ(asked, (QList<std::pair<int, int>>{{0, 2}, {1, 2}}));
    EXPECT_TRUE(report.stopped);
    EXPECT_EQ(report.done, 1);
    EXPECT_EQ(FilesUnder(DriveFolder()).keys(),
              (QStringList{QStringLiteral("A111AA/20250101/GSM.BIN"),
                           QStringLiteral("A111AA/20250101/PARAM.BIN")}));
}

} // namespace

namespace {

// After a quick export the problem message is what the user sees and answers: the ended
// progress dialog must not come up over it once its delay is up.
TEST_F(TransferExportTest, problemMessageIsNotCoveredByTheProgressDialog)
{
    QFile::resize(ExchangeFolderOf(m_a) + QStringLiteral("/A111AA/20250101/PARAM_UP.BIN"), 100);
    m_tree->SelectNode(FindNode(TreeLevel::Day, QStringLiteral("20250101")));
    EXPECT_TRUE(WaitForTree(*m_tree));
    Prompts::setSilent(false);
    bool progressShown = true;
    QString answered;
    QTimer::singleShot(TransferProgressDialog::kShownAfterMs + 300, [&] {
        const QWidgetList windows = QApplication::topLevelWidgets();
        progressShown = std::any_of(windows.cbegin(), windows.cend(), [](const QWidget* w) {
            return w->isVisible() && qobject_cast<const QProgressDialog*>(w);
        });
        for (QWidget* window : windows) {
            if (auto* box = qobject_cast<QMessageBox*>(window); box && box->isVisible()) {
                answered = box->text();
                box->accept();
            }
        }
    });
    Export();
    Prompts::setSilent(true);
    EXPECT_FALSE(progressShown);
    EXPECT_FALSE(answered.isEmpty());
    ShownTexts();
}

} // namespace

namespace {

// The same export onto a real exFAT stick: letter case is not told apart there, and a full
// stick makes the replacement of a day's file fail.
class TransferExfatTest : public TransferExportTest {
protected:
    void SetUp() override
    {
        TransferExportTest::SetUp();
        m_drive = m_drives.mount(QStringLiteral("exfat"), FakeDrives::Disk::Usb,
                                 QStringLiteral("fuseblk"));
        m_stick = std::make_unique<ExfatStick>(m_drive);
        if (!m_stick->failure().isEmpty())
            GTEST_SKIP() << "no exFAT stick: " << m_stick->failure().toStdString();
    }
    void TearDown() override
    {
        m_stick.reset();
        TransferExportTest::TearDown();
    }

    std::unique_ptr<ExfatStick> m_stick;
};

TEST_F(TransferExfatTest, caseTwinsAreRefusedAndAFullStickKeepsNoOlderCalibration)
{
    MakeStoredCalibration(m_a, QStringLiteral("ab123"), QStringLiteral("20250505"), 6);
    MakeStoredCalibration(m_a, QStringLiteral("AB123"), QStringLiteral("20250606"), 7);
    ASSERT_TRUE(RebuildAndWait(*m_tree));
    m_tree->SelectNode(FindNode(TreeLevel::Workshop, m_a));
    EXPECT_TRUE(WaitForTree(*m_tree));
    Export();
    QMap<QString, QByteArray> files = FilesUnder(DriveFolder());
    ExpectDay(files, QStringLiteral("A111AA/20250101"), 1);
    ExpectDay(files, QStringLiteral("A111AA/20250202"), 2);
    ExpectDay(files, QStringLiteral("B222BB/20250303"), 3);
    EXPECT_TRUE(files.isEmpty()) << files.firstKey().toStdString();
    QStringList shown = ShownTexts();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown[0].contains(
        Lang(StringId::TransferNamesDifferInCase).arg(QStringLiteral("AB123\nab123"))));

    // Fill the stick to its last byte, then export a changed day over its older files.
    {
        QFile filler(m_drive + QStringLiteral("/filler"));
        ASSERT_TRUE(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        for (const int size : {1024 * 1024, 4096, 1}) {
            const QByteArray block(size, 'f');
            while (filler.write(block) == size) {
            }
        }
    }
    MakeStoredCalibration(m_a, QStringLiteral("A111AA"), QStringLiteral("20250101"), 9);
    m_tree->SelectNode(FindNode(TreeLevel::Day, QStringLiteral("20250101")));
    EXPECT_TRUE(WaitForTree(*m_tree));
    Export();
    shown = ShownTexts();
    const QString day = DriveFolder() + QStringLiteral("/A111AA/20250101");
    EXPECT_NE(ReadFile(day + QStringLiteral("/PARAM.BIN")),
              RecordFileBytes(Pattern(175, 1).left(171)));
    EXPECT_NE(ReadFile(day + QStringLiteral("/GSM.BIN")),
              RecordFileBytes(Pattern(145, 2).left(137)));
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown[0].contains(QString::fromLocal8Bit(std::strerror(ENOSPC))))
        << shown[0].toStdString();
}

} // namespace
