#include "lang/LanguagePack.h"
#include "lang/StringIds.h"
#include "navigation/cNewCarDlg.h"
#include "platform/ModalRunner.h"
#include "store/AtomicFileWriter.h"
#include "store/FolderOps.h"
#include "tests/exchange/TransferFixture.h"
#include "tests/support/TreeWaits.h"

#include <QComboBox>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QLineEdit>

#include <functional>

// The savers that make folders as well as files (a new vehicle, an export to the drive), run
// through every failure position of the file writer. After each: every file is the old or
// the new one byte for byte, no temporary file is left, a result short of the whole new
// state was told exactly once (and the whole new state not at all), and what the program
// shows matches the disk.
namespace {

using Files = QMap<QString, QByteArray>;

struct Outcome {
    int position;
    Files now;
    QStringList shown;
};

// Every file that is not the new one is named in the message, itself or by the folder that
// could not be made for it.
void ExpectEveryFileNotNewNamed(const QString& root, const Outcome& outcome, const Files& after)
{
    for (auto it = after.cbegin(); it != after.cend(); ++it) {
        if (outcome.now.value(it.key()) == it.value())
            continue;
        ASSERT_EQ(outcome.shown.size(), 1) << outcome.position;
        QString path = root + u'/' + it.key();
        bool named = false;
        for (; !named && path.size() >= root.size(); path = QFileInfo(path).path())
            named = outcome.shown.first().contains(path);
        EXPECT_TRUE(named) << outcome.position << ' ' << it.key().toStdString();
    }
}

class FolderSaverSweep : public TransferFixture {
protected:
    // `reset` puts the old state back, `save` plays the user's command, `check` adds the
    // saver's own checks. The files under `root` are compared.
    void Sweep(const QString& root, const std::function<void()>& reset,
               const std::function<void()>& save,
               const std::function<void(const Outcome&, const Files& after)>& check)
    {
        reset();
        const Files before = FilesUnder(root);
        AtomicFileWriter::failAtStep(0);
        save();
        m_kinds = AtomicFileWriter::stepKinds();
        const int steps = AtomicFileWriter::stepsTaken();
        const Files after = FilesUnder(root);
        ASSERT_TRUE(ShownTexts().isEmpty());
        ASSERT_NE(before, after);

        for (int position = 1; position <= steps; ++position) {
            reset();
            ShownTexts();
            AtomicFileWriter::failAtStep(position);
            save();
            AtomicFileWriter::failAtStep(0);
            // What the action selected afterwards is read on a worker, under a vehicle's lock.
            EXPECT_TRUE(WaitForTree(*m_tree));
            const Outcome outcome{position, FilesUnder(root), ShownTexts()};
            for (auto it = outcome.now.cbegin(); it != outcome.now.cend(); ++it) {
                EXPECT_FALSE(QFileInfo(it.key()).fileName().startsWith(u'.'))
                    << position << ' ' << it.key().toStdString();
                EXPECT_TRUE(it.value() == before.value(it.key(), "\x01missing") ||
                            it.value() == after.value(it.key(), "\x01missing"))
                    << position << ' ' << it.key().toStdString();
            }
            // A drive that does not confirm the flush at the end is never called ready.
            const bool flushFailed = FlushStepAt(position);
            EXPECT_EQ(outcome.shown.size(), outcome.now == after && !flushFailed ? 0 : 1)
                << position;
            if (flushFailed && !outcome.shown.isEmpty()) {
                EXPECT_TRUE(
                    outcome.shown.first().contains(Lang(StringId::TransferNotFlushed).arg(root)))
                    << position;
            }
            check(outcome, after);
        }
    }

    // Whether the step at `position` opens the file system for its flush or flushes it.
    bool FlushStepAt(int position) const
    {
        using Kind = AtomicFileWriter::FaultPoint;
        const qsizetype at = position - 1;
        return m_kinds.value(at) == Kind::SyncFileSystem ||
               (m_kinds.value(at) == Kind::OpenFolder &&
                m_kinds.value(at + 1) == Kind::SyncFileSystem);
    }

    // The kinds of the steps of the run without a fault.
    QList<AtomicFileWriter::FaultPoint> m_kinds;
};

TEST_F(FolderSaverSweep, NewVehicle)
{
    const QString workshop = MakeWorkshopFolder(QStringLiteral("shop"));
    Register(workshop);
    const QString number = QStringLiteral("SW123");
    const QString vehicle = ExchangeFolderOf(workshop) + u'/' + number;
    const QString day = vehicle + u'/' + TodayStamp();
    const QString dayFiles = number + u'/' + TodayStamp(); // as listed under the exchange folder
    // Once with the clean-up after a failure working, once with every removal failing.
    for (const auto removals :
         {AtomicFileWriter::FaultPoint::Any, AtomicFileWriter::FaultPoint::Remove}) {
        SCOPED_TRACE(removals == AtomicFileWriter::FaultPoint::Any ? "removals work"
                                                                   : "removals fail");
        Sweep(
            ExchangeFolderOf(workshop),
            [&] {
                ASSERT_TRUE(QDir(vehicle).removeRecursively());
                ASSERT_TRUE(RebuildAndWait(*m_tree));
            },
            [&] {
                cNewCarDlg dlg(m_reg, *m_tree);
                ModalRunner::pushHandler([&](QDialog& d) {
                    d.findChild<QComboBox*>(QStringLiteral("id1015"))->setCurrentIndex(0);
                    d.findChild<QLineEdit*>(QStringLiteral("id1016"))->setText(number);
                    d.accept();
                    return d.result();
                });
                AtomicFileWriter::failEvery(removals);
                ModalRunner::run(dlg);
                AtomicFileWriter::failEvery(AtomicFileWriter::FaultPoint::Any);
            },
            [&](const Outcome& outcome, const Files&) {
                // The first records of a vehicle belong together: both or neither, and a day
                // only with them, unless the message names what could not be taken away.
                const bool both =
                    outcome.now.contains(dayFiles + QStringLiteral("/PARAM_UP.BIN")) &&
                    outcome.now.contains(dayFiles + QStringLiteral("/GSM_UP.BIN"));
                if (!both && QFileInfo(day).isDir()) {
                    ASSERT_EQ(outcome.shown.size(), 1) << outcome.position;
                    EXPECT_TRUE(
                        outcome.shown.first().contains(Lang(StringId::FolderDeleteFailed).arg(day)))
                        << outcome.position;
                }
                const TreeNode node = FindNode(TreeLevel::Vehicle, number);
                EXPECT_EQ(node != nullptr, QFileInfo(vehicle).isDir()) << outcome.position;
                if (node) {
                    const bool dayShown =
                        node->childCount() == 1 && node->child(0)->text(0) == TodayStamp();
                    EXPECT_EQ(dayShown, QFileInfo(day).isDir()) << outcome.position;
                }
            });
    }
}

TEST_F(FolderSaverSweep, ExportOverAnEmptyDriveAndOverAnOlderExport)
{
    const QString workshop = MakeWorkshopFolder(QStringLiteral("shop"));
    const QStringList days{QStringLiteral("20250101"), QStringLiteral("20250202")};
    for (const QString& d : days)
        MakeStoredCalibration(workshop, QStringLiteral("A111AA"), d, 1);
    Register(workshop);

    // The older export on the drive: what the first calibrations gave.
    const auto exportSelection = [&] {
        m_tree->SelectNode(FindNode(TreeLevel::Vehicle, QStringLiteral("A111AA")));
        EXPECT_TRUE(WaitForTree(*m_tree));
        Export();
    };
    exportSelection();
    const Files older = FilesUnder(DriveFolder());
    ShownTexts();
    ASSERT_EQ(older.size(), 4);

    for (const bool overOlder : {false, true}) {
        SCOPED_TRACE(overOlder ? "over an older export" : "empty drive");
        Sweep(
            DriveFolder(),
            [&] {
                ASSERT_TRUE(QDir(DriveFolder()).removeRecursively());
                if (overOlder) {
                    for (auto it = older.cbegin(); it != older.cend(); ++it) {
                        const QString path = DriveFolder() + u'/' + it.key();
                        ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
                        QFile file(path);
                        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
                        file.write(it.value());
                    }
                }
                for (int i = 0; i < days.size(); ++i)
                    MakeStoredCalibration(workshop, QStringLiteral("A111AA"), days[i], 5 + i);
            },
            exportSelection,
            [&](const Outcome& outcome, const Files& after) {
                ExpectEveryFileNotNewNamed(DriveFolder(), outcome, after);
            });
        // The drive's flush is among the positions swept, its folder's opening too.
        EXPECT_EQ(m_kinds.count(AtomicFileWriter::FaultPoint::SyncFileSystem), 1);
        EXPECT_TRUE(FlushStepAt(static_cast<int>(m_kinds.size()) - 1));
    }
}

TEST_F(FolderSaverSweep, ImportOfTwoVehiclesAndAnOwnerRecord)
{
    const QString workshop = MakeWorkshopFolder(QStringLiteral("shop"));
    MakeStoredCalibration(workshop, QStringLiteral("A111AA"), QStringLiteral("20250101"), 1);
    Register(workshop);
    const QString exchange = ExchangeFolderOf(workshop);
    // A day that replaces the stored one, the owner of that vehicle, and a new vehicle whose
    // day holds one record, so a failed copy leaves folders the run made empty.
    const Files drive{
        {QStringLiteral("A111AA/20250101/PARAM_UP.BIN"), RecordFileBytes(Pattern(175, 7))},
        {QStringLiteral("A111AA/20250101/GSM_UP.BIN"), RecordFileBytes(Pattern(145, 8))},
        {QStringLiteral("A111AA/") + kOwnerFileName, RecordFileBytes(Pattern(1624, 9))},
        {QStringLiteral("Z999ZZ/20250707/GSM_UP.BIN"), RecordFileBytes(Pattern(145, 10))},
    };
    for (auto it = drive.cbegin(); it != drive.cend(); ++it) {
        const QString path = DriveFolder() + u'/' + it.key();
        ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(it.value());
    }
    for (const auto removals :
         {AtomicFileWriter::FaultPoint::Any, AtomicFileWriter::FaultPoint::Remove}) {
        SCOPED_TRACE(removals == AtomicFileWriter::FaultPoint::Any ? "removals work"
                                                                   : "removals fail");
        Sweep(
            exchange,
            [&] {
                ASSERT_TRUE(QDir(exchange + QStringLiteral("/Z999ZZ")).removeRecursively());
                QFile::remove(exchange + QStringLiteral("/A111AA/") + kOwnerFileName);
                MakeStoredCalibration(workshop, QStringLiteral("A111AA"),
                                      QStringLiteral("20250101"), 1);
                ASSERT_TRUE(RebuildAndWait(*m_tree));
                m_tree->SelectNode(FindNode(TreeLevel::Vehicle, QStringLiteral("A111AA")));
                EXPECT_TRUE(WaitForTree(*m_tree));
            },
            [&] {
                AtomicFileWriter::failEvery(removals);
                Import();
                AtomicFileWriter::failEvery(AtomicFileWriter::FaultPoint::Any);
            },
            [&](const Outcome& outcome, const Files& after) {
                ExpectEveryFileNotNewNamed(exchange, outcome, after);
                // The run made no folders before this one, so an empty one is the run's and
                // stays only when the message names it.
                QDirIterator it(exchange, QDir::Dirs | QDir::NoDotAndDotDot,
                                QDirIterator::Subdirectories);
                while (it.hasNext()) {
                    const QString folder = it.next();
                    if (!QDir(folder).isEmpty())
                        continue;
                    ASSERT_EQ(outcome.shown.size(), 1) << outcome.position;
                    EXPECT_TRUE(outcome.shown.first().contains(
                        Lang(StringId::FolderDeleteFailed).arg(folder)))
                        << outcome.position << ' ' << folder.toStdString();
                }
                // With every removal failing, a folder of the new state that is missing was
                // never made, and the message names it or a parent as not made.
                if (removals != AtomicFileWriter::FaultPoint::Remove)
                    return;
                for (const QString& relative :
                     {QStringLiteral("Z999ZZ/20250707"), QStringLiteral("Z999ZZ")}) {
                    QString folder = exchange + u'/' + relative;
                    if (QFileInfo(folder).isDir())
                        continue;
                    bool named = false;
                    for (; !named && folder != exchange; folder = QFileInfo(folder).path())
                        named =
                            outcome.shown.join(u'\n').contains(folder + QStringLiteral(" \u2014 "));
                    EXPECT_TRUE(named) << outcome.position << ' ' << relative.toStdString();
                }
            });
    }
}

} // namespace
