#include "norms/standard_scores.h"

#include <gtest/gtest.h>

#include "norms/age_band.h"
#include "norms/rounding.h"

namespace zor::norms {
namespace {

long double Shown(long double score) { return RoundD(1, score); }

// FW 600 tenths with 9 right, FV 2500 tenths with 7 right.
const RawTotals kExampleTotals{.timeFW = 60, .timeFV = 250, .correctFW = 9, .correctFV = 7};

TEST(StandardScores, WorkedExampleBand2) {
    const StandardScores s =
        ComputeStandardScores(AgeBand(100, true), FormRawScores(kExampleTotals));
    EXPECT_EQ(Shown(s.speedScoreFW), 6.5L);
    EXPECT_EQ(s.accuracyScoreFW, 0);
    EXPECT_EQ(s.indexBand1, 0);
    EXPECT_EQ(Shown(s.speedScoreFV), 8.5L);
    EXPECT_EQ(Shown(s.speedScore), 7.1L);
    EXPECT_EQ(Shown(s.accuracyScore), 10.2L);
    EXPECT_EQ(Shown(s.indexScore), 8.5L);
    // The combined scores come from the unrounded ones.
    EXPECT_NEAR(static_cast<double>(s.speedScore), 7.1216289448, 1e-9);
    EXPECT_NEAR(static_cast<double>(s.indexScore), 8.4767539299, 1e-9);
}

TEST(StandardScores, WorkedExampleBand1) {
    const StandardScores s =
        ComputeStandardScores(AgeBand(80, true), FormRawScores(kExampleTotals));
    EXPECT_EQ(Shown(s.speedScoreFW), 7.5L);
    EXPECT_EQ(Shown(s.accuracyScoreFW), 11.8L);
    EXPECT_EQ(Shown(s.indexBand1), 9.6L);
    EXPECT_EQ(s.indexScore, s.indexBand1);
    // The swap subtest was given, yet band 1 has no norms for it.
    EXPECT_EQ(s.speedScoreFV, 0);
    EXPECT_EQ(s.speedScore, 0);
    EXPECT_EQ(s.accuracyScore, 0);
}

TEST(StandardScores, WorkedExampleBand6) {
    const RawTotals totals{.timeFW = 35, .timeFV = 120, .correctFW = 12, .correctFV = 12};
    const StandardScores s = ComputeStandardScores(AgeBand(140, true), FormRawScores(totals));
    EXPECT_EQ(Shown(s.speedScoreFW), 4.5L);
    EXPECT_EQ(Shown(s.speedScoreFV), 6.7L);
    EXPECT_EQ(Shown(s.speedScore), 4.9L);
    EXPECT_EQ(s.accuracyScore, 0);
    EXPECT_EQ(s.indexScore, s.speedScore);
    EXPECT_EQ(s.accuracyScoreFW, 0);
    EXPECT_EQ(s.indexBand1, 0);
}

TEST(StandardScores, BandZeroGivesNothing) {
    const StandardScores s = ComputeStandardScores(0, FormRawScores(kExampleTotals));
    EXPECT_EQ(s.speedScoreFW, 0);
    EXPECT_EQ(s.speedScoreFV, 0);
    EXPECT_EQ(s.speedScore, 0);
    EXPECT_EQ(s.accuracyScore, 0);
    EXPECT_EQ(s.indexScore, 0);
}

TEST(StandardScores, MissingSubtests) {
    RawTotals noFW = kExampleTotals;
    noFW.timeFW = 1199;
    noFW.correctFW = 11988;
    for (int band = 1; band <= 8; ++band) {
        const StandardScores s = ComputeStandardScores(band, FormRawScores(noFW));
        EXPECT_EQ(s.speedScoreFW, 0);
        EXPECT_EQ(s.speedScore, 0);
        EXPECT_EQ(s.indexScore, 0) << band;
    }
    RawTotals noFV = kExampleTotals;
    noFV.timeFV = 1199;
    noFV.correctFV = 11988;
    for (int band = 2; band <= 8; ++band) {
        const StandardScores s = ComputeStandardScores(band, FormRawScores(noFV));
        EXPECT_NE(s.speedScoreFW, 0);
        EXPECT_EQ(s.speedScoreFV, 0);
        EXPECT_EQ(s.accuracyScore, 0);
        EXPECT_EQ(s.indexScore, 0) << band;
    }
}

TEST(StandardScores, OneMissingMarkOnlyLosesAccuracy) {
    RawTotals totals = kExampleTotals;
    totals.correctFV = 11 + 999;
    const StandardScores s = ComputeStandardScores(2, FormRawScores(totals));
    EXPECT_NE(s.speedScoreFV, 0);
    EXPECT_EQ(s.accuracyScore, 0);
    EXPECT_EQ(s.indexScore, s.speedScore);  // accuracy missing: index falls back on speed
}

TEST(SpeedScoreFW, TimeLimits) {
    for (int band = 1; band <= 8; ++band) {
        EXPECT_EQ(SpeedScoreFW(band, 3), 19);
        EXPECT_EQ(SpeedScoreFW(band, 121), 1);
        EXPECT_EQ(SpeedScoreFW(band, 155), 1);
        EXPECT_EQ(SpeedScoreFW(band, kNotAvailable), 0);
    }
    // Below 121 seconds the formula value stands.
    EXPECT_NEAR(static_cast<double>(SpeedScoreFW(1, 119)), 1.057, 1e-3);
    EXPECT_EQ(SpeedScoreFW(1, 120), 1);  // formula below 1, clamped
    EXPECT_EQ(SpeedScoreFW(2, 0), 19);   // formula above 19, clamped
}

TEST(SpeedScoreFV, LimitsPerBand) {
    for (int band = 2; band <= 8; ++band) EXPECT_EQ(SpeedScoreFV(band, 0.6L), 19) << band;
    const long double s541 = 541.0L / 10;
    const long double s542 = 542.0L / 10;
    EXPECT_NEAR(static_cast<double>(SpeedScoreFV(3, s541)), 1.149, 1e-3);  // at the limit
    EXPECT_EQ(SpeedScoreFV(3, s542), 1);                                   // above it
    // Every band's limit: the last tenth inside keeps the formula, the next tenth gives 1.
    const long double limits[] = {82.4L, 54.1L, 39.4L, 30, 23.5L, 18.4L, 14.3L};
    for (int band = 2; band <= 8; ++band) {
        const long double above = (limits[band - 2] * 10 + 1) / 10;
        EXPECT_EQ(SpeedScoreFV(band, above), 1) << band;
    }
    EXPECT_EQ(SpeedScoreFV(1, 25), 0);
    EXPECT_EQ(SpeedScoreFV(2, kNotAvailable), 0);
}

TEST(AccuracyScore, Band4LowCountGivesOne) {
    // Band 4 formula at C = 0.3 is about 1.38; the low-count rule makes it 1.
    EXPECT_EQ(AccuracyScore(4, 0.3L), 1);
    EXPECT_NEAR(static_cast<double>(AccuracyScore(4, 0.4L)), 1.724, 1e-3);
    // Band 3 keeps its formula, clamped (0.68 → 1); band 2 at C = 0.4 is above 1.
    EXPECT_EQ(AccuracyScore(3, 0.3L), 1);
    EXPECT_NEAR(static_cast<double>(AccuracyScore(2, 0.4L)), 1.347, 1e-3);
    for (int band : {1, 5, 6, 7, 8}) EXPECT_EQ(AccuracyScore(band, 1.6L), 0) << band;
    EXPECT_EQ(AccuracyScore(2, kNotAvailable), 0);
}

TEST(IndexScore, FirstRuleThatApplies) {
    EXPECT_EQ(IndexScore(1, 9.6L, 0, 0), 9.6L);
    EXPECT_EQ(IndexScore(1, 0, 0, 0), 0);
    EXPECT_NEAR(static_cast<double>(IndexScore(3, 0, 10, 10)), 20 * 0.568574 - 1.39053, 1e-12);
    EXPECT_EQ(IndexScore(3, 0, 7, 0), 7);
    EXPECT_EQ(IndexScore(6, 0, 7, 12), 7);
    EXPECT_EQ(IndexScore(2, 0, 19, 19), 19);  // clamped
}

TEST(Clamp, KeepsExactZero) {
    EXPECT_EQ(Clamp(0), 0);
    EXPECT_EQ(Clamp(-3), 1);
    EXPECT_EQ(Clamp(0.5L), 1);
    EXPECT_EQ(Clamp(25), 19);
    EXPECT_EQ(Clamp(12.34L), 12.34L);
}

}  // namespace
}  // namespace zor::norms
