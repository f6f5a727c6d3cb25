#include "store/AtomicFileWriter.h"
#include "tests/store/StoreTestFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace StoreTestFiles;

namespace {
class AtomicFileWriterTest : public ::testing::Test {
protected:
    void TearDown() override { AtomicFileWriter::failNthWrite(0); }
    QString path(const QString& name) const { return m_dir.filePath(name); }
    QTemporaryDir m_dir;
};

using Point = AtomicFileWriter::FaultPoint;

// Collects what the writer logs, so a test can see that a fault after the rename is logged.
QStringList g_logged;
void collect(QtMsgType, const QMessageLogContext&, const QString& message)
{
    g_logged.append(message);
}

mode_t modeOf(const QString& path)
{
    struct stat st {};
    ::stat(QFile::encodeName(path).constData(), &st);
    return st.st_mode & 07777;
}
} // namespace

TEST_F(AtomicFileWriterTest, failedWriteLeavesOldFileByteIdenticalAndNoTemporary)
{
    const QByteArray old = bytes({1, 2, 3, 4, 5, 6, 7, 8, 9});
    ASSERT_TRUE(writeRaw(path("SINFO.BIN"), old));
    AtomicFileWriter::failNthWrite(1);
    EXPECT_FALSE(AtomicFileWriter::replace(path("SINFO.BIN"), QByteArray(1172, 'n')));
    EXPECT_EQ(readAll(path("SINFO.BIN")), old);
    EXPECT_EQ(everyName(m_dir.path()), QStringList{QStringLiteral("SINFO.BIN")});
}

TEST_F(AtomicFileWriterTest, failedWriteOfNewFileCreatesNothing)
{
    AtomicFileWriter::failNthWrite(1);
    EXPECT_FALSE(AtomicFileWriter::replace(path("service.txt"), QByteArray("abc")));
    EXPECT_TRUE(everyName(m_dir.path()).isEmpty());
}

TEST_F(AtomicFileWriterTest, seamCountsWritesAcrossReplacements)
{
    AtomicFileWriter::failNthWrite(2);
    EXPECT_TRUE(AtomicFileWriter::replace(path("A.BIN"), QByteArray("first")));
    EXPECT_FALSE(AtomicFileWriter::replace(path("B.BIN"), QByteArray("second")));
    EXPECT_TRUE(AtomicFileWriter::replace(path("B.BIN"), QByteArray("third")));
    EXPECT_EQ(readAll(path("B.BIN")), QByteArray("third"));
}

TEST_F(AtomicFileWriterTest, missingFolderFails)
{
    EXPECT_FALSE(AtomicFileWriter::replace(path("gone/service.txt"), QByteArray("x")));
    EXPECT_FALSE(QFileInfo::exists(path("gone")));
}

TEST_F(AtomicFileWriterTest, replacementKeepsModeOfReplacedFile)
{
    ASSERT_TRUE(writeRaw(path("printer.txt"), QByteArray("old")));
    ASSERT_EQ(::chmod(QFile::encodeName(path("printer.txt")).constData(), 0640), 0);
    ASSERT_TRUE(AtomicFileWriter::replace(path("printer.txt"), QByteArray("new")));
    EXPECT_EQ(modeOf(path("printer.txt")), mode_t{0640});
    EXPECT_EQ(readAll(path("printer.txt")), QByteArray("new"));
}

TEST_F(AtomicFileWriterTest, newFileIsCreatedUnderUmask)
{
    const mode_t previous = ::umask(022);
    const bool written = AtomicFileWriter::replace(path("new.txt"), QByteArray("x"));
    ::umask(previous);
    ASSERT_TRUE(written);
    EXPECT_EQ(modeOf(path("new.txt")), mode_t{0644});
}

TEST_F(AtomicFileWriterTest, linkedFileIsReplacedAndLinkKept)
{
    ASSERT_TRUE(writeRaw(path("real.txt"), QByteArray("old")));
    ASSERT_TRUE(QFile::link(path("real.txt"), path("link.txt")));
    ASSERT_TRUE(AtomicFileWriter::replace(path("link.txt"), QByteArray("new")));
    EXPECT_TRUE(QFileInfo(path("link.txt")).isSymLink());
    EXPECT_EQ(readAll(path("real.txt")), QByteArray("new"));
}

TEST_F(AtomicFileWriterTest, everyFaultBeforeRenameKeepsOldFileAndAfterRenameIsLogged)
{
    const struct {
        Point point;
        bool replaced;
    } cases[] = {
        {Point::CreateTemporary, false}, {Point::ChangeMode, false}, {Point::Write, false},
        {Point::SyncFile, false},        {Point::Close, false},      {Point::Rename, false},
        {Point::OpenFolder, true},       {Point::SyncFolder, true},
    };
    const QByteArray old("old content");
    const QByteArray next(4096, 'n');
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.point));
        ASSERT_TRUE(writeRaw(path("service.txt"), old));
        g_logged.clear();
        const QtMessageHandler previous = qInstallMessageHandler(collect);
        AtomicFileWriter::failAt(c.point, 1);
        const bool written = AtomicFileWriter::replace(path("service.txt"), next);
        qInstallMessageHandler(previous);
        EXPECT_EQ(written, c.replaced);
        EXPECT_EQ(readAll(path("service.txt")), c.replaced ? next : old);
        EXPECT_EQ(everyName(m_dir.path()), QStringList{QStringLiteral("service.txt")});
        EXPECT_EQ(g_logged.size(), c.replaced ? 1 : 0);
        if (c.replaced && !g_logged.isEmpty()) {
            EXPECT_TRUE(g_logged.first().contains(m_dir.path())) << g_logged.first().toStdString();
        }
    }
}

TEST_F(AtomicFileWriterTest, positionsCountEveryFallibleCallAndEachCanFail)
{
    AtomicFileWriter::failAt(Point::Any, 0);
    ASSERT_TRUE(AtomicFileWriter::replace(path("A.BIN"), QByteArray("first")));
    ASSERT_TRUE(AtomicFileWriter::createFolder(path("day")));
    ASSERT_TRUE(AtomicFileWriter::flushFileSystem(m_dir.path()));
    // Each call that makes the data durable is a step of its own: a flush left out shows.
    const QList<Point> made{Point::CreateTemporary, Point::ChangeMode, Point::Write,
                            Point::SyncFile,        Point::Close,      Point::Rename,
                            Point::OpenFolder,      Point::SyncFolder, Point::CreateFolder,
                            Point::OpenFolder,      Point::SyncFolder, Point::OpenFolder,
                            Point::SyncFileSystem};
    EXPECT_EQ(AtomicFileWriter::stepKinds(), made);
    const int positions = AtomicFileWriter::stepsTaken();
    int failures = 0;
    for (int nth = 1; nth <= positions; ++nth) {
        ASSERT_TRUE(QDir(path("day")).removeRecursively());
        AtomicFileWriter::failAt(Point::Any, nth);
        const bool written = AtomicFileWriter::replace(path("A.BIN"), QByteArray("again"));
        const bool made = AtomicFileWriter::createFolder(path("day"));
        const bool flushed = AtomicFileWriter::flushFileSystem(m_dir.path());
        failures += (written ? 0 : 1) + (made ? 0 : 1) + (flushed ? 0 : 1);
        EXPECT_EQ(QFileInfo(path("day")).isDir(), made);
        EXPECT_EQ(readAll(path("A.BIN")), QByteArray(written ? "again" : "first"));
        if (written) {
            ASSERT_TRUE(AtomicFileWriter::replace(path("A.BIN"), QByteArray("first")));
        }
    }
    // Only the two folder flushes of each call are not failures.
    EXPECT_EQ(failures, positions - 4);
    EXPECT_EQ(everyName(m_dir.path()),
              (QStringList{QStringLiteral("A.BIN"), QStringLiteral("day")}));

    // A replacement that fails removes its temporary file as a step of its own.
    AtomicFileWriter::failAt(Point::Write, 1);
    EXPECT_FALSE(AtomicFileWriter::replace(path("A.BIN"), QByteArray("again")));
    EXPECT_EQ(AtomicFileWriter::stepKinds(),
              (QList<Point>{Point::CreateTemporary, Point::ChangeMode, Point::Write, Point::Close,
                            Point::RemoveTemporary}));
    AtomicFileWriter::failAt(Point::Any, 0);
}

TEST_F(AtomicFileWriterTest, temporaryFileThatCannotBeRemovedIsLoggedAndOldFileKept)
{
    ASSERT_TRUE(writeRaw(path("service.txt"), QByteArray("old")));
    g_logged.clear();
    const QtMessageHandler previous = qInstallMessageHandler(collect);
    AtomicFileWriter::failAt(Point::Rename, 1);
    AtomicFileWriter::failEvery(Point::RemoveTemporary);
    const bool written = AtomicFileWriter::replace(path("service.txt"), QByteArray("new"));
    AtomicFileWriter::failEvery(Point::Any);
    AtomicFileWriter::failAt(Point::Any, 0);
    qInstallMessageHandler(previous);
    EXPECT_FALSE(written);
    EXPECT_EQ(readAll(path("service.txt")), QByteArray("old"));
    const QStringList names = everyName(m_dir.path());
    ASSERT_EQ(names.size(), 2);
    ASSERT_EQ(g_logged.size(), 1);
    EXPECT_TRUE(g_logged.first().contains(m_dir.filePath(names.first())))
        << g_logged.first().toStdString();
}

TEST_F(AtomicFileWriterTest, shortWritesAreCompletedAndAFailureAmongThemKeepsNothing)
{
    const QByteArray big(1 << 20, 'g');
    AtomicFileWriter::setShortWrites(true);
    AtomicFileWriter::failAt(Point::Write, 3);
    const bool failed = !AtomicFileWriter::replace(path("GSM_UP.BIN"), big);
    const bool written = AtomicFileWriter::replace(path("GSM_UP.BIN"), big);
    AtomicFileWriter::setShortWrites(false);
    EXPECT_TRUE(failed);
    EXPECT_TRUE(written);
    EXPECT_EQ(readAll(path("GSM_UP.BIN")), big);
    EXPECT_EQ(everyName(m_dir.path()), QStringList{QStringLiteral("GSM_UP.BIN")});
}

TEST_F(AtomicFileWriterTest, createFolderRefusesExistingAndMissingParent)
{
    EXPECT_TRUE(AtomicFileWriter::createFolder(path("v") + QStringLiteral("/")));
    EXPECT_FALSE(AtomicFileWriter::createFolder(path("v")));
    EXPECT_FALSE(AtomicFileWriter::createFolder(path("x/y")));
    EXPECT_FALSE(AtomicFileWriter::createFolder(QString()));
    EXPECT_EQ(everyName(m_dir.path()), QStringList{QStringLiteral("v")});
}
