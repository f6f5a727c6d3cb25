#include "params/ValueLists.h"

#include "lang/LanguagePack.h"

#include <gtest/gtest.h>

#include <set>

TEST(ValueLabel, countryGivesTheNationLabelOfTheLoadedPack)
{
    EXPECT_EQ(ValueLabel(QStringLiteral("country"), 1), Lang(101));
    EXPECT_EQ(ValueLabel(QStringLiteral("country"), 4), Lang(105));
    EXPECT_EQ(ValueLabel(QStringLiteral("country"), 6), Lang(129));
    EXPECT_EQ(ValueLabel(QStringLiteral("country"), 43), Lang(166));
    EXPECT_EQ(ValueLabel(QStringLiteral("country"), 52), Lang(175));
    EXPECT_EQ(ValueLabel(QStringLiteral("country"), 253), Lang(176));
    EXPECT_EQ(ValueLabel(QStringLiteral("country"), 255), Lang(178));
    EXPECT_FALSE(Lang(166).isEmpty());
}

TEST(ValueLabel, codeInNoEntryGivesTheEmptyText)
{
    EXPECT_EQ(ValueLabel(QStringLiteral("country"), 0), QString());
    EXPECT_EQ(ValueLabel(QStringLiteral("country"), 53), QString());
    EXPECT_EQ(ValueLabel(QStringLiteral("purpose"), 3), QString());
    EXPECT_EQ(ValueLabel(QStringLiteral("protocol"), 2), QString());
    EXPECT_EQ(ValueLabel(QStringLiteral("period"), 23), QString());
}

TEST(ValueLabel, purposeGivesTheLabelsOfTheOfferedCodes)
{
    EXPECT_EQ(ValueLabel(QStringLiteral("purpose"), 2), Lang(179));
    EXPECT_EQ(ValueLabel(QStringLiteral("purpose"), 1), Lang(180));
    EXPECT_EQ(ValueLabel(QStringLiteral("purpose"), 4), Lang(181));
}

TEST(ValueLabel, protocolIsFixedAndPeriodSpeaksThePacksLanguage)
{
    const struct {
        const char* pack;
        std::uint32_t period;
        QString text;
    } cases[] = {
        {"Velmora_en", 0, QStringLiteral("OFF")},
        {"Velmora_en", 5, QStringLiteral("1:30 min.")},
        {"Velmora_en", 22, QStringLiteral("24 h.")},
        {"Velmora_en", 0x100 + 14, QStringLiteral("1 h.")}, // compared as one byte
        {"Velmora_ru", 0, QStringLiteral("ВЫКЛ")},
        {"Velmora_ru", 1, QStringLiteral("15 сек.")},
        {"Velmora_ru", 8, QStringLiteral("5 мин.")},
        {"Velmora_ru", 22, QStringLiteral("24 ч.")},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(LanguagePack::current().load(QString::fromLatin1(c.pack)));
        EXPECT_EQ(ValueLabel(QStringLiteral("period"), c.period), c.text) << c.pack << c.period;
        EXPECT_EQ(ValueLabel(QStringLiteral("protocol"), 1), QStringLiteral("UDP"));
    }
    // Every period has its text in both packs, none left to the English fallback in Russian.
    for (const PeriodEntry* e = PeriodList.data(); e->text; ++e)
        EXPECT_NE(EntryText(*e), QString::fromLatin1(e->text)) << e->code;
    ASSERT_TRUE(LanguagePack::current().load(QStringLiteral("Velmora_ru")));
}

TEST(ValueLabel, unknownKeyGivesTheEmptyText)
{
    EXPECT_EQ(ValueLabel(QStringLiteral("nation"), 43), QString());
    EXPECT_EQ(ValueLabel(QString(), 0), QString());
}

TEST(ValueLists, nationListHoldsEveryCodeOnceInOrder)
{
    std::set<int> labels;
    int count = 0;
    int previous = 0;
    for (const NationEntry* e = NationList.data(); e->labelId != 0; ++e, ++count) {
        EXPECT_GT(e->code, previous);
        EXPECT_NE(e->labelId, 104u); // the registration message sits among the nation ids
        labels.insert(static_cast<int>(e->labelId));
        previous = e->code;
    }
    EXPECT_EQ(count, 55);
    EXPECT_EQ(labels.size(), 55u);
    EXPECT_EQ(NationList[51].code, 52);
    EXPECT_EQ(NationList[52].code, 253);
    EXPECT_EQ(NationList[54].code, 255);
}
