#include "store/RecordFile.h"
#include "store/LittleEndian.h"
#include "tests/store/StoreTestFiles.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <array>
#include <numeric>

using namespace StoreTestFiles;

namespace {
class RecordFileTest : public ::testing::Test {
protected:
    QString path(const QString& name) const { return m_dir.filePath(name); }
    QTemporaryDir m_dir;
};

std::vector<std::uint8_t> ramp(std::size_t size)
{
    std::vector<std::uint8_t> data(size);
    for (std::size_t i = 0; i < size; ++i)
        data[i] = static_cast<std::uint8_t>(200 + i * 7);
    return data;
}
} // namespace

TEST_F(RecordFileTest, writesPayloadThenLittleEndianByteSum)
{
    const std::array<std::uint8_t, 3> abc{'a', 'b', 'c'};
    ASSERT_TRUE(WriteRecordFile(path("ABC.BIN"), abc));
    EXPECT_EQ(readAll(path("ABC.BIN")), bytes({0x61, 0x62, 0x63, 0x26, 0x01, 0x00, 0x00}));
}

TEST_F(RecordFileTest, oddSizedPayloadSumIncludesLastByte)
{
    const auto payload = ramp(RecordSize::Param);
    ASSERT_TRUE(WriteRecordFile(path("PARAM_UP.BIN"), payload));
    const QByteArray file = readAll(path("PARAM_UP.BIN"));
    ASSERT_EQ(file.size(), 179);
    const auto expected = std::accumulate(payload.begin(), payload.end(), std::uint32_t{0});
    EXPECT_EQ(LittleEndian::read(reinterpret_cast<const std::uint8_t*>(file.constData()) + 175, 4),
              expected);
    EXPECT_EQ(file.left(175), QByteArray(reinterpret_cast<const char*>(payload.data()), 175));
}

TEST_F(RecordFileTest, emptyPayloadGivesFourZeroBytes)
{
    ASSERT_TRUE(WriteRecordFile(path("EMPTY.BIN"), std::span<const std::uint8_t>{}));
    EXPECT_EQ(readAll(path("EMPTY.BIN")), QByteArray(4, '\0'));
}

TEST_F(RecordFileTest, overwritingLongerFileLeavesExactlyPayloadPlusSum)
{
    ASSERT_TRUE(writeRaw(path("GSM_UP.BIN"), QByteArray(5000, 'x')));
    ASSERT_TRUE(WriteRecordFile(path("GSM_UP.BIN"), ramp(RecordSize::Gsm)));
    EXPECT_EQ(readAll(path("GSM_UP.BIN")).size(), 149);
}

TEST_F(RecordFileTest, missingFolderFailsWithoutCreatingIt)
{
    EXPECT_FALSE(WriteRecordFile(path("nowhere/SINFO.BIN"), ramp(8)));
    EXPECT_FALSE(QFile::exists(path("nowhere")));
}

TEST_F(RecordFileTest, fileWithoutSumReadsWhole)
{
    const auto payload = ramp(RecordSize::Param);
    ASSERT_TRUE(writeRaw(path("P.BIN"), QByteArray(reinterpret_cast<const char*>(payload.data()),
                                                   static_cast<qsizetype>(payload.size()))));
    std::array<std::uint8_t, RecordSize::Param> dest{};
    ASSERT_TRUE(ReadRecordFile(path("P.BIN"), dest));
    EXPECT_TRUE(std::equal(dest.begin(), dest.end(), payload.begin()));
}

TEST_F(RecordFileTest, wrongSumIsNeverChecked)
{
    ASSERT_TRUE(writeRaw(path("BAD.BIN"), bytes({1, 2, 3, 0xFF, 0xFF, 0xFF, 0xFF})));
    std::array<std::uint8_t, 3> dest{};
    ASSERT_TRUE(ReadRecordFile(path("BAD.BIN"), dest));
    EXPECT_EQ(dest, (std::array<std::uint8_t, 3>{1, 2, 3}));
}

TEST_F(RecordFileTest, shortFileReadsAsBytesThenZeros)
{
    ASSERT_TRUE(writeRaw(path("ONE.BIN"), bytes({0x5A})));
    std::array<std::uint8_t, RecordSize::Param> dest;
    dest.fill(0xEE);
    ASSERT_TRUE(ReadRecordFile(path("ONE.BIN"), dest));
    EXPECT_EQ(dest[0], 0x5A);
    EXPECT_TRUE(std::all_of(dest.begin() + 1, dest.end(), [](std::uint8_t b) { return b == 0; }));
}

TEST_F(RecordFileTest, emptyOrMissingFileFailsAndLeavesDestinationUntouched)
{
    ASSERT_TRUE(writeRaw(path("ZERO.BIN"), {}));
    std::array<std::uint8_t, 16> dest;
    dest.fill(0xEE);
    EXPECT_FALSE(ReadRecordFile(path("ZERO.BIN"), dest));
    EXPECT_FALSE(ReadRecordFile(path("MISSING.BIN"), dest));
    EXPECT_TRUE(std::all_of(dest.begin(), dest.end(), [](std::uint8_t b) { return b == 0xEE; }));
}

TEST_F(RecordFileTest, readOnlyFileReadsNormally)
{
    ASSERT_TRUE(WriteRecordFile(path("RO.BIN"), ramp(10)));
    ASSERT_TRUE(QFile::setPermissions(path("RO.BIN"),
                                      QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    std::array<std::uint8_t, 10> dest{};
    ASSERT_TRUE(ReadRecordFile(path("RO.BIN"), dest));
    EXPECT_TRUE(std::equal(dest.begin(), dest.end(), ramp(10).begin()));
}

TEST_F(RecordFileTest, fileThatNobodyMayOpenForWritingStillReads)
{
    // A running program cannot be opened for writing, not even by root, so this holds
    // where permission bits are ignored too.
    std::array<std::uint8_t, 4> dest{};
    ASSERT_TRUE(ReadRecordFile(QCoreApplication::applicationFilePath(), dest));
    EXPECT_EQ(dest, (std::array<std::uint8_t, 4>{0x7F, 'E', 'L', 'F'}));
}

TEST_F(RecordFileTest, exportedParamReadAsFullRecordEndsWithItsSum)
{
    const auto payload = ramp(RecordSize::ParamExport);
    ASSERT_TRUE(WriteRecordFile(path("PARAM.BIN"), payload));
    std::array<std::uint8_t, RecordSize::Param> dest{};
    ASSERT_TRUE(ReadRecordFile(path("PARAM.BIN"), dest));
    EXPECT_TRUE(std::equal(payload.begin(), payload.end(), dest.begin()));
    EXPECT_EQ(LittleEndian::read(dest.data() + RecordSize::ParamExport, 4), RecordSum(payload));
}
