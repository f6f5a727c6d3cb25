#include "store/AtomicFileGroup.h"
#include "store/AtomicFileWriter.h"
#include "tests/store/StoreTestFiles.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace StoreTestFiles;
using Point = AtomicFileWriter::FaultPoint;

namespace {
class AtomicFileGroupTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* name : {"PARAM_UP.BIN", "GSM_UP.BIN", "CINFO.BIN"})
            ASSERT_TRUE(writeRaw(path(name), QByteArray("old ") + name));
    }
    void TearDown() override { AtomicFileWriter::failAt(Point::Any, 0); }
    QString path(const char* name) const { return m_dir.filePath(QString::fromLatin1(name)); }

    AtomicFileGroup group() const
    {
        AtomicFileGroup files;
        for (const char* name : {"PARAM_UP.BIN", "GSM_UP.BIN", "CINFO.BIN"})
            files.add(path(name), QByteArray("new ") + name);
        return files;
    }
    // For each of the three files whether it holds the new content; every file must be
    // either the old or the new one.
    std::vector<bool> newOnes() const
    {
        std::vector<bool> out;
        for (const char* name : {"PARAM_UP.BIN", "GSM_UP.BIN", "CINFO.BIN"}) {
            const QByteArray content = readAll(path(name));
            EXPECT_TRUE(content == QByteArray("new ") + name ||
                        content == QByteArray("old ") + name);
            out.push_back(content.startsWith("new"));
        }
        return out;
    }
    QTemporaryDir m_dir;
};
} // namespace

TEST_F(AtomicFileGroupTest, commitReplacesAllOrReportsWhatWasRenamed)
{
    const struct {
        Point point;
        int nth;
        bool ok;
        qsizetype renamed;
        qsizetype failedIndex;
    } cases[] = {
        {Point::Any, 0, true, 3, -1},        {Point::CreateTemporary, 1, false, 0, 0},
        {Point::Write, 2, false, 0, 1},      {Point::SyncFile, 3, false, 0, 2},
        {Point::Close, 3, false, 0, 2},      {Point::Rename, 1, false, 0, 0},
        {Point::Rename, 2, false, 1, 1},     {Point::Rename, 3, false, 2, 2},
        {Point::SyncFolder, 1, true, 3, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.point) * 10 + c.nth);
        SetUp();
        AtomicFileGroup files = group();
        AtomicFileWriter::failAt(c.point, c.nth);
        const AtomicFileGroup::Outcome outcome = files.commit();
        EXPECT_EQ(outcome.ok, c.ok);
        EXPECT_EQ(outcome.renamed, c.renamed);
        EXPECT_EQ(outcome.failedIndex, c.failedIndex);
        std::vector<bool> expected(3, false);
        for (qsizetype i = 0; i < c.renamed; ++i)
            expected[static_cast<size_t>(i)] = true;
        EXPECT_EQ(newOnes(), expected);
        EXPECT_EQ(everyName(m_dir.path()).size(), 3)
            << everyName(m_dir.path()).join(' ').toStdString();
    }
}

TEST_F(AtomicFileGroupTest, emptyGroupAndMissingFolderChangeNothing)
{
    EXPECT_TRUE(AtomicFileGroup().commit().ok);
    AtomicFileGroup files = group();
    files.add(m_dir.filePath(QStringLiteral("gone/CINFO.BIN")), QByteArray("x"));
    const AtomicFileGroup::Outcome outcome = files.commit();
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(outcome.failedIndex, 3);
    EXPECT_EQ(newOnes(), std::vector<bool>(3, false));
    EXPECT_EQ(everyName(m_dir.path()).size(), 3);
}
