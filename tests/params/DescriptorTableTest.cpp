#include "params/CurrentCalibration.h"
#include "params/FieldHandlers.h"
#include "params/FieldText.h"
#include "params/ParamDescriptor.h"
#include "params/RegistrationNumber.h"

#include "lang/LanguagePack.h"

#include "GridTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using P = ParamRecord::Layout;
using G = GsmRecord::Layout;
using T = ParamFieldType;

struct Expected {
    std::uint32_t labelId;
    T type;
    const std::uint8_t* record;
    std::size_t offset;
    std::uint32_t width;
    FieldHandler handler;
    const char* tag;
};

class DescriptorTable : public ::testing::Test {
protected:
    void SetUp() override
    {
        grid.resize(600, 700);
        grid.SetupRows();
    }

    CurrentCalibration current;
    cTDGrid grid{current};
    ParamRecord& param = current.param();
    GsmRecord& gsm = current.gsm();
};

} // namespace

TEST_F(DescriptorTable, everyRowPointsAtItsFieldWithItsWidthHandlerAndTag)
{
    const std::uint8_t* p = param.bytes.data();
    const std::uint8_t* g = gsm.bytes.data();
    const std::uint8_t* o = current.owner().bytes.data();
    const Expected expected[ParamRowCount] = {
        {185, T::WideText, o, 0, 260, nullptr, "tag_cname"},
        {186, T::WideText, o, 520, 260, nullptr, "tag_address"},
        {187, T::WideText, o, 1040, 32, nullptr, "tag_phone"},
        {188, T::WideText, o, 1104, 260, nullptr, "tag_model"},
        {126, T::UInt32, p, 171, 4, nullptr, "tag_serial"},
        {107, T::UInt8, p, 4, 1, &PurposeHandler, "tag_purpose"},
        {108, T::Text, p, 99, 17, nullptr, "tag_vin"},
        {109, T::UInt8, p, 116, 1, &NationHandler, "tag_nation"},
        {110, T::Text, p, 118, 13, nullptr, "tag_vnumber"},
        {111, T::UInt16, p, 131, 2, nullptr, "tag_constantW"},
        {112, T::UInt16, p, 133, 2, nullptr, "tag_constantK"},
        {113, T::UInt16, p, 135, 2, nullptr, "tag_tyreL"},
        {114, T::Text, p, 137, 15, nullptr, "tag_tyreS"},
        {115, T::UInt8, p, 152, 1, nullptr, "tag_maxSpeed"},
        {116, T::UInt8, p, 156, 3, &OdometerHandler, "tag_odometer"},
        {124, T::UInt64, g, 137, 8, nullptr, "tag_imei"},
        {117, T::Text, g, 0, 40, nullptr, "tag_apn"},
        {118, T::Text, g, 40, 30, nullptr, "tag_login"},
        {119, T::Text, g, 70, 20, nullptr, "tag_password"},
        {120, T::Text, g, 90, 40, nullptr, "tag_host"},
        {121, T::UInt16, g, 130, 2, nullptr, "tag_port"},
        {122, T::UInt8, g, 132, 1, &ProtocolHandler, "tag_protocol"},
        {127, T::UInt32, g, 133, 4, &PeriodHandler, "tag_period"},
    };
    const ParamDescriptor* table = ParamTable();
    for (int n = 0; n < ParamRowCount; ++n) {
        SCOPED_TRACE(n);
        EXPECT_EQ(table[n].labelId, expected[n].labelId);
        EXPECT_EQ(table[n].type, expected[n].type);
        EXPECT_EQ(table[n].fieldIn(current.edit()), expected[n].record + expected[n].offset);
        EXPECT_EQ(table[n].width, expected[n].width);
        EXPECT_EQ(table[n].handler, expected[n].handler);
        EXPECT_STREQ(table[n].tag, expected[n].tag);
        EXPECT_EQ(grid.GetCellText(n, 0), Lang(static_cast<int>(expected[n].labelId)));
    }
    EXPECT_EQ(table[ParamRowCount].labelId, 0u);
    EXPECT_EQ(grid.GetRowCount(), ParamRowCount);
}

TEST_F(DescriptorTable, fullRegistrationNumberStopsBeforeConstantW)
{
    param.bytes.fill(0xAA);
    TypeInto(grid, Row::RegNumber, QStringLiteral("AB1234567CD8"));
    EXPECT_EQ(std::memcmp(param.bytes.data() + P::RegNumberOffset, "AB1234567CD8", 13), 0);
    EXPECT_EQ(param.bytes[P::CodePageOffset], 0xAA);
    EXPECT_EQ(param.bytes[P::ConstantWOffset], 0xAA);
    EXPECT_EQ(RegistrationNumberOf(param), QStringLiteral("AB1234567CD8"));
}

TEST_F(DescriptorTable, fullVinIsReadBackWithoutTheNationByte)
{
    TypeInto(grid, Row::Nation, Lang(133)); // code 10
    TypeInto(grid, Row::Vin, QStringLiteral("WDB12345678901234"));
    EXPECT_EQ(param.bytes[P::NationOffset], 10);
    grid.SetCellText(Row::Vin, ValueCol, QString());
    grid.Refresh();
    EXPECT_EQ(grid.GetCellText(Row::Vin, ValueCol), QStringLiteral("WDB12345678901234"));
}

TEST_F(DescriptorTable, periodAtItsOddOffsetLeavesProtocolAndImeiAlone)
{
    gsm.bytes.fill(0xAA);
    TypeInto(grid, Row::Period, QStringLiteral("24 ч."));
    EXPECT_EQ(BytesOf(gsm, G::PeriodOffset, 4), (std::vector<std::uint8_t>{22, 0, 0, 0}));
    EXPECT_EQ(gsm.bytes[G::ProtocolOffset], 0xAA);
    EXPECT_EQ(gsm.bytes[G::ImeiOffset], 0xAA);

    gsm.bytes[G::PeriodOffset] = 14;
    grid.Refresh();
    EXPECT_EQ(grid.GetCellText(Row::Period, ValueCol), QStringLiteral("1 ч."));
}

TEST_F(DescriptorTable, portIsStoredLittleEndianBesideTheHost)
{
    gsm.bytes.fill(0xAA);
    TypeInto(grid, Row::Port, QStringLiteral("8080"));
    EXPECT_EQ(BytesOf(gsm, G::PortOffset - 1, 4),
              (std::vector<std::uint8_t>{0xAA, 0x90, 0x1F, 0xAA}));
}
