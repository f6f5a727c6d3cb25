#include "params/CurrentCalibration.h"
#include "params/FieldText.h"
#include "params/RegistrationNumber.h"

#include "gridctrl/CGridCellCombo.h"
#include "lang/LanguagePack.h"
#include "lang/StringIds.h"
#include "store/LittleEndian.h"

#include "GridTestSupport.h"

#include <QApplication>
#include <QClipboard>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace {

using P = ParamRecord::Layout;
using G = GsmRecord::Layout;
using O = OwnerRecord::Layout;

class FieldHandlers : public ::testing::Test {
protected:
    void SetUp() override
    {
        grid.resize(600, 700);
        grid.SetupRows();
    }

    std::uint64_t paramNumber(std::size_t offset, std::size_t width) const
    {
        return LittleEndian::read(param.bytes.data() + offset, width);
    }
    QString cell(int row) const { return grid.GetCellText(row, ValueCol); }

    CurrentCalibration current;
    cTDGrid grid{current};
    ParamRecord& param = current.param();
    GsmRecord& gsm = current.gsm();
    OwnerRecord& owner = current.owner();
};

} // namespace

// Set-up

TEST_F(FieldHandlers, setupShowsFirstChoicesButStoresOnlyTheCodePage)
{
    EXPECT_EQ(cell(Row::Nation), Lang(166));  // code 43
    EXPECT_EQ(cell(Row::Purpose), Lang(179)); // code 2
    EXPECT_EQ(cell(Row::Protocol), QStringLiteral("TCP"));
    EXPECT_EQ(cell(Row::Period), QStringLiteral("ВЫКЛ"));
    EXPECT_EQ(cell(Row::ConstantW), QStringLiteral("0"));
    EXPECT_EQ(cell(Row::Odometer), QStringLiteral("0"));
    EXPECT_EQ(cell(Row::Imei), QStringLiteral("0"));
    EXPECT_EQ(cell(Row::Vin), QString());
    EXPECT_EQ(cell(Row::OwnerName), QString());

    ParamRecord expectedParam;
    expectedParam.bytes[P::CodePageOffset] = 5;
    EXPECT_EQ(param, expectedParam);
    EXPECT_EQ(gsm, GsmRecord{});
    EXPECT_EQ(owner, OwnerRecord{});
}

TEST_F(FieldHandlers, setupClearsALoadedCalibration)
{
    param.bytes.fill(0x11);
    gsm.bytes.fill(0x11);
    owner.bytes.fill(0x11);
    grid.SetupRows();
    EXPECT_EQ(std::count(param.bytes.begin(), param.bytes.end(), 0), P::Size - 1);
    EXPECT_EQ(gsm, GsmRecord{});
    EXPECT_EQ(owner, OwnerRecord{});
    EXPECT_EQ(grid.GetRowCount(), ParamRowCount);
}

TEST_F(FieldHandlers, dropDownRowsAreComboCellsOfferingTheirListsInOrder)
{
    for (int row = 0; row < ParamRowCount; ++row) {
        const bool dropDown =
            row == Row::Purpose || row == Row::Nation || row == Row::Protocol || row == Row::Period;
        EXPECT_EQ(dynamic_cast<CGridCellCombo*>(grid.CellAt(row, ValueCol)) != nullptr, dropDown)
            << row;
    }
    auto* purpose = dynamic_cast<CGridCellCombo*>(grid.CellAt(Row::Purpose, ValueCol));
    EXPECT_EQ(purpose->GetOptions(), (QStringList{Lang(179), Lang(180), Lang(181)}));
    EXPECT_EQ(purpose->GetStyle(), CGridCellCombo::DropDown);
    auto* nation = dynamic_cast<CGridCellCombo*>(grid.CellAt(Row::Nation, ValueCol));
    ASSERT_EQ(nation->GetOptions().size(), 55);
    EXPECT_EQ(nation->GetOptions().at(3), Lang(105));
    EXPECT_EQ(nation->GetOptions().at(54), Lang(178));
    auto* period = dynamic_cast<CGridCellCombo*>(grid.CellAt(Row::Period, ValueCol));
    EXPECT_EQ(period->GetOptions().size(), 23);
    // The combo keeps the descriptor attached to the cell it replaced.
    EXPECT_EQ(grid.GetCellData(Row::Period, ValueCol),
              reinterpret_cast<quintptr>(&ParamTable()[Row::Period]));
}

TEST_F(FieldHandlers, storePassTakesTheDropDownTextsButNoOtherRow)
{
    grid.SetCellText(Row::ConstantW, ValueCol, QStringLiteral("1234"));
    gsm.bytes[G::ProtocolOffset] = 1;
    grid.RunStorePass();
    EXPECT_EQ(param.bytes[P::NationOffset], 43);
    EXPECT_EQ(param.bytes[P::PurposeOffset], 2);
    EXPECT_EQ(gsm.bytes[G::ProtocolOffset], 0);
    EXPECT_EQ(paramNumber(P::ConstantWOffset, 2), 0u);
}

TEST_F(FieldHandlers, afterALanguageSwitchTheListRowsShowTheZeroCodes)
{
    TypeInto(grid, Row::Purpose, Lang(181));
    TypeInto(grid, Row::ConstantW, QStringLiteral("8000"));
    grid.SetupRows();
    grid.Refresh();
    EXPECT_EQ(cell(Row::Purpose), QString());
    EXPECT_EQ(cell(Row::Nation), QString());
    EXPECT_EQ(cell(Row::Protocol), QStringLiteral("TCP"));
    EXPECT_EQ(cell(Row::Period), QStringLiteral("ВЫКЛ"));
    EXPECT_EQ(cell(Row::ConstantW), QStringLiteral("0"));
}

// Lists

TEST_F(FieldHandlers, purposeShowsItsLabelAndEmptiesTheCellForAnUnlistedCode)
{
    param.bytes[P::PurposeOffset] = 1;
    grid.Refresh();
    EXPECT_EQ(cell(Row::Purpose), Lang(180));
    param.bytes[P::PurposeOffset] = 3;
    grid.Refresh();
    EXPECT_EQ(cell(Row::Purpose), QString());
}

TEST_F(FieldHandlers, dropDownRowsTakeAListTextInAnyCaseAndRefuseAnyOtherText)
{
    // Typed, pasted, cut or deleted: the screen never shows what the record does not hold.
    const struct {
        int row;
        QString typed;
        QString shown;
    } cases[] = {
        {Row::Purpose, Lang(180).toUpper(), Lang(180)},
        {Row::Nation, Lang(143).toLower(), Lang(143)},
        {Row::Protocol, QStringLiteral("udp"), QStringLiteral("UDP")},
        {Row::Period, QStringLiteral("5 МИН."), QStringLiteral("5 мин.")},
    };
    for (const auto& c : cases) {
        TypeInto(grid, c.row, c.typed);
        EXPECT_EQ(cell(c.row), c.shown);
        const ParamRecord paramBefore = param;
        const GsmRecord gsmBefore = gsm;
        TypeInto(grid, c.row, c.shown + QStringLiteral("x"));
        grid.SetSelectedRange(c.row, ValueCol, c.row, ValueCol);
        grid.OnEditClear();
        grid.OnEditCut();
        QApplication::clipboard()->setText(QStringLiteral("Atlantis"));
        grid.OnEditPaste();
        EXPECT_EQ(cell(c.row), c.shown) << c.row;
        EXPECT_EQ(param.bytes, paramBefore.bytes) << c.row;
        EXPECT_EQ(gsm.bytes, gsmBefore.bytes) << c.row;
    }
    EXPECT_EQ(param.bytes[P::PurposeOffset], 1);
    EXPECT_EQ(param.bytes[P::NationOffset], 20);
    EXPECT_EQ(gsm.bytes[G::ProtocolOffset], 1);
    EXPECT_EQ(LittleEndian::read(gsm.bytes.data() + G::PeriodOffset, 4), 8u);
}

TEST_F(FieldHandlers, emptyPurposeCellStoresNothing)
{
    param.bytes[P::PurposeOffset] = 3;
    grid.Refresh();
    grid.RunStorePass();
    EXPECT_EQ(param.bytes[P::PurposeOffset], 3);
}

TEST_F(FieldHandlers, nationShowsItsLabelAndEmptiesTheCellForAnUnlistedCode)
{
    param.bytes[P::NationOffset] = 20;
    grid.Refresh();
    EXPECT_EQ(cell(Row::Nation), Lang(143));
    param.bytes[P::NationOffset] = 60;
    grid.Refresh();
    EXPECT_EQ(cell(Row::Nation), QString());
}

TEST_F(FieldHandlers, nationStoresTheCodeOfTheChosenLabel)
{
    TypeInto(grid, Row::Nation, Lang(177));
    EXPECT_EQ(param.bytes[P::NationOffset], 254);
    TypeInto(grid, Row::Nation, QStringLiteral("Atlantis"));
    EXPECT_EQ(param.bytes[P::NationOffset], 254);
}

TEST_F(FieldHandlers, protocolEmptiesTheCellForAnUnlistedCodeAndTheStoreKeepsIt)
{
    gsm.bytes[G::ProtocolOffset] = 1;
    grid.Refresh();
    EXPECT_EQ(cell(Row::Protocol), QStringLiteral("UDP"));
    gsm.bytes[G::ProtocolOffset] = 7;
    grid.Refresh();
    EXPECT_EQ(cell(Row::Protocol), QString());
    grid.RunStorePass();
    EXPECT_EQ(gsm.bytes[G::ProtocolOffset], 7);
}

TEST_F(FieldHandlers, protocolStoresAPickAtOnceAndIgnoresUnlistedText)
{
    TypeInto(grid, Row::Protocol, QStringLiteral("UDP"));
    EXPECT_EQ(gsm.bytes[G::ProtocolOffset], 1);
    TypeInto(grid, Row::Protocol, QStringLiteral("SCTP"));
    EXPECT_EQ(cell(Row::Protocol), QStringLiteral("UDP"));
    EXPECT_EQ(gsm.bytes[G::ProtocolOffset], 1);
}

TEST_F(FieldHandlers, periodComparesTheWholeFieldOnShow)
{
    LittleEndian::write(gsm.bytes.data() + G::PeriodOffset, 8, 4);
    grid.Refresh();
    EXPECT_EQ(cell(Row::Period), QStringLiteral("5 мин."));
    // 0x108 has a listed low byte but is no listed code: the cell is empty.
    LittleEndian::write(gsm.bytes.data() + G::PeriodOffset, 0x108, 4);
    grid.Refresh();
    EXPECT_EQ(cell(Row::Period), QString());
}

TEST_F(FieldHandlers, periodStoresAllFourBytesAndIgnoresUnlistedText)
{
    LittleEndian::write(gsm.bytes.data() + G::PeriodOffset, 0x01020304, 4);
    TypeInto(grid, Row::Period, QStringLiteral("1:30 ч."));
    EXPECT_EQ(LittleEndian::read(gsm.bytes.data() + G::PeriodOffset, 4), 15u);
    TypeInto(grid, Row::Period, QStringLiteral("7 мин."));
    EXPECT_EQ(LittleEndian::read(gsm.bytes.data() + G::PeriodOffset, 4), 15u);
}

// Numbers

TEST_F(FieldHandlers, sixteenBitRowRefusesValuesAboveItsRangeKeepingTheRecord)
{
    TypeInto(grid, Row::ConstantW, QStringLiteral("8000"));
    TypeInto(grid, Row::ConstantW, QStringLiteral("70000"));
    EXPECT_EQ(paramNumber(P::ConstantWOffset, 2), 8000u);
    EXPECT_EQ(cell(Row::ConstantW), QStringLiteral("8000"));
    TypeInto(grid, Row::ConstantW, QStringLiteral("65535"));
    EXPECT_EQ(paramNumber(P::ConstantWOffset, 2), 65535u);
}

TEST_F(FieldHandlers, numberRowRefusesLettersAndStoresEmptyTextAsZero)
{
    TypeInto(grid, Row::ConstantK, QStringLiteral("8000"));
    TypeInto(grid, Row::ConstantK, QStringLiteral("80O0"));
    EXPECT_EQ(paramNumber(P::ConstantKOffset, 2), 8000u);
    EXPECT_EQ(cell(Row::ConstantK), QStringLiteral("8000"));
    TypeInto(grid, Row::ConstantK, QString());
    EXPECT_EQ(paramNumber(P::ConstantKOffset, 2), 0u);
}

TEST_F(FieldHandlers, oneByteRowRefusesValuesAboveTwoHundredFiftyFive)
{
    TypeInto(grid, Row::MaxSpeed, QStringLiteral("255"));
    TypeInto(grid, Row::MaxSpeed, QStringLiteral("256"));
    EXPECT_EQ(param.bytes[P::MaxSpeedOffset], 255);
    TypeInto(grid, Row::MaxSpeed, QStringLiteral("90 km/h"));
    EXPECT_EQ(param.bytes[P::MaxSpeedOffset], 255);
}

TEST_F(FieldHandlers, thirtyTwoBitRowTakesTheWholeUnsignedRange)
{
    TypeInto(grid, Row::Serial, QStringLiteral("4294967295"));
    EXPECT_EQ(BytesOf(param, P::SerialOffset, 4),
              (std::vector<std::uint8_t>{0xFF, 0xFF, 0xFF, 0xFF}));
    TypeInto(grid, Row::Serial, QStringLiteral("4294967296"));
    EXPECT_EQ(paramNumber(P::SerialOffset, 4), 4294967295u);
    EXPECT_EQ(cell(Row::Serial), QStringLiteral("4294967295"));
}

TEST_F(FieldHandlers, imeiTakesTheSixtyFourBitRange)
{
    TypeInto(grid, Row::Imei, QStringLiteral("18446744073709551615"));
    EXPECT_EQ(LittleEndian::read(gsm.bytes.data() + G::ImeiOffset, 8), ~std::uint64_t{0});
    TypeInto(grid, Row::Imei, QStringLiteral("356938035643809"));
    TypeInto(grid, Row::Imei, QStringLiteral("18446744073709551616"));
    EXPECT_EQ(LittleEndian::read(gsm.bytes.data() + G::ImeiOffset, 8), 356938035643809u);
}

TEST_F(FieldHandlers, odometerClampsAndStoresLeastSignificantByteFirst)
{
    param.bytes[P::OdometerOffset + 3] = 0xAA;
    TypeInto(grid, Row::Odometer, QStringLiteral("12345678901234567890123"));
    EXPECT_EQ(BytesOf(param, P::OdometerOffset, 4),
              (std::vector<std::uint8_t>{0x7F, 0x96, 0x98, 0xAA}));
    // The store pass takes the clamped value too.
    grid.SetCellText(Row::Odometer, ValueCol, QStringLiteral("10000000"));
    param.bytes[P::OdometerOffset] = 0;
    grid.RunStorePass();
    EXPECT_EQ(paramNumber(P::OdometerOffset, 3), 9999999u);
}

TEST_F(FieldHandlers, odometerRefusesTextThatIsNotDigits)
{
    TypeInto(grid, Row::Odometer, QStringLiteral("150000"));
    TypeInto(grid, Row::Odometer, QStringLiteral("150 000"));
    EXPECT_EQ(paramNumber(P::OdometerOffset, 3), 150000u);
    EXPECT_EQ(cell(Row::Odometer), QStringLiteral("150000"));
}

TEST_F(FieldHandlers, odometerShowsThreeBytes)
{
    param.bytes[P::OdometerOffset] = 0x01;
    param.bytes[P::OdometerOffset + 1] = 0x02;
    param.bytes[P::OdometerOffset + 2] = 0x03;
    grid.Refresh();
    EXPECT_EQ(cell(Row::Odometer), QStringLiteral("197121"));
}

// Text

TEST_F(FieldHandlers, registrationNumberRowFollowsTheNumberRulesAndItsCodePage)
{
    // A Cyrillic number is written in ISO/IEC 8859-5 and the code-page byte says so.
    param.bytes[P::CodePageOffset] = 0;
    TypeInto(grid, Row::RegNumber, QStringLiteral(u"А123ВС77"));
    EXPECT_EQ(param.bytes[P::CodePageOffset], 5);
    EXPECT_EQ(BytesOf(param, P::RegNumberOffset, 9),
              (std::vector<std::uint8_t>{0xB0, '1', '2', '3', 0xB2, 0xC1, '7', '7', 0}));
    EXPECT_EQ(RegistrationNumberOf(param), QStringLiteral(u"А123ВС77"));
    // Twelve Cyrillic letters fit; an ASCII number leaves the code page alone.
    TypeInto(grid, Row::RegNumber, QStringLiteral(u"АВЕКМНОРСТУХ"));
    EXPECT_EQ(RegistrationNumberOf(param), QStringLiteral(u"АВЕКМНОРСТУХ"));
    TypeInto(grid, Row::RegNumber, QStringLiteral("AB12"));
    EXPECT_EQ(param.bytes[P::CodePageOffset], 5);

    QSignalSpy refused(&grid, &cTDGrid::editRefused);
    for (const QString& number :
         {QStringLiteral(u"АВЕКМНОРСТУХА"), QStringLiteral("ABCDEFGHIJKLM"), QStringLiteral("A:B"),
          QStringLiteral("A.B"), QStringLiteral(u"ΩЖ1"), QStringLiteral("A") + QChar(0) + u'B'}) {
        TypeInto(grid, Row::RegNumber, number);
        EXPECT_EQ(cell(Row::RegNumber), QStringLiteral("AB12")) << number.toStdString();
    }
    EXPECT_EQ(refused.count(), 6);
    EXPECT_EQ(RegistrationNumberOf(param), QStringLiteral("AB12"));
}

TEST_F(FieldHandlers, zeroCharacterIsRefusedInEveryTextRow)
{
    QSignalSpy refused(&grid, &cTDGrid::editRefused);
    for (const int row : {Row::OwnerName, Row::Vin, Row::TyreSize, Row::Apn}) {
        TypeInto(grid, row, QStringLiteral("AB"));
        TypeInto(grid, row, QStringLiteral("A") + QChar(0) + u'B');
        EXPECT_EQ(cell(row), QStringLiteral("AB")) << row;
    }
    ASSERT_EQ(refused.count(), 4);
    EXPECT_EQ(refused.at(0).at(0).toString(), Lang(StringId::ZeroCharacter));
}

TEST_F(FieldHandlers, leadingByteOrderMarkInAUtf8FieldIsATextCharacter)
{
    param.bytes[P::CodePageOffset] = 0;
    const std::uint8_t number[] = {0xEF, 0xBB, 0xBF, 'A', 'B', 0};
    std::copy(std::begin(number), std::end(number), param.bytes.begin() + P::RegNumberOffset);
    grid.Refresh();
    EXPECT_EQ(cell(Row::RegNumber), QChar(0xFEFF) + QStringLiteral("AB"));
    EXPECT_EQ(RegistrationNumberOf(param), QChar(0xFEFF) + QStringLiteral("AB"));
}

TEST_F(FieldHandlers, odometerAboveTheMaximumIsKeptUntilTheRowIsEdited)
{
    std::fill_n(param.bytes.begin() + P::OdometerOffset, 3, 0xFF);
    grid.Refresh();
    grid.RunStorePass();
    EXPECT_EQ(BytesOf(param, P::OdometerOffset, 3), (std::vector<std::uint8_t>{0xFF, 0xFF, 0xFF}));
    TypeInto(grid, Row::Odometer, QStringLiteral("20000000"));
    EXPECT_EQ(BytesOf(param, P::OdometerOffset, 3), (std::vector<std::uint8_t>{0x7F, 0x96, 0x98}));
}

TEST_F(FieldHandlers, vinOfSeventeenCharactersIsAcceptedAndEighteenRefused)
{
    TypeInto(grid, Row::Vin, QStringLiteral("WDB12345678901234"));
    TypeInto(grid, Row::Vin, QStringLiteral("WDB123456789012345"));
    EXPECT_EQ(cell(Row::Vin), QStringLiteral("WDB12345678901234"));
    EXPECT_EQ(std::memcmp(param.bytes.data() + P::VinOffset, "WDB12345678901234", 17), 0);
}

TEST_F(FieldHandlers, iso8859RegistrationNumberIsShownAndKeptUntilChanged)
{
    const std::uint8_t number[] = {0xB0, '1', '2', '3', 0xB2, 0xC1, 0, 0xEE};
    std::memcpy(param.bytes.data() + P::RegNumberOffset, number, sizeof number);
    param.bytes[P::CodePageOffset] = 5;
    grid.Refresh();
    EXPECT_EQ(cell(Row::RegNumber), QStringLiteral(u"А123ВС"));
    // Leaving the editor unchanged stores the same bytes, in their own code page.
    TypeInto(grid, Row::RegNumber, QStringLiteral(u"А123ВС"));
    EXPECT_EQ(std::memcmp(param.bytes.data() + P::RegNumberOffset, number, sizeof number), 0);
}

TEST_F(FieldHandlers, shorterTextKeepsTheBytesAfterItsTerminator)
{
    TypeInto(grid, Row::TyreSize, QStringLiteral("315/80 R22.5"));
    TypeInto(grid, Row::TyreSize, QStringLiteral("11R22"));
    EXPECT_EQ(std::memcmp(param.bytes.data() + P::TyreSizeOffset, "11R22\0 R22.5\0\0", 15), 0);
    grid.Refresh();
    EXPECT_EQ(cell(Row::TyreSize), QStringLiteral("11R22"));
}

TEST_F(FieldHandlers, wideTextIsStoredAsUtf16AndRefusedBeyondItsWidth)
{
    TypeInto(grid, Row::OwnerName, QStringLiteral(u"ООО «Трансавто»"));
    EXPECT_EQ(DecodeWideText(owner.bytes.data() + O::NameOffset, O::NameUnits),
              QStringLiteral(u"ООО «Трансавто»"));
    TypeInto(grid, Row::OwnerName, QString(261, QLatin1Char('x')));
    EXPECT_EQ(cell(Row::OwnerName), QStringLiteral(u"ООО «Трансавто»"));
    TypeInto(grid, Row::OwnerName, QString(260, QLatin1Char('x')));
    EXPECT_EQ(DecodeWideText(owner.bytes.data() + O::NameOffset, O::NameUnits),
              QString(260, QLatin1Char('x')));
    EXPECT_EQ(owner.bytes[O::AddressOffset], 0);
}
