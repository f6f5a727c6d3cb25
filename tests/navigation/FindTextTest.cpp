#include "navigation/FindText.h"

#include <gtest/gtest.h>

namespace {

// The look-alike pairs of the number itself are checked beside the number rule; here what a
// typed text finds among a vehicle's number, VIN, owner and phone.
TEST(FindText, matchesNumberVinOwnerAndPhoneAnywhere)
{
    const FindKeys vehicle =
        FindKeys::fold(QStringLiteral("Т555ХК161"), QStringLiteral("XTA21099043512345"),
                       QStringLiteral("Петров Иван"), QStringLiteral("+7 (863) 201-45-67"));
    const struct {
        const char16_t* typed;
        bool found;
    } cases[] = {
        {u"t555", true},        // Latin letters for the Cyrillic ones, another case
        {u"555 хк", true},      // inside the number, a blank typed
        {u"К-161", true},       // a dash typed
        {u"T555XK1612", false}, // longer than the number
        {u"043512", true},      // inside the VIN
        {u"xta2109", true},     // VIN in another case
        {u"XTA21099043512346", false},
        {u"иван", true}, // owner's name, lower case
        {u"ПЕТРОВ", true},
        {u"Сидоров", false},
        {u"201-45-67", true},  // phone as it is written
        {u"8632014567", true}, // phone digits only
        {u"(863) 201", true},
        {u"2014568", false},
        {u"555 Петров", false}, // two fields at once is no match
        {u"Z", false},
    };
    for (const auto& c : cases) {
        const QString typed = QString::fromUtf16(c.typed);
        EXPECT_EQ(FindText(typed).matches(vehicle), c.found) << typed.toStdString();
    }
}

TEST(FindText, blanksAndDashesAloneFindEverythingAndDigitsNeedAPhoneToMatchIt)
{
    EXPECT_TRUE(FindText(QStringLiteral(" - ")).isEmpty());
    EXPECT_FALSE(FindText(QStringLiteral("7")).isEmpty());
    // A vehicle not read yet is found by its number only.
    const FindKeys bare = FindKeys::fold(QStringLiteral("A123BC77"));
    EXPECT_TRUE(FindText(QStringLiteral("А123")).matches(bare));
    EXPECT_FALSE(FindText(QStringLiteral("4567")).matches(bare));
    // Digits that are in the number find it even when written like a phone number.
    EXPECT_TRUE(FindText(QStringLiteral("1-2-3")).matches(bare));
}

} // namespace
