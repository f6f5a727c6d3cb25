#include "params/ValueHints.h"

#include "lang/LanguagePack.h"
#include "lang/StringIds.h"
#include "params/FieldText.h"
#include "store/LittleEndian.h"

#include <gtest/gtest.h>

namespace {

using P = ParamRecord::Layout;

struct Values {
    std::uint16_t w = 8000;
    std::uint16_t k = 8000;
    std::uint16_t l = 3000;
    std::uint8_t speed = 90;
    QString vin = QStringLiteral("WDB96340310123456");
    std::uint64_t imei = 490154203237518; // a valid check digit
};

ParamRecord paramOf(const Values& v)
{
    ParamRecord param;
    LittleEndian::write(param.bytes.data() + P::ConstantWOffset, v.w, P::UInt16Width);
    LittleEndian::write(param.bytes.data() + P::ConstantKOffset, v.k, P::UInt16Width);
    LittleEndian::write(param.bytes.data() + P::TyreCircumferenceOffset, v.l, P::UInt16Width);
    param.bytes[P::MaxSpeedOffset] = v.speed;
    EncodeUtf8Text(v.vin, param.bytes.data() + P::VinOffset, P::VinWidth);
    return param;
}

GsmRecord gsmOf(const Values& v)
{
    GsmRecord gsm;
    LittleEndian::write(gsm.bytes.data() + GsmRecord::Layout::ImeiOffset, v.imei,
                        GsmRecord::Layout::ImeiWidth);
    return gsm;
}

TEST(ValueHintsTest, EachRangeEdgeLuhnAndForbiddenVinLetters)
{
    namespace S = StringId;
    const auto with = [](auto change) {
        Values v;
        change(v);
        return v;
    };
    const struct {
        Values values;
        QList<int> hinted; // label ids of the rows with a hint
    } cases[] = {
        {Values{}, {}},
        {with([](Values& v) { v.w = v.k = 2399; }), {S::ConstantW, S::ConstantK}},
        {with([](Values& v) { v.w = v.k = 2400; }), {}},
        {with([](Values& v) { v.w = v.k = 25000; }), {}},
        {with([](Values& v) { v.w = v.k = 25001; }), {S::ConstantW, S::ConstantK}},
        {with([](Values& v) { v.w = 1; }), {S::ConstantW, S::ConstantK}},
        // K may be 1% away from W (10000 +- 100), not more.
        {with([](Values& v) { v.w = 10000, v.k = 10100; }), {}},
        {with([](Values& v) { v.w = 10000, v.k = 9900; }), {}},
        {with([](Values& v) { v.w = 10000, v.k = 10101; }), {S::ConstantK}},
        {with([](Values& v) { v.w = 10000, v.k = 9899; }), {S::ConstantK}},
        {with([](Values& v) { v.l = 1499; }), {S::TyreCircumference}},
        {with([](Values& v) { v.l = 1500; }), {}},
        {with([](Values& v) { v.l = 4000; }), {}},
        {with([](Values& v) { v.l = 4001; }), {S::TyreCircumference}},
        {with([](Values& v) { v.speed = 100; }), {}},
        {with([](Values& v) { v.speed = 101; }), {S::MaxSpeed}},
        {with([](Values& v) { v.vin = QStringLiteral("WDB9634031012345"); }), {S::Vin}},
        {with([](Values& v) { v.vin = QStringLiteral("WDB96340310I23456"); }), {S::Vin}},
        {with([](Values& v) { v.vin = QStringLiteral("WDB96340310O23456"); }), {S::Vin}},
        {with([](Values& v) { v.vin = QStringLiteral("WDB96340310Q23456"); }), {S::Vin}},
        {with([](Values& v) { v.vin = QStringLiteral("wdb96340310q23456"); }), {S::Vin}},
        {with([](Values& v) { v.vin = QStringLiteral("WDB96340310-23456"); }), {S::Vin}},
        {with([](Values& v) { v.vin = QStringLiteral("wdb96340310123456"); }), {}},
        {with([](Values& v) { v.imei = 490154203237517; }), {S::Imei}},
        {with([](Values& v) { v.imei = 49015420323751; }), {S::Imei}},
        {with([](Values& v) { v.imei = 356938035643809; }), {}},
        // Values not typed yet are not unusual.
        {with([](Values& v) { v.w = v.k = v.l = v.speed = 0, v.vin.clear(), v.imei = 0; }), {}},
    };
    int index = 0;
    for (const auto& c : cases) {
        const QList<ValueHint> hints = UnusualValues(paramOf(c.values), gsmOf(c.values));
        QList<int> hinted;
        for (const ValueHint& hint : hints) {
            hinted.append(hint.labelId);
            EXPECT_EQ(hint.text, HintForValue(hint.labelId, paramOf(c.values), gsmOf(c.values)));
            EXPECT_FALSE(hint.text.isEmpty());
        }
        EXPECT_EQ(hinted, c.hinted) << "case " << index;
        ++index;
    }
    const Values k = with([](Values& v) { v.k = 9000; });
    EXPECT_EQ(HintForValue(S::ConstantK, paramOf(k), gsmOf(k)), Lang(S::HintKAwayFromW));
    const Values low = with([](Values& v) { v.k = 100; });
    EXPECT_EQ(HintForValue(S::ConstantK, paramOf(low), gsmOf(low)), Lang(S::HintConstantK));
}

TEST(ValueHintsTest, SummaryCountsAndNamesTheUnusualValuesInTheLanguageInUse)
{
    Values v;
    v.w = 1;
    v.k = 1;
    v.vin = QStringLiteral("SHORT");
    EXPECT_EQ(UnusualValuesSummary(paramOf(v), gsmOf(v)),
              Lang(StringId::SavedWithUnusualValues)
                  .arg(3)
                  .arg(QStringList{Lang(StringId::Vin), Lang(StringId::ConstantW),
                                   Lang(StringId::ConstantK)}
                           .join(QStringLiteral(", "))));
    EXPECT_EQ(UnusualValuesSummary(paramOf(Values{}), gsmOf(Values{})), QString());
}

} // namespace
