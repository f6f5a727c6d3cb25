#include "lang/LanguagePack.h"
#include "tests/support/TreeWaits.h"
#include "lang/StringIds.h"
#include "params/CurrentCalibration.h"
#include "store/RecordFaults.h"
#include "tests/exchange/TransferFixture.h"

#include <QDir>
#include <QFile>

namespace {

class DamagedRecordsTest : public TransferFixture {
protected:
    void SetUp() override
    {
        TransferFixture::SetUp();
        m_ws = MakeWorkshopFolder(QStringLiteral("W"));
        MakeStoredCalibration(m_ws, QStringLiteral("AB123CD"), QStringLiteral("20261209"), 1);
        Register(m_ws);
        m_stored = ExchangeFolderOf(m_ws) + QStringLiteral("/AB123CD/20261209/PARAM_UP.BIN");
    }

    static void Write(const QString& path, const QByteArray& bytes)
    {
        ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }

    void SelectDay()
    {
        m_tree->SelectNode(FindNode(TreeLevel::Day, QStringLiteral("20261209")));
        EXPECT_TRUE(WaitForTree(*m_tree));
    }

    QString m_ws;
    QString m_stored;
};

// One table over the ways a record file can be damaged, for each way a record is taken:
// from the stick on import, from the workshop on loading a day and on export.
TEST_F(DamagedRecordsTest, onlyWholeRecordsAreTakenShownAsWholeOrExported)
{
    const QByteArray whole = RecordFileBytes(Pattern(175, 9));
    QByteArray badSum = whole;
    badSum[177] = static_cast<char>(badSum[177] ^ 0x01);
    const struct Case {
        const char* name;
        QByteArray bytes;
        RecordFileState state;
    } cases[] = {
        {"short", whole.left(100), RecordFileState::Short},
        {"payload without sum", whole.left(175), RecordFileState::Short},
        {"long", whole + '\0', RecordFileState::Long},
        {"bad trailer", badSum, RecordFileState::BadSum},
        {"whole", whole, RecordFileState::Whole},
    };
    const QByteArray ours = ReadFile(m_stored);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString fault = RecordFaultText(c.state);

        // Import: a damaged file of the stick leaves ours in place and is named.
        const QString onStick = DriveFolder() + QStringLiteral("/AB123CD/20261209/PARAM_UP.BIN");
        Write(onStick, c.bytes);
        m_tree->SelectNode(m_tree->topLevelItem(0));
        EXPECT_TRUE(WaitForTree(*m_tree));
        Import();
        QStringList shown = ShownTexts();
        if (c.state == RecordFileState::Whole) {
            EXPECT_EQ(ReadFile(m_stored), whole);
            EXPECT_TRUE(shown.isEmpty());
        } else {
            EXPECT_EQ(ReadFile(m_stored), ours);
            ASSERT_EQ(shown.size(), 1);
            EXPECT_TRUE(shown[0].contains(onStick + QStringLiteral(" \u2014 ") + fault));
        }
        QDir(DriveFolder()).removeRecursively();

        // Loading the day: what can be read is shown and the file is named with its fault.
        Write(m_stored, c.bytes);
        SelectDay();
        QByteArray expected = c.bytes.left(175);
        expected.resize(175, '\0');
        EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(m_current.param().bytes.data()), 175),
                  expected);
        shown = ShownTexts();
        if (c.state == RecordFileState::Whole) {
            EXPECT_TRUE(shown.isEmpty());
        } else {
            ASSERT_EQ(shown.size(), 1);
            EXPECT_EQ(shown[0], Lang(StringId::RecordDamaged).arg(m_stored, fault));
        }

        // Export: a damaged record refuses its whole day; nothing of it reaches the stick.
        Export();
        shown = ShownTexts();
        const QMap<QString, QByteArray> files = FilesUnder(DriveFolder());
        if (c.state == RecordFileState::Whole) {
            EXPECT_EQ(files.value(QStringLiteral("AB123CD/20261209/PARAM.BIN")),
                      RecordFileBytes(Pattern(175, 9).left(171)));
            EXPECT_TRUE(shown.isEmpty());
        } else {
            EXPECT_TRUE(files.isEmpty());
            EXPECT_FALSE(QFileInfo::exists(DriveFolder() + QStringLiteral("/AB123CD")));
            ASSERT_EQ(shown.size(), 1);
            EXPECT_TRUE(shown[0].contains(m_stored + QStringLiteral(" \u2014 ") + fault));
        }
        QDir(DriveFolder()).removeRecursively();
        Write(m_stored, ours);
    }
}

} // namespace
