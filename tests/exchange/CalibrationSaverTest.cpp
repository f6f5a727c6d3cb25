#include "tests/exchange/WorkshopFixture.h"
#include "tests/support/TreeWaits.h"

#include "exchange/CalibrationSaver.h"
#include "lang/LanguagePack.h"
#include "lang/StringIds.h"
#include "params/CurrentCalibration.h"
#include "params/FieldText.h"
#include "params/cTDGrid.h"
#include "store/AtomicFileWriter.h"
#include "store/FolderOps.h"

#include <QDir>
#include <QFileInfo>

namespace {

QByteArray Bytes(const auto& record)
{
    return QByteArray(reinterpret_cast<const char*>(record.bytes.data()),
                      static_cast<qsizetype>(record.bytes.size()));
}

class CalibrationSaverTest : public WorkshopFixture {
protected:
    void SetUp() override
    {
        WorkshopFixture::SetUp();
        m_current.clear();
        m_first = MakeWorkshopFolder(QStringLiteral("first"));
        m_second = MakeWorkshopFolder(QStringLiteral("second"));
        Register(m_first);
        Register(m_second);
    }

    // Puts a calibration on screen: the number plus a recognisable byte in each record.
    void SetOnScreen(const QString& number, std::uint8_t marker)
    {
        m_current.clear();
        std::uint8_t* field = m_current.param().bytes.data() + ParamRecord::Layout::RegNumberOffset;
        std::fill_n(field, ParamRecord::Layout::RegNumberWidth, 0);
        ASSERT_TRUE(EncodeUtf8Text(number, field, ParamRecord::Layout::RegNumberWidth));
        m_current.param().bytes[ParamRecord::Layout::ConstantWOffset] = marker;
        m_current.gsm().bytes[GsmRecord::Layout::PortOffset] = marker;
        m_current.owner().bytes[0] = marker;
    }

    // The grid has no rows until it is set up, so its store pass leaves the records alone.
    bool Save() { return SaveCalibration(m_reg, *m_tree, m_grid, nullptr); }

    QString DayFolder(const QString& workshop, const QString& number,
                      const QString& day = TodayStamp()) const
    {
        return workshop + QStringLiteral("/RX902/") + number + u'/' + day;
    }

    QString m_first;
    QString m_second;
    cTDGrid m_grid{m_current};
};

TEST_F(CalibrationSaverTest, WritesTheThreeRecordsAndSelectsToday)
{
    SetOnScreen(QStringLiteral("AB123"), 7);
    const ParamRecord param = m_current.param();
    const GsmRecord gsm = m_current.gsm();
    const OwnerRecord owner = m_current.owner();
    m_tree->SelectNode(m_tree->topLevelItem(1));
    EXPECT_TRUE(WaitForTree(*m_tree));
    ASSERT_TRUE(Save());

    const QString day = DayFolder(m_second, QStringLiteral("AB123"));
    EXPECT_EQ(ReadFile(day + QStringLiteral("/PARAM_UP.BIN")), RecordFileBytes(Bytes(param)));
    EXPECT_EQ(ReadFile(day + QStringLiteral("/GSM_UP.BIN")), RecordFileBytes(Bytes(gsm)));
    EXPECT_EQ(ReadFile(m_second + QStringLiteral("/RX902/AB123/CINFO.BIN")),
              RecordFileBytes(Bytes(owner)));
    EXPECT_TRUE(ShownTexts().isEmpty());

    const TreeNode selected = m_tree->SelectedNode();
    ASSERT_NE(selected, nullptr);
    EXPECT_EQ(cTree::NodeLevel(selected), TreeLevel::Day);
    EXPECT_EQ(m_tree->GetNodePath(selected), day);
    // Selecting today's node loaded what was just written.
    EXPECT_EQ(m_current.param().bytes, param.bytes);
}

TEST_F(CalibrationSaverTest, SecondSaveOnTheSameDayReplacesTheFiles)
{
    SetOnScreen(QStringLiteral("TWICE"), 1);
    m_tree->SelectNode(m_tree->topLevelItem(0));
    EXPECT_TRUE(WaitForTree(*m_tree));
    ASSERT_TRUE(Save());
    SetOnScreen(QStringLiteral("TWICE"), 2);
    const GsmRecord second = m_current.gsm();
    ASSERT_TRUE(Save()); // the selection is now today's node of TWICE

    const QString vehicle = m_first + QStringLiteral("/RX902/TWICE");
    EXPECT_EQ(QDir(vehicle).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList{TodayStamp()});
    EXPECT_EQ(ReadFile(DayFolder(m_first, QStringLiteral("TWICE")) + QStringLiteral("/GSM_UP.BIN")),
              RecordFileBytes(Bytes(second)));
    EXPECT_EQ(m_tree->GetNodePath(), DayFolder(m_first, QStringLiteral("TWICE")));
}

TEST_F(CalibrationSaverTest, SaveFromAnEarlierDayFilesUnderToday)
{
    MakeCalibration(m_second, QStringLiteral("OLD1"), QStringLiteral("20200101"));
    ASSERT_TRUE(RebuildAndWait(*m_tree));
    const QByteArray earlier =
        ReadFile(DayFolder(m_second, QStringLiteral("OLD1"), QStringLiteral("20200101")) +
                 QStringLiteral("/PARAM_UP.BIN"));
    m_tree->SelectNode(FindNode(TreeLevel::Day, QStringLiteral("20200101")));
    EXPECT_TRUE(WaitForTree(*m_tree));
    SetOnScreen(QStringLiteral("OLD1"), 9);
    ASSERT_TRUE(Save());

    EXPECT_TRUE(QFileInfo::exists(DayFolder(m_second, QStringLiteral("OLD1")) +
                                  QStringLiteral("/PARAM_UP.BIN")));
    EXPECT_EQ(ReadFile(DayFolder(m_second, QStringLiteral("OLD1"), QStringLiteral("20200101")) +
                       QStringLiteral("/PARAM_UP.BIN")),
              earlier);
    EXPECT_EQ(m_tree->GetNodeText(), TodayStamp());
    EXPECT_EQ(m_tree->GetNodePath(), DayFolder(m_second, QStringLiteral("OLD1")));
}

TEST_F(CalibrationSaverTest, NumberOfTwelveCharactersIsFiled)
{
    SetOnScreen(QStringLiteral("ABCDEFGHIJKL"), 3);
    m_tree->SelectNode(m_tree->topLevelItem(0));
    EXPECT_TRUE(WaitForTree(*m_tree));
    ASSERT_TRUE(Save());
    EXPECT_TRUE(QFileInfo::exists(DayFolder(m_first, QStringLiteral("ABCDEFGHIJKL")) +
                                  QStringLiteral("/GSM_UP.BIN")));
}

TEST_F(CalibrationSaverTest, RefusedNumbersWriteNothing)
{
    m_tree->SelectNode(m_tree->topLevelItem(0));
    EXPECT_TRUE(WaitForTree(*m_tree));
    const struct {
        QString number;
        QString message;
    } cases[] = {
        {QString(), Lang(StringId::RegistrationNumberMissing)},
        {QStringLiteral("   "), Lang(StringId::RegistrationNumberMissing)},
        // 13 characters fill the field without a terminator: too long to file.
        {QStringLiteral("ABCDEFGHIJKLM"), Lang(StringId::RegistrationNumberMissing)},
        {QStringLiteral(".."), Lang(StringId::BadFolderName).arg(QStringLiteral(".."))},
        {QStringLiteral("../../x"), Lang(StringId::BadFolderName).arg(QStringLiteral("../../x"))},
        {QStringLiteral("A.B"), Lang(StringId::BadFolderName).arg(QStringLiteral("A.B"))},
    };
    for (const auto& c : cases) {
        SetOnScreen(c.number, 5);
        EXPECT_FALSE(Save()) << c.number.toStdString();
        EXPECT_EQ(ShownTexts(), QStringList{c.message}) << c.number.toStdString();
    }
    EXPECT_TRUE(QDir(m_first + QStringLiteral("/RX902"))
                    .entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden)
                    .isEmpty());
    EXPECT_FALSE(QFileInfo::exists(m_data.filePath(QStringLiteral("x"))));
    EXPECT_NE(m_tree->SelectedNode(), nullptr);
}

TEST_F(CalibrationSaverTest, StorePassRunsFirstEvenWhenTheSaveIsRefused)
{
    m_grid.SetupRows(); // the nation cell shows its default, code 43
    const std::size_t nation = ParamRecord::Layout::NationOffset;
    m_current.param().bytes[nation] = 0;
    EXPECT_FALSE(Save()); // no number yet
    EXPECT_EQ(m_current.param().bytes[nation], 43);
    ShownTexts();

    m_current.param().bytes[nation] = 0;
    ASSERT_TRUE(
        EncodeUtf8Text(QStringLiteral("GRID1"),
                       m_current.param().bytes.data() + ParamRecord::Layout::RegNumberOffset,
                       ParamRecord::Layout::RegNumberWidth));
    m_tree->SelectNode(m_tree->topLevelItem(0));
    EXPECT_TRUE(WaitForTree(*m_tree));
    ASSERT_TRUE(Save());
    const QByteArray file =
        ReadFile(DayFolder(m_first, QStringLiteral("GRID1")) + QStringLiteral("/PARAM_UP.BIN"));
    ASSERT_EQ(file.size(), 179);
    EXPECT_EQ(static_cast<std::uint8_t>(file[static_cast<qsizetype>(nation)]), 43);
}

TEST_F(CalibrationSaverTest, NothingSelectedIsReported)
{
    SetOnScreen(QStringLiteral("AB1"), 1);
    EXPECT_FALSE(Save());
    EXPECT_EQ(ShownTexts(), QStringList{Lang(StringId::NothingSelected)});
    EXPECT_FALSE(QFileInfo::exists(m_first + QStringLiteral("/RX902/AB1")));
}

TEST_F(CalibrationSaverTest, NumberInTwoWorkshopsSelectsTheDayJustWritten)
{
    MakeCalibration(m_first, QStringLiteral("DUP"), QStringLiteral("20210101"));
    MakeCalibration(m_second, QStringLiteral("DUP"), QStringLiteral("20210101"));
    ASSERT_TRUE(RebuildAndWait(*m_tree));
    // Each workshop in turn, so that both know today's DUP when the second one saves.
    for (const QString& workshop : {m_first, m_second}) {
        m_tree->SelectNode(m_tree->topLevelItem(workshop == m_first ? 0 : 1));
        EXPECT_TRUE(WaitForTree(*m_tree));
        SetOnScreen(QStringLiteral("DUP"), 4);
        ASSERT_TRUE(Save());
        EXPECT_EQ(m_tree->GetNodePath(), DayFolder(workshop, QStringLiteral("DUP")));
    }
}

TEST_F(CalibrationSaverTest, FailedWriteIsReportedAndKeepsTheSelection)
{
    SetOnScreen(QStringLiteral("FAIL1"), 6);
    const TreeNode workshop = m_tree->topLevelItem(0);
    m_tree->SelectNode(workshop);
    EXPECT_TRUE(WaitForTree(*m_tree));
    AtomicFileWriter::failNthWrite(1);
    EXPECT_FALSE(Save());
    AtomicFileWriter::failNthWrite(0);

    const QString day = DayFolder(m_first, QStringLiteral("FAIL1"));
    EXPECT_EQ(
        ShownTexts(),
        QStringList{Lang(StringId::FileWriteFailed).arg(day + QStringLiteral("/PARAM_UP.BIN"))});
    EXPECT_FALSE(QFileInfo::exists(day + QStringLiteral("/PARAM_UP.BIN")));
    EXPECT_FALSE(QFileInfo::exists(day + QStringLiteral("/GSM_UP.BIN")));
    EXPECT_EQ(m_tree->SelectedNode(), workshop);

    // The user can simply save again.
    EXPECT_TRUE(Save());
}

TEST_F(CalibrationSaverTest, SaveIsAllOrNothingAtEveryFailurePosition)
{
    const QString number = QStringLiteral("SWEEP1");
    const QString day = DayFolder(m_first, number);
    const QStringList files = {day + QStringLiteral("/PARAM_UP.BIN"),
                               day + QStringLiteral("/GSM_UP.BIN"),
                               m_first + QStringLiteral("/RX902/SWEEP1/CINFO.BIN")};
    const auto onDisk = [&files] {
        QList<QByteArray> content;
        for (const QString& file : files)
            content << ReadFile(file);
        return content;
    };
    const auto saveAs = [&](std::uint8_t marker) {
        SetOnScreen(number, marker);
        m_tree->SelectNode(m_tree->topLevelItem(0));
        EXPECT_TRUE(WaitForTree(*m_tree));
        return Save();
    };
    // A save over an earlier one of the same day counts the positions; each then fails.
    ASSERT_TRUE(saveAs(1));
    const QList<QByteArray> first = onDisk();
    AtomicFileWriter::failAt(AtomicFileWriter::FaultPoint::Any, 0);
    ASSERT_TRUE(saveAs(2));
    const QList<AtomicFileWriter::FaultPoint> kinds = AtomicFileWriter::stepKinds();
    const QList<QByteArray> second = onDisk();
    ShownTexts();
    ASSERT_EQ(kinds.count(AtomicFileWriter::FaultPoint::Rename), files.size());

    for (int position = 1; position <= kinds.size(); ++position) {
        ASSERT_TRUE(saveAs(1));
        ShownTexts();
        AtomicFileWriter::failAt(AtomicFileWriter::FaultPoint::Any, position);
        const bool saved = saveAs(2);
        AtomicFileWriter::failAt(AtomicFileWriter::FaultPoint::Any, 0);
        const QStringList shown = ShownTexts();
        // A failure while the files are written changes nothing; a rename that fails leaves
        // the files renamed before it new; making a folder that is there already and
        // flushing a folder fail nothing.
        using Kind = AtomicFileWriter::FaultPoint;
        const Kind kind = kinds.at(position - 1);
        const bool fails =
            kind != Kind::CreateFolder && kind != Kind::OpenFolder && kind != Kind::SyncFolder;
        const qsizetype renamed = kind == Kind::Rename
                                      ? kinds.mid(0, position - 1).count(Kind::Rename)
                                      : (fails ? 0 : files.size());
        QList<QByteArray> expected = first;
        for (qsizetype i = 0; i < renamed; ++i)
            expected[i] = second[i];
        EXPECT_EQ(saved, !fails) << position;
        EXPECT_EQ(onDisk(), expected) << position;
        if (!fails) {
            EXPECT_TRUE(shown.isEmpty()) << position;
        } else if (renamed == 0) {
            EXPECT_EQ(shown.size(), 1) << position;
        } else {
            EXPECT_EQ(shown, QStringList{Lang(StringId::SavePartlyWritten)
                                             .arg(files.mid(0, renamed).join(QStringLiteral(", ")),
                                                  files.mid(renamed).join(QStringLiteral(", ")))})
                << position;
        }
        const QStringList left =
            QDir(day).entryList(QDir::Files | QDir::Hidden) +
            QDir(day + QStringLiteral("/..")).entryList(QDir::Files | QDir::Hidden);
        for (const QString& name : left)
            EXPECT_FALSE(name.startsWith(u'.')) << position << name.toStdString();
    }
}

TEST_F(CalibrationSaverTest, FirstSaveIntoANewVehicleOrDayLeavesNoNewEmptyFolder)
{
    // Every failure position of a save that makes its folders, once with the clean-up
    // working and once with every removal failing: a folder the save made either goes again
    // or is named in the one message, and files never stand half-way unless a rename failed
    // between others, which the message says.
    using Kind = AtomicFileWriter::FaultPoint;
    const QString number = QStringLiteral("FIRST1");
    const QString vehicle = m_first + QStringLiteral("/RX902/FIRST1");
    const QString day = DayFolder(m_first, number);
    const QStringList files = {day + QStringLiteral("/PARAM_UP.BIN"),
                               day + QStringLiteral("/GSM_UP.BIN"),
                               vehicle + QStringLiteral("/CINFO.BIN")};
    for (const bool vehicleExists : {false, true}) {
        const QStringList made = vehicleExists ? QStringList{day} : QStringList{day, vehicle};
        const auto putOld = [&] {
            ASSERT_TRUE(QDir(vehicle).removeRecursively());
            if (vehicleExists) {
                ASSERT_TRUE(QDir().mkpath(vehicle + QStringLiteral("/20240101")));
            }
            ASSERT_TRUE(RebuildAndWait(*m_tree));
            ShownTexts();
            SetOnScreen(number, 4);
            m_tree->SelectNode(m_tree->topLevelItem(0));
            EXPECT_TRUE(WaitForTree(*m_tree));
        };
        putOld();
        AtomicFileWriter::failAt(Kind::Any, 0);
        ASSERT_TRUE(Save());
        const int steps = AtomicFileWriter::stepsTaken();
        QList<QByteArray> saved;
        for (const QString& file : files)
            saved << ReadFile(file);

        for (const Kind removals : {Kind::Any, Kind::Remove}) {
            for (int position = 1; position <= steps; ++position) {
                SCOPED_TRACE(QStringLiteral("vehicle there %1, removals fail %2, position %3")
                                 .arg(vehicleExists)
                                 .arg(removals == Kind::Remove)
                                 .arg(position)
                                 .toStdString());
                putOld();
                AtomicFileWriter::failAt(Kind::Any, position);
                AtomicFileWriter::failEvery(removals);
                const bool ok = Save();
                const QList<Kind> kinds = AtomicFileWriter::stepKinds();
                AtomicFileWriter::failEvery(Kind::Any);
                AtomicFileWriter::failAt(Kind::Any, 0);
                const QStringList shown = ShownTexts();
                ASSERT_EQ(shown.size(), ok ? 0 : 1);
                qsizetype written = 0;
                for (int i = 0; i < files.size(); ++i) {
                    const bool there = QFileInfo::exists(files[i]);
                    written += there ? 1 : 0;
                    if (there) {
                        EXPECT_EQ(ReadFile(files[i]), saved[i]);
                    }
                }
                if (ok || written == files.size()) {
                    EXPECT_TRUE(ok && written == files.size());
                    continue;
                }
                if (written > 0) {
                    EXPECT_TRUE(shown.first().startsWith(
                        Lang(StringId::SavePartlyWritten).section(u'%', 0, 0)))
                        << shown.first().toStdString();
                    continue;
                }
                // Each folder made is removed through the writer, so a removal that fails
                // is seen.
                const qsizetype madeNow = kinds.count(Kind::CreateFolder) -
                                          (kinds.at(position - 1) == Kind::CreateFolder ? 1 : 0);
                EXPECT_EQ(kinds.count(Kind::Remove), madeNow);
                for (const QString& folder : made) {
                    const bool named =
                        shown.first().contains(Lang(StringId::FolderDeleteFailed).arg(folder));
                    EXPECT_EQ(QFileInfo(folder).isDir(), named) << folder.toStdString();
                }
            }
        }
    }
}

TEST_F(CalibrationSaverTest, FailedSaveIntoANewDayLeavesNoEmptyFolder)
{
    SetOnScreen(QStringLiteral("NEWDAY"), 3);
    m_tree->SelectNode(m_tree->topLevelItem(0));
    EXPECT_TRUE(WaitForTree(*m_tree));
    AtomicFileWriter::failNthWrite(3);
    EXPECT_FALSE(Save());
    AtomicFileWriter::failNthWrite(0);
    EXPECT_EQ(ShownTexts().size(), 1);
    EXPECT_FALSE(QFileInfo::exists(m_first + QStringLiteral("/RX902/NEWDAY")));
}

TEST_F(CalibrationSaverTest, MissingExchangeFolderIsReported)
{
    ASSERT_TRUE(QDir(m_first + QStringLiteral("/RX902")).removeRecursively());
    SetOnScreen(QStringLiteral("NOFOLDER"), 6);
    m_tree->SelectNode(m_tree->topLevelItem(0));
    EXPECT_TRUE(WaitForTree(*m_tree));
    EXPECT_FALSE(Save());
    EXPECT_EQ(
        ShownTexts(),
        QStringList{
            Lang(StringId::FolderCreateFailed).arg(m_first + QStringLiteral("/RX902/NOFOLDER"))});
}

} // namespace
