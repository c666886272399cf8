#include "ui/timer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/clock.h"

namespace zor::ui {
namespace {

TEST(VirtualClockTest, AdvancingFiresDueTimersInTimeOrder) {
    VirtualClock clock;
    std::vector<std::string> log;
    Timer slow(clock, 300), fast(clock, 100);
    slow.onTimer = [&] { log.push_back("slow@" + std::to_string(clock.nowMs())); };
    fast.onTimer = [&] { log.push_back("fast@" + std::to_string(clock.nowMs())); };
    slow.setEnabled(true);
    fast.setEnabled(true);
    clock.advance(350);
    EXPECT_EQ(log, (std::vector<std::string>{"fast@100", "fast@200", "slow@300", "fast@300"}));
    EXPECT_EQ(clock.nowMs(), 350);
}

TEST(VirtualClockTest, EnablingARunningTimerDoesNotRestartIt) {
    VirtualClock clock;
    int ticks = 0;
    Timer t(clock, 500);
    t.onTimer = [&] { ++ticks; };
    t.setEnabled(true);
    clock.advance(400);
    t.setEnabled(true);
    clock.advance(100);
    EXPECT_EQ(ticks, 1);
}

TEST(VirtualClockTest, ChangingTheIntervalRestartsAndDisablingStops) {
    VirtualClock clock;
    int ticks = 0;
    Timer t(clock, 500);
    t.onTimer = [&] { ++ticks; };
    t.setEnabled(true);
    clock.advance(400);
    t.setInterval(1000);
    clock.advance(999);
    EXPECT_EQ(ticks, 0);
    clock.advance(1);
    EXPECT_EQ(ticks, 1);
    t.setEnabled(false);
    clock.advance(5000);
    EXPECT_EQ(ticks, 1);
    EXPECT_FALSE(clock.nextDueMs());
}

TEST(VirtualClockTest, ATickThatDisablesAnotherDueTimerPreventsItsTick) {
    VirtualClock clock;
    Timer a(clock, 100), b(clock, 100);
    int bTicks = 0;
    a.onTimer = [&] { b.setEnabled(false); };
    b.onTimer = [&] { ++bTicks; };
    a.setEnabled(true);
    b.setEnabled(true);
    clock.advance(100);
    EXPECT_EQ(bTicks, 0);
}

TEST(VirtualClockTest, WallTimeMovesWithTheClock) {
    using namespace std::chrono;
    VirtualClock clock(sys_days{year{2020} / 12 / 31} + hours{23} + minutes{59} + seconds{59});
    clock.advance(1500);
    EXPECT_EQ(floor<days>(clock.wallNow()), sys_days{year{2021} / 1 / 1});
}

}  // namespace
}  // namespace zor::ui
