#include "administration/stopwatch.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <time.h>

#include <stdexcept>

#include "administration/prompts.h"
#include "norms/rounding.h"
#include "ui/clock.h"

namespace zor::administration {
namespace {

// The calendar fields are local time; the tests read them in UTC.
struct UtcZone {
    UtcZone() {
        setenv("TZ", "UTC", 1);
        tzset();
    }
};

TEST(TimeTexts, HalfTenthsRoundUpAlsoJustBelowThroughFloatingPointError) {
    EXPECT_EQ(StoredTimeText(3.25L), "33");
    EXPECT_EQ(RunningTimeText(3.25L), "3,3");
    // 3.25 reached as a sum of tenths lands just below 3.25.
    const double sum = 0.1 + 0.1 + 0.1 + 0.1 + 0.1 + 0.1 + 0.1 + 0.1 + 0.1 + 0.1 + 2.25;
    EXPECT_EQ(StoredTimeText(sum), "33");
    EXPECT_EQ(StoredTimeText(3.24L), "32");
    EXPECT_EQ(StoredTimeText(0), "0");
    EXPECT_EQ(RunningTimeCaption(0), "Tijd: 0,0 sec.");
    EXPECT_EQ(RunningTimeCaption(3.4L), "Tijd: 3,4 sec.");
}

TEST(TimeTexts, LongRunsShowDigitGroupingAndAtMostFiveSignificantDigits) {
    EXPECT_EQ(RunningTimeText(1234.5L), "1.234,5");
    EXPECT_EQ(RunningTimeText(999.96L), "1.000,0");
    EXPECT_EQ(RunningTimeText(12345.6L), "12.346,0");
    EXPECT_EQ(RunningTimeText(123456.0L), "1,2346E5");
}

TEST(TimeTexts, StoredTimesStayWholeTenthsBeyondFiveDigits) {
    // The report's totals read the cell as a whole number.
    EXPECT_EQ(StoredTimeText(1234.5L), "12345");
    EXPECT_EQ(StoredTimeText(10000.0L), "100000");
}

TEST(RoundN, ReportsItsRange) {
    EXPECT_EQ(norms::RoundN(2.25L, 1), 2.3L);
    try {
        norms::RoundN(1, 13);
        FAIL();
    } catch (const std::out_of_range& e) {
        EXPECT_STREQ(e.what(), "RoundN: Value must be in -12..12");
    }
}

TEST(Stopwatch, MeasuresFromItsLastStartAndReadsTheSameAfterAStop) {
    UtcZone utc;
    ui::VirtualClock clock;
    TYRChronometre chrono(clock);
    EXPECT_FALSE(chrono.ChronoOn);
    EXPECT_EQ(chrono.StartDate, 0);
    chrono.ChronoStart();
    EXPECT_TRUE(chrono.ChronoOn);
    // 5 March 2011 is date value 40607; 9:00 is 0.375 of a day.
    EXPECT_EQ(chrono.StartDate, 40607);
    clock.advance(1000);
    chrono.ChronoStart();  // no effect while running
    clock.advance(2250);
    EXPECT_EQ(chrono.ChronoElapsed(), 3.25L);
    chrono.ChronoStop();
    EXPECT_FALSE(chrono.ChronoOn);
    EXPECT_GT(chrono.StopTime, chrono.StartTime);
    clock.advance(5000);
    EXPECT_EQ(chrono.ChronoElapsed(), 3.25L);
    EXPECT_EQ(chrono.ChronoElapsed(), 3.25L);
    chrono.ChronoStop();  // no effect while stopped
    EXPECT_EQ(chrono.ChronoElapsed(), 3.25L);
    chrono.ChronoStart();
    EXPECT_EQ(chrono.StopDate, 0);
    EXPECT_EQ(chrono.StopTime, 0);
    clock.advance(400);
    EXPECT_EQ(chrono.ChronoElapsed(), 0.4L);
}

TEST(Stopwatch, RunPastMidnightKeepsItsLength) {
    UtcZone utc;
    ui::VirtualClock clock(std::chrono::sys_days{std::chrono::year{2011} / 3 / 5} +
                           std::chrono::hours{23} + std::chrono::minutes{59} +
                           std::chrono::seconds{58});
    TYRChronometre chrono(clock);
    chrono.ChronoStart();
    clock.advance(4500);
    chrono.ChronoStop();
    EXPECT_EQ(chrono.ChronoElapsed(), 4.5L);
    EXPECT_EQ(TYRChronometre::ChronoDays(chrono.StopDate, chrono.StartDate), 1);
}

TEST(Stopwatch, ChronoDaysRoundsAndRefusesDatesThatWentBack) {
    EXPECT_EQ(TYRChronometre::ChronoDays(40608.4, 40607), 1);
    EXPECT_EQ(TYRChronometre::ChronoDays(40607, 40607), 0);
    EXPECT_THROW(TYRChronometre::ChronoDays(40606, 40607), std::range_error);
    EXPECT_THROW(TYRChronometre::ChronoDays(40607 + 65536, 40607), std::range_error);
}

TEST(PromptFiles, FollowTheNamingOfTheRecordings) {
    EXPECT_EQ(IntroPromptFile(Subtest::FW, 1), "FWn01.wav");
    EXPECT_EQ(IntroPromptFile(Subtest::FV, 5), "FVn05.wav");
    EXPECT_EQ(DeletionPromptFile(1, PromptPart::A), "FWv01a.wav");
    EXPECT_EQ(DeletionPromptFile(3, PromptPart::B), "FWv03b.wav");
    EXPECT_EQ(DeletionPromptFile(4, PromptPart::A), "FWi01a.wav");
    EXPECT_EQ(DeletionPromptFile(13, PromptPart::B), "FWi10b.wav");
    EXPECT_EQ(DeletionPromptFile(15, PromptPart::B), "FWi12b.wav");
    EXPECT_EQ(SwapPromptFile(9), "FVi09.wav");
    EXPECT_EQ(SwapPromptFile(12), "FVi12.wav");
    EXPECT_THROW(DeletionPromptFile(16, PromptPart::A), std::out_of_range);
    EXPECT_EQ(SubtestAudioFolder("/p/Audio", Subtest::FV), "/p/Audio/FV");
}

}  // namespace
}  // namespace zor::administration
