#include "store/WorkshopRegister.h"
#include "store/DataFolder.h"
#include "store/FolderOps.h"
#include "tests/store/StoreTestFiles.h"
#include "tests/support/TempDataFolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTreeWidgetItem>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace StoreTestFiles;

namespace {
class WorkshopRegisterTest : public ::testing::Test {
protected:
    QString path(const QString& name) const { return m_dir.filePath(name); }

    QStringList loadPaths(const QByteArray& content)
    {
        EXPECT_TRUE(writeRaw(path("service.txt"), content));
        m_register.load(path("service.txt"));
        QStringList paths;
        for (const WorkshopEntry& e : m_register.entries())
            paths.append(e.folderPath);
        return paths;
    }

    WorkshopEntry& add(const QString& folder)
    {
        m_register.entries().push_back(WorkshopEntry{});
        m_register.entries().back().folderPath = folder;
        return m_register.entries().back();
    }

    QTemporaryDir m_dir;
    WorkshopRegister m_register;
};

VehicleEntry vehicle(const QString& name)
{
    VehicleEntry v;
    v.name = name;
    return v;
}
} // namespace

TEST_F(WorkshopRegisterTest, anyControlCharacterEndsALineAndBlankLinesAreSkipped)
{
    const QString text = QStringLiteral("/w/one\n\n\n/w/two\t/w/three") + QChar(1) +
                         QStringLiteral("/w/four\r\n\r\n");
    EXPECT_EQ(loadPaths(utf16le(text)),
              (QStringList{QStringLiteral("/w/one"), QStringLiteral("/w/two"),
                           QStringLiteral("/w/three"), QStringLiteral("/w/four")}));
}

TEST_F(WorkshopRegisterTest, lastLineWithoutLineEndAndOddByteAreHandled)
{
    EXPECT_EQ(loadPaths(utf16le(QStringLiteral("/a\r\n/b")) + QByteArray(1, 'x')),
              (QStringList{QStringLiteral("/a"), QStringLiteral("/b")}));
}

TEST_F(WorkshopRegisterTest, leadingByteOrderMarkIsSkippedAndSpacesStayPartOfThePath)
{
    const QString withMark = QChar(0xFEFF) + QStringLiteral(" /w/x \r\n/y\r\n");
    EXPECT_EQ(loadPaths(utf16le(withMark)),
              (QStringList{QStringLiteral(" /w/x "), QStringLiteral("/y")}));
    // A path that would lose its first character on the next load is never written.
    add(QChar(0xFEFF) + QStringLiteral("/z"));
    EXPECT_FALSE(m_register.save(path("service.txt")));
}

TEST_F(WorkshopRegisterTest, onlyARegularFileOfSaneSizeIsRead)
{
    using R = WorkshopRegister::LoadResult;
    const QString fifo = path("fifo.txt");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString zeros = path("zeros.txt");
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), zeros));
    const QString large = path("large.txt");
    {
        QFile file(large);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_TRUE(file.resize(WorkshopRegister::kMaxRegisterBytes + 2));
    }
    QDir().mkpath(path("folder.txt"));
    const struct {
        QString file;
        R result;
    } cases[] = {{fifo, R::NotAFile},
                 {zeros, R::NotAFile},
                 {path("folder.txt"), R::NotAFile},
                 {large, R::TooLarge},
                 {path("missing.txt"), R::Missing}};
    for (const auto& c : cases) {
        add(QStringLiteral("/stale"));
        EXPECT_EQ(m_register.load(c.file), c.result) << c.file.toStdString();
        EXPECT_TRUE(m_register.entries().empty());
    }
}

TEST_F(WorkshopRegisterTest, sameFolderTwiceGivesTwoEntries)
{
    EXPECT_EQ(loadPaths(utf16le(QStringLiteral("/w\r\n/w\r\n"))).size(), 2);
}

TEST_F(WorkshopRegisterTest, loadEmptiesRegisterFirstAndMissingFileGivesEmptyRegister)
{
    add(QStringLiteral("/stale"));
    m_register.load(path("missing.txt"));
    EXPECT_TRUE(m_register.entries().empty());
    EXPECT_TRUE(loadPaths({}).isEmpty());
}

TEST_F(WorkshopRegisterTest, loadReadsEachWorkshopRecordAndMissingOneStaysZero)
{
    const QString withRecord = path("shop");
    ASSERT_TRUE(QDir().mkpath(ExchangeFolderOf(withRecord)));
    WorkshopRecord record;
    record.setField(WorkshopRecord::Field::Name, QStringLiteral("Тахосервис"));
    record.setField(WorkshopRecord::Field::Index, QStringLiteral("620014"));
    ASSERT_TRUE(WriteRecordFile(WorkshopRecordPathOf(withRecord), record.bytes));

    loadPaths(
        utf16le(withRecord + QStringLiteral("\r\n") + path("nothing") + QStringLiteral("\r\n")));
    ASSERT_EQ(m_register.entries().size(), 2u);
    EXPECT_EQ(m_register.entries()[0].record, record);
    EXPECT_EQ(m_register.entries()[1].record, WorkshopRecord{});
}

TEST_F(WorkshopRegisterTest, saveWritesEveryPathWithCrLfAndLoadsBackUnchanged)
{
    const QStringList paths{QStringLiteral("/home/мастер/Мастерская 1"), QStringLiteral("/w"),
                            QStringLiteral("/w")};
    for (const QString& p : paths)
        add(p);
    ASSERT_TRUE(m_register.save(path("service.txt")));
    EXPECT_EQ(readAll(path("service.txt")),
              utf16le(paths.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")));
    WorkshopRegister reloaded;
    reloaded.load(path("service.txt"));
    ASSERT_EQ(reloaded.entries().size(), 3u);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(reloaded.entries()[static_cast<std::size_t>(i)].folderPath, paths[i]);
}

TEST_F(WorkshopRegisterTest, emptyRegisterSavesZeroBytes)
{
    ASSERT_TRUE(writeRaw(path("service.txt"), utf16le(QStringLiteral("/old\r\n"))));
    ASSERT_TRUE(m_register.save(path("service.txt")));
    EXPECT_TRUE(QFile::exists(path("service.txt")));
    EXPECT_TRUE(readAll(path("service.txt")).isEmpty());
}

TEST_F(WorkshopRegisterTest, pathThatTheFileCannotHoldIsRefusedAndFileKept)
{
    const QByteArray old = utf16le(QStringLiteral("/old\r\n"));
    ASSERT_TRUE(writeRaw(path("service.txt"), old));
    add(QStringLiteral("/line\nbreak"));
    EXPECT_FALSE(m_register.save(path("service.txt")));
    EXPECT_EQ(readAll(path("service.txt")), old);
    EXPECT_FALSE(WorkshopRegister::canHoldPath(QString()));
    EXPECT_TRUE(WorkshopRegister::canHoldPath(QStringLiteral("/a b")));
}

TEST_F(WorkshopRegisterTest, findVehicleByNameTakesFirstWorkshopInRegisterOrder)
{
    add(QStringLiteral("/first")).vehicles = {vehicle(QStringLiteral("X1")),
                                              vehicle(QStringLiteral("A123BC"))};
    add(QStringLiteral("/second")).vehicles = {vehicle(QStringLiteral("A123BC"))};
    EXPECT_EQ(m_register.findVehicleByName(QStringLiteral("A123BC")),
              &m_register.entries()[0].vehicles[1]);
    EXPECT_EQ(m_register.findVehicleByName(QStringLiteral("a123bc")), nullptr);
    EXPECT_EQ(m_register.findVehicleByName(QStringLiteral("A123")), nullptr);
}

TEST_F(WorkshopRegisterTest, findVehicleByNameComparesTwelveCharacterNames)
{
    add(QStringLiteral("/w")).vehicles = {vehicle(QStringLiteral("ABCDEFGHIJKL"))};
    EXPECT_NE(m_register.findVehicleByName(QStringLiteral("ABCDEFGHIJKL")), nullptr);
    EXPECT_EQ(m_register.findVehicleByName(QStringLiteral("ABCDEFGHIJKLM")), nullptr);
    EXPECT_EQ(WorkshopRegister{}.findVehicleByName(QStringLiteral("A")), nullptr);
}

TEST_F(WorkshopRegisterTest, removeByNodeRemovesOnlyFirstMatchAndLaterEntriesMoveUp)
{
    QTreeWidgetItem a, b;
    add(QStringLiteral("/a")).node = &a;
    add(QStringLiteral("/b")).node = &b;
    add(QStringLiteral("/c")).node = &b;
    EXPECT_TRUE(m_register.removeByNode(&b));
    ASSERT_EQ(m_register.entries().size(), 2u);
    EXPECT_EQ(m_register.entries()[1].folderPath, QStringLiteral("/c"));
    EXPECT_EQ(m_register.findByNode(&a), &m_register.entries()[0]);
}

TEST_F(WorkshopRegisterTest, nullNodeNamesNoEntryEvenBeforeTheTreeIsBuilt)
{
    add(QStringLiteral("/unbuilt"));
    QTreeWidgetItem stranger;
    EXPECT_FALSE(m_register.removeByNode(nullptr));
    EXPECT_FALSE(m_register.removeByNode(&stranger));
    EXPECT_EQ(m_register.entries().size(), 1u);
}

TEST(WorkshopRecordTest, setFieldCutsAtCapacityAndKeepsTerminator)
{
    WorkshopRecord record;
    record.bytes.fill(0xAA);
    record.setField(WorkshopRecord::Field::Phone, QString(40, QLatin1Char('7')));
    EXPECT_EQ(record.field(WorkshopRecord::Field::Phone), QString(31, QLatin1Char('7')));
    using L = WorkshopRecord::Layout;
    EXPECT_EQ(record.bytes[L::PhoneOffset + 62], 0);
    EXPECT_EQ(record.bytes[L::PhoneOffset + 63], 0);
    EXPECT_EQ(record.bytes[L::IndexOffset], 0xAA); // the next field is not touched
    EXPECT_EQ(WorkshopRecord::capacity(WorkshopRecord::Field::Address), 259);
}

TEST(WorkshopRecordTest, shorterTextZeroFillsRestOfField)
{
    WorkshopRecord record;
    record.bytes.fill(0xAA);
    record.setField(WorkshopRecord::Field::Name, QStringLiteral("Ab"));
    EXPECT_EQ(record.bytes[0], 'A');
    EXPECT_EQ(record.bytes[2], 'b');
    using L = WorkshopRecord::Layout;
    EXPECT_TRUE(std::all_of(record.bytes.begin() + 4, record.bytes.begin() + L::AddressOffset,
                            [](std::uint8_t b) { return b == 0; }));
}

TEST(WorkshopRecordTest, cutNeverSplitsASurrogatePair)
{
    WorkshopRecord record;
    const QString text = QString(30, QLatin1Char('x')) + QStringLiteral("\U0001F69A");
    record.setField(WorkshopRecord::Field::Index, text);
    EXPECT_EQ(record.field(WorkshopRecord::Field::Index), QString(30, QLatin1Char('x')));
}

TEST(WorkshopRecordTest, fieldWithoutTerminatorStopsAtItsWidth)
{
    WorkshopRecord record;
    record.bytes.fill(0x41);
    EXPECT_EQ(record.field(WorkshopRecord::Field::Phone).size(), 32);
}

TEST(DataFolderTest, configuredFolderAndItsParentAreCreated)
{
    TempDataFolder data;
    const QString folder = data.filePath(QStringLiteral("parent/Velmora"));
    qputenv("VELMORA_DATA_DIR", QFile::encodeName(folder));
    EXPECT_EQ(GetDataFolder(), folder);
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_EQ(WorkshopRegister::serviceFilePath(), folder + QStringLiteral("/service.txt"));
}

TEST(FolderOpsTest, createFolderMakesOneLevelOnly)
{
    QTemporaryDir dir;
    bool made = false;
    EXPECT_TRUE(EnsureFolder(dir.filePath(QStringLiteral("RX902")), &made));
    EXPECT_TRUE(made);
    EXPECT_TRUE(EnsureFolder(dir.filePath(QStringLiteral("RX902")), &made));
    EXPECT_FALSE(made);
    EXPECT_FALSE(EnsureFolder(dir.filePath(QStringLiteral("a/b")), &made));
    EXPECT_FALSE(made);
    EXPECT_TRUE(PathExists(dir.filePath(QStringLiteral("RX902"))));
    EXPECT_FALSE(PathExists(QString()));
}

TEST(FolderOpsTest, deleteFolderTreeRemovesContentsButNotWhatLinksPointTo)
{
    QTemporaryDir dir;
    const QString keep = dir.filePath(QStringLiteral("keep"));
    const QString tree = dir.filePath(QStringLiteral("A123BC"));
    ASSERT_TRUE(QDir().mkpath(keep));
    ASSERT_TRUE(writeRaw(keep + QStringLiteral("/CINFO.BIN"), QByteArray("k")));
    ASSERT_TRUE(QDir().mkpath(tree + QStringLiteral("/20240101")));
    ASSERT_TRUE(writeRaw(tree + QStringLiteral("/20240101/PARAM_UP.BIN"), QByteArray("p")));
    ASSERT_TRUE(QFile::link(keep, tree + QStringLiteral("/link")));

    EXPECT_EQ(DeleteFolderTree(tree), 0);
    EXPECT_FALSE(QFileInfo::exists(tree));
    EXPECT_EQ(readAll(keep + QStringLiteral("/CINFO.BIN")), QByteArray("k"));
}

TEST(FolderOpsTest, deleteFolderTreeOnMissingFolderReportsFailure)
{
    QTemporaryDir dir;
    EXPECT_NE(DeleteFolderTree(dir.filePath(QStringLiteral("gone"))), 0);
    EXPECT_NE(DeleteFolderTree(QString()), 0);
}
