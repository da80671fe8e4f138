// Numbers read from text, rounded and brought into range as the system's conversions do.
#include <gtest/gtest.h>

#include <cmath>

#include "core/numbers.h"
#include "core/rotation.h"
#include "platform/errors.h"

namespace {

TEST(Numbers, NumbersAreReadWithAPointWhateverTheLocale) {
    EXPECT_DOUBLE_EQ(plorin::toNumber(" 2.5 "), 2.5);
    EXPECT_DOUBLE_EQ(plorin::toNumber("-3"), -3);
    EXPECT_THROW(plorin::toNumber("abc"), platform::NumberedError);
    EXPECT_THROW(plorin::toNumber(""), platform::NumberedError);
    EXPECT_THROW(plorin::toNumber("2,5"), platform::NumberedError);
}

TEST(Numbers, WholeNumbersOfAnyLengthReadAsBefore) {
    // Short whole numbers take a quicker way than the rest; both must agree.
    EXPECT_EQ(plorin::toNumber("1112"), 1112);
    EXPECT_EQ(plorin::toNumber(" 007 "), 7);
    EXPECT_EQ(plorin::toNumber("999999999999999"), 999999999999999.0);      // 15 digits
    EXPECT_EQ(plorin::toNumber("12345678901234567"), 12345678901234567.0);  // beyond: rounded as a double
    EXPECT_EQ(plorin::toNumber("-42"), -42);
    EXPECT_TRUE(std::signbit(plorin::toNumber("-0")));
    EXPECT_EQ(plorin::toNumber("+5"), 5);
    EXPECT_EQ(plorin::toNumber("&H1F"), 31);
    for (const char* bad : {"-", "--1", "1-", "1 2", "12a", "0x10"})
        EXPECT_THROW(plorin::toNumber(bad), platform::NumberedError) << bad;
}

TEST(Numbers, RotationIsBroughtIntoOneTurn) {
    EXPECT_DOUBLE_EQ(plorin::normalizeRotation(90.0f), 90.0);
    EXPECT_DOUBLE_EQ(plorin::normalizeRotation(0.0f), 0.0);
    EXPECT_DOUBLE_EQ(plorin::normalizeRotation(359.75f), -0.25);
    EXPECT_DOUBLE_EQ(plorin::normalizeRotation(359.5f), -0.5);   // 359.5 rounds to 360 (halves to even)
    EXPECT_DOUBLE_EQ(plorin::normalizeRotation(358.5f), 358.5);  // 358.5 rounds to 358
    EXPECT_DOUBLE_EQ(plorin::normalizeRotation(-90.0f), 270.0);
    EXPECT_DOUBLE_EQ(plorin::normalizeRotation(450.0f), 90.0);
}

}  // namespace
