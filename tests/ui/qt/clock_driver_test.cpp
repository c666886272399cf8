#include <gtest/gtest.h>

#include <QEventLoop>
#include <QTimer>

#include "qt_test_app.h"
#include "ui/qt/clock_driver.h"

#include <algorithm>
#include <string>
#include <vector>
#include "ui/timer.h"

namespace zor::ui::qt {
namespace {

// Runs the event loop until `done` holds; a generous limit only guards
// against a hang, it measures nothing.
template <typename Pred>
bool runUntil(Pred done) {
    QEventLoop loop;
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, &loop, &QEventLoop::quit);
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (done()) loop.quit();
    });
    guard.start(10'000);
    poll.start(1);
    loop.exec();
    return done();
}

TEST(ClockDriver, TheEventLoopFiresTheClocksTimersInOrder) {
    testing::qtApp();
    SystemClock clock;
    ClockDriver driver(clock);
    std::vector<std::string> ticks;
    Timer slow(clock, 30);
    Timer fast(clock, 1);
    slow.onTimer = [&] {
        ticks.push_back("slow");
        slow.setEnabled(false);
    };
    fast.onTimer = [&] {
        ticks.push_back("fast");
        if (std::count(ticks.begin(), ticks.end(), "fast") == 3) fast.setEnabled(false);
    };
    slow.setEnabled(true);
    fast.setEnabled(true);
    ASSERT_TRUE(runUntil([&] { return ticks.size() == 4; }));
    EXPECT_EQ(ticks.back(), "slow");
    EXPECT_FALSE(clock.nextDueMs());
}

TEST(ClockDriver, ATimerEnabledFromATickIsWokenFor) {
    testing::qtApp();
    SystemClock clock;
    ClockDriver driver(clock);
    Timer first(clock, 5);
    Timer second(clock, 5);
    bool secondTicked = false;
    first.onTimer = [&] {
        first.setEnabled(false);
        second.setEnabled(true);
    };
    second.onTimer = [&] {
        second.setEnabled(false);
        secondTicked = true;
    };
    first.setEnabled(true);
    EXPECT_TRUE(runUntil([&] { return secondTicked; }));
}

}  // namespace
}  // namespace zor::ui::qt
