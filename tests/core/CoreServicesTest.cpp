#include "exchange/CalibrationExport.h"
#include "exchange/CalibrationStore.h"
#include "params/CalibrationFiles.h"
#include "params/RegistrationNumber.h"
#include "reports/ReportPreparation.h"
#include "store/FolderLock.h"
#include "store/FolderOps.h"
#include "store/LittleEndian.h"
#include "store/RecordFile.h"
#include "store/WideText.h"
#include "store/WorkshopRegister.h"
#include "tests/support/TempDataFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <functional>
#include <optional>

namespace {

using P = ParamRecord::Layout;

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class CoreServices : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(QDir().mkpath(ExchangeFolderOf(Workshop()))); }

    QString Workshop() const { return m_dir.filePath(QStringLiteral("shop")); }

    // A calibration of vehicle `number` on `day`, whose W is `w`.
    Calibration Sample(const QString& number, const QString& day, std::uint16_t w) const
    {
        Calibration c;
        EncodeRegistrationNumber(number, c.param.bytes.data() + P::RegNumberOffset,
                                 P::RegNumberWidth, c.param.bytes[P::CodePageOffset]);
        LittleEndian::write(c.param.bytes.data() + P::ConstantWOffset, w, P::UInt16Width);
        c.gsm.bytes.fill(0x21);
        EncodeWideText(QStringLiteral("Ivanov"),
                       c.owner.bytes.data() + OwnerRecord::Layout::NameOffset,
                       OwnerRecord::Layout::NameUnits);
        c.workshop.setField(WorkshopRecord::Field::Name, QStringLiteral("North & Sons"));
        c.place = {Workshop(), number, day};
        return c;
    }

    TempDataFolder m_data;
    QTemporaryDir m_dir;
};

} // namespace

TEST_F(CoreServices, storeWritesTheThreeFilesAtTheCalibrationsPlaceAndReplacesThemWhole)
{
    for (const std::uint16_t w : {8000, 8123}) {
        const Calibration c = Sample(QStringLiteral("A123BC77"), QStringLiteral("20261209"), w);
        const StoreOutcome outcome = StoreCalibration(c);
        ASSERT_TRUE(outcome.saved) << outcome.failure.toStdString();
        EXPECT_EQ(ReadAll(c.place.paramFile()), RecordFileContent(c.param.bytes));
        EXPECT_EQ(ReadAll(c.place.gsmFile()), RecordFileContent(c.gsm.bytes));
        EXPECT_EQ(ReadAll(c.place.ownerFile()), RecordFileContent(c.owner.bytes));
    }
    EXPECT_EQ(QDir(Sample(QStringLiteral("A123BC77"), {}, 0).place.vehicleFolder())
                  .entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              (QStringList{QStringLiteral("20261209"), QStringLiteral("CINFO.BIN")}));

    // A workshop without its exchange folder: nothing is made and the message names the folder.
    Calibration lost = Sample(QStringLiteral("B1"), QStringLiteral("20261209"), 1);
    lost.place.workshopFolder = m_dir.filePath(QStringLiteral("missing"));
    const StoreOutcome refused = StoreCalibration(lost);
    EXPECT_FALSE(refused.saved);
    EXPECT_TRUE(refused.failure.contains(lost.place.vehicleFolder()));
    EXPECT_FALSE(PathExists(lost.place.workshopFolder));
}

// A reading without the vehicle's lock takes the files only when they are one save's, and
// leaves the rest to the reading under the lock.
TEST_F(CoreServices, unlockedReadingTakesOneSavesFilesOrNothing)
{
    const Calibration saved = Sample(QStringLiteral("A123BC77"), QStringLiteral("20261209"), 8000);
    const CalibrationPlace place = saved.place;
    const QByteArray other = RecordFileContent(
        Sample(QStringLiteral("A123BC77"), QStringLiteral("20261209"), 9000).param.bytes);
    const auto replaceParam = [&] {
        QFile replacement(place.paramFile() + QStringLiteral(".new"));
        ASSERT_TRUE(replacement.open(QIODevice::WriteOnly));
        replacement.write(other);
        replacement.close();
        ASSERT_TRUE(QFile::remove(place.paramFile()));
        ASSERT_TRUE(replacement.rename(place.paramFile()));
    };
    const QString lockPath = FolderLock::VehicleLockPath(place.vehicleFolder());
    struct Case {
        const char* what;
        std::function<void()> before;       // on the folder, before the reading
        std::function<void()> afterOpening; // while the reading holds the files open
        bool taken;
        QList<RecordFileState> faults;
    };
    const Case cases[] = {
        {"one save's files", {}, {}, true, {}},
        {"a day not saved yet",
         [&] { QDir(place.vehicleFolder()).removeRecursively(); },
         {},
         true,
         {}},
        {"a short file",
         [&] {
             QFile file(place.gsmFile());
             ASSERT_TRUE(file.resize(RecordSize::Gsm));
         },
         {},
         true,
         {RecordFileState::Short}},
        {"a save holding the vehicle's lock",
         [&] {
             QFile lock(lockPath);
             ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
         },
         {},
         false,
         {}},
        {"a file replaced once open", {}, replaceParam, false, {}},
        {"a file made once found missing",
         [&] { QFile::remove(place.ownerFile()); },
         [&] { ASSERT_TRUE(StoreCalibration(saved).saved); },
         false,
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QFile::remove(lockPath);
        ASSERT_TRUE(StoreCalibration(saved).saved);
        if (c.before)
            c.before();
        const std::optional<CalibrationRead> read =
            ReadCalibrationUnlocked(place, WorkshopRecord{}, c.afterOpening);
        ASSERT_EQ(read.has_value(), c.taken);
        if (!read)
            continue;
        QList<RecordFileState> faults;
        for (const auto& fault : read->faults)
            faults.append(fault.second);
        EXPECT_EQ(faults, c.faults);
        const bool saveThere = QFileInfo::exists(place.dayFolder());
        EXPECT_EQ(read->dayFileThere, saveThere);
        EXPECT_EQ(read->calibration.param.bytes == saved.param.bytes, saveThere);
        EXPECT_EQ(read->calibration.owner.bytes == saved.owner.bytes, saveThere);
    }
}

TEST_F(CoreServices, exportOfAScopeWritesEachDayAsTheTachographReadsIt)
{
    const QList<CalibrationPlace> days = {
        Sample(QStringLiteral("A123BC77"), QStringLiteral("20250101"), 8000).place,
        Sample(QStringLiteral("A123BC77"), QStringLiteral("20261209"), 8123).place,
    };
    for (const CalibrationPlace& day : days) {
        Calibration c =
            Sample(day.vehicle, day.day, day.day == QStringLiteral("20250101") ? 8000 : 8123);
        ASSERT_TRUE(StoreCalibration(c).saved);
    }
    const QString drive = m_dir.filePath(QStringLiteral("stick/RX902"));
    ASSERT_TRUE(QDir().mkpath(QFileInfo(drive).path()));
    const TransferReport report = CalibrationExport(drive).run(days);
    EXPECT_EQ(report.done, 2);
    for (const CalibrationPlace& day : days) {
        const QByteArray stored = ReadAll(day.paramFile());
        const QByteArray exported =
            ReadAll(drive + u'/' + day.vehicle + u'/' + day.day + QStringLiteral("/PARAM.BIN"));
        const auto* payload = reinterpret_cast<const std::uint8_t*>(stored.constData());
        EXPECT_EQ(exported, RecordFileContent({payload, RecordSize::ParamExport}));
        EXPECT_EQ(ReadAll(drive + u'/' + day.vehicle + u'/' + day.day + QStringLiteral("/GSM.BIN"))
                      .size(),
                  RecordSize::GsmExport + 4);
    }
}

TEST_F(CoreServices, reportXmlCarriesTheCalibrationsValuesAndIsWellFormed)
{
    const Calibration c = Sample(QStringLiteral("A123BC77"), QStringLiteral("20261209"), 8123);
    QString failure;
    const auto report = PrepareReportXml(
        ReportKind::Record, c, {QStringLiteral("A123BC77"), QStringLiteral("20261209")}, &failure);
    ASSERT_TRUE(report) << failure.toStdString();
    EXPECT_EQ(report->pdfName, QStringLiteral("A123BC77_20261209_record.pdf"));

    QFile file(report->xmlPath);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
    QMap<QString, QString> values;
    while (xml.readNextStartElement()) {
        if (xml.name() == QStringLiteral("taho_record"))
            continue;
        const QString name = xml.name().toString();
        values.insert(name, xml.readElementText());
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_EQ(values.value(QStringLiteral("tag_vnumber")), QStringLiteral("A123BC77"));
    EXPECT_EQ(values.value(QStringLiteral("tag_constantW")), QStringLiteral("8123"));
    EXPECT_EQ(values.value(QStringLiteral("tag_cname")), QStringLiteral("Ivanov"));
    EXPECT_EQ(values.value(QStringLiteral("tag_sname")), QStringLiteral("North & Sons"));

    // No vehicle, no ticket; and no message either.
    failure.clear();
    EXPECT_FALSE(PrepareReportXml(ReportKind::Ticket, c, {}, &failure));
    EXPECT_TRUE(failure.isEmpty());
}

// The number's code page is the first ISO/IEC 8859 part, in the order 1, 5, 2, 3, ..., that
// holds every character: a number that part 1 can hold is never stored in part 5.
TEST(RegistrationNumberCodePage, firstPartThatHoldsEveryCharacterIsChosen)
{
    const struct {
        const char16_t* number;
        int codePage;
        std::uint8_t firstByte;
    } cases[] = {
        {u"\u00A712AB", 1, 0xA7},    // section sign: in parts 1, 2, 3, 4, 5, 7, 8, 9, ...
        {u"\u00C41234", 1, 0xC4},    // A with diaeresis: parts 1, 2, 3, 4, 9, ...
        {u"\u0410123", 5, 0xB0},     // Cyrillic A: part 5 only
        {u"\u0410\u00A71", 5, 0xB0}, // Cyrillic with the section sign: part 5 holds both
        {u"\u015A12", 2, 0xA6},      // S with acute: parts 2, 13 and 16
        {u"\u03A9123", 7, 0xD9},     // Greek capital omega: part 7
    };
    for (const auto& c : cases) {
        const QString number = QString::fromUtf16(c.number);
        SCOPED_TRACE(number.toStdString());
        std::array<std::uint8_t, P::RegNumberWidth> field{};
        std::uint8_t codePage = 0;
        ASSERT_TRUE(EncodeRegistrationNumber(number, field.data(), field.size(), codePage));
        EXPECT_EQ(codePage, c.codePage);
        EXPECT_EQ(field[0], c.firstByte);
        EXPECT_EQ(DecodeRegistrationNumber(field.data(), field.size(), codePage), number);
    }
}
