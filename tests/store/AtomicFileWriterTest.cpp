#include "store/AtomicFileWriter.h"
#include "tests/store/StoreTestFiles.h"

#include <QFile>
#include <QFileInfo>
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
