#include "norms/age_band.h"

#include <gtest/gtest.h>

namespace zor::norms {
namespace {

TEST(AgeBand, BoundariesOfEveryBand) {
    EXPECT_EQ(AgeBand(77, true), 0);
    for (int band = 1; band <= 8; ++band) {
        const int first = 78 + (band - 1) * 12;
        EXPECT_EQ(AgeBand(first, true), band) << first;
        EXPECT_EQ(AgeBand(first + 11, true), band) << first + 11;
    }
    EXPECT_EQ(AgeBand(174, true), 0);
    EXPECT_EQ(AgeBand(-5, true), 0);
}

TEST(AgeBand, IncompleteBirthDateHasNoBand) { EXPECT_EQ(AgeBand(100, false), 0); }

}  // namespace
}  // namespace zor::norms
