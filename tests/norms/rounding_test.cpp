#include "norms/rounding.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace zor::norms {
namespace {

TEST(RoundD, HalvesGoAwayFromZero) {
    EXPECT_EQ(RoundD(1, 6.25L), 6.3L);
    EXPECT_EQ(RoundD(1, -6.25L), -6.3L);
    EXPECT_EQ(RoundD(1, 6.24L), 6.2L);
    EXPECT_EQ(RoundD(1, 0), 0);
    EXPECT_EQ(RoundD(0, 2.5L), 3);
    EXPECT_EQ(RoundD(2, 1.005L), 1.01L);
}

TEST(RoundN, HalvesGoAwayFromZeroForEveryAllowedPrecision) {
    EXPECT_EQ(RoundN(2.25L, 1), 2.3L);
    EXPECT_EQ(RoundN(-2.25L, 1), -2.3L);
    EXPECT_EQ(RoundN(2.24L, 1), 2.2L);
    EXPECT_EQ(RoundN(1250, -2), 1300);
    EXPECT_EQ(RoundN(-1249, -2), -1200);
    EXPECT_EQ(RoundN(7.5L, 0), 8);
}

TEST(RoundN, RefusesPrecisionOutsideTwelveDecimals) {
    EXPECT_NO_THROW(RoundN(1, 12));
    EXPECT_NO_THROW(RoundN(1, -12));
    try {
        RoundN(1, 13);
        FAIL() << "no error for 13 decimals";
    } catch (const std::out_of_range& e) {
        EXPECT_STREQ(e.what(), "RoundN: Value must be in -12..12");
    }
    EXPECT_THROW(RoundN(1, -13), std::out_of_range);
}

TEST(RoundHalfUp, AddsOneFromHalfOn) {
    EXPECT_EQ(RoundHalfUp(60.5L), 61);
    EXPECT_EQ(RoundHalfUp(60.49L), 60);
    EXPECT_EQ(RoundHalfUp(1198.8L), 1199);
    EXPECT_EQ(RoundHalfUp(0), 0);
    // The fraction of a negative number is negative, so it never reaches 0.5.
    EXPECT_EQ(RoundHalfUp(-2.5L), -2);
}

}  // namespace
}  // namespace zor::norms
