#include "navigation/NumberMatch.h"

#include <gtest/gtest.h>

namespace {

TEST(NumberMatchTest, LookAlikeCaseBlanksAndDashesCompareEqualOthersDoNot)
{
    const struct {
        QString a;
        QString b;
        bool same;
    } cases[] = {
        {QStringLiteral("A123BC77"), QStringLiteral("a123bc77"), true},
        {QStringLiteral("A 123-BC 77"), QStringLiteral("A123BC77"), true},
        {QStringLiteral("A\u2013123\u00A0BC\t77"), QStringLiteral("a123bc77"), true},
        // Each of the twelve Cyrillic letters against its Latin look-alike, both cases.
        {QStringLiteral("\u0410"), QStringLiteral("A"), true},
        {QStringLiteral("\u0432"), QStringLiteral("B"), true},
        {QStringLiteral("\u0415"), QStringLiteral("e"), true},
        {QStringLiteral("\u043A"), QStringLiteral("K"), true},
        {QStringLiteral("\u041C"), QStringLiteral("m"), true},
        {QStringLiteral("\u043D"), QStringLiteral("H"), true},
        {QStringLiteral("\u041E"), QStringLiteral("o"), true},
        {QStringLiteral("\u0440"), QStringLiteral("P"), true},
        {QStringLiteral("\u0421"), QStringLiteral("c"), true},
        {QStringLiteral("\u0442"), QStringLiteral("T"), true},
        {QStringLiteral("\u0423"), QStringLiteral("y"), true},
        {QStringLiteral("\u0445"), QStringLiteral("X"), true},
        {QStringLiteral("\u0422555\u0425\u041A161"), QStringLiteral("t555xk161"), true},
        // Letters that only resemble each other loosely, and digits, stay apart.
        {QStringLiteral("\u0417"), QStringLiteral("3"), false},
        {QStringLiteral("\u041F"), QStringLiteral("N"), false},
        {QStringLiteral("\u0418"), QStringLiteral("U"), false},
        {QStringLiteral("O"), QStringLiteral("0"), false},
        {QStringLiteral("A123BC77"), QStringLiteral("A123BC78"), false},
        {QStringLiteral("A123BC7"), QStringLiteral("A123BC77"), false},
        {QStringLiteral("A.123"), QStringLiteral("A123"), false},
        {QString(), QStringLiteral(" - "), true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SameRegistrationNumber(c.a, c.b), c.same)
            << c.a.toStdString() << " / " << c.b.toStdString();
        EXPECT_EQ(SameRegistrationNumber(c.b, c.a), c.same) << c.b.toStdString();
    }
    EXPECT_EQ(NormalizedNumber(QStringLiteral("\u0430 123-\u0432\u0441 77")),
              QStringLiteral("A123BC77"));
}

} // namespace
