// Numbers as the user types and sees them, in a point and a comma locale.
#include <gtest/gtest.h>

#include "platform/locale.h"

namespace {

TEST(UserNumbers, APointLocaleReadsPointsAndRefusesEverythingElse) {
    EXPECT_EQ(platform::readUserNumber(" 2.5 "), 2.5);
    EXPECT_EQ(platform::readUserNumber("-.5"), -0.5);
    EXPECT_EQ(platform::readUserNumber("+3"), 3.0);
    EXPECT_EQ(platform::readUserNumber("1e2"), 100.0);
    for (const char* text : {"", " ", "abc", "1,000", "0,5", "1.2.3", "2.5mm", "-", ".", "1e", "1 000"})
        EXPECT_FALSE(platform::readUserNumber(text)) << text;
    EXPECT_EQ(platform::formatUserNumber(0.16667f, 7), "0.16667");
    EXPECT_EQ(platform::formatUserNumber(1.0 / 3, 7), "0.3333333");
}

TEST(UserNumbers, ACommaLocaleReadsItsCommaAndThePointAlike) {
    platform::ScopedDecimalSeparator comma(',');
    EXPECT_EQ(platform::readUserNumber("0,5"), 0.5);
    EXPECT_EQ(platform::readUserNumber("0.5"), 0.5);
    EXPECT_EQ(platform::readUserNumber("1,000"), 1.0);
    EXPECT_FALSE(platform::readUserNumber("1,0,0"));
    EXPECT_FALSE(platform::readUserNumber("1,5.5"));
    EXPECT_EQ(platform::formatUserNumber(0.5, 7), "0,5");
    platform::setDecimalSeparator(';');  // ignored
    EXPECT_EQ(platform::decimalSeparator(), ',');
}

TEST(UserNumbers, TheSeparatorComesBackAfterItsScope) {
    { platform::ScopedDecimalSeparator comma(','); }
    EXPECT_EQ(platform::decimalSeparator(), '.');
}

}  // namespace
