#pragma once

#include <cstdint>
#include <string>

#include "ui/clock.h"

namespace zor::administration {

// The stopwatch of a test screen. The elapsed time comes from the clock's
// monotonic scale, so setting the system clock during a run cannot change a
// measured time. The date fields record the calendar reading at the last
// start and stop: a date as whole days since 30 December 1899 and a time of
// day as a fraction of a day, local time.
class TYRChronometre {
  public:
    explicit TYRChronometre(const ui::Clock& clock) : clock_(clock) {}

    bool ChronoOn = false;
    double StartDate = 0;
    double StartTime = 0;
    double StopDate = 0;
    double StopTime = 0;

    // Starts a run; nothing happens while running. Each start measures from
    // itself only.
    void ChronoStart();
    // Ends the run; nothing happens while stopped.
    void ChronoStop();
    // Seconds of the current run while running, of the last run after a stop.
    long double ChronoElapsed() const;

    // Whole days from date b to date a (a - b rounded to the nearest day);
    // throws std::range_error when that lies outside 0..65535.
    static int ChronoDays(double a, double b);

  private:
    void readCalendar(double& date, double& time) const;

    const ui::Clock& clock_;
    std::int64_t startMs_ = 0;
    std::int64_t stopMs_ = 0;
};

// The shown time of a run: the elapsed seconds (plus 1/86400 s) rounded to
// one decimal, with exactly one decimal, digit grouping and at most five
// significant digits, Dutch separators: "3,4", "1.234,5".
std::string RunningTimeText(long double elapsedSeconds);
// The time label of a test screen: "Tijd: 3,4 sec.".
std::string RunningTimeCaption(long double elapsedSeconds);
// The stored time of a run: the same rounding, as whole tenths of a second in
// plain digits ("34" for 3.4 s).
std::string StoredTimeText(long double elapsedSeconds);

}  // namespace zor::administration
