#include "ui/qt/clock_driver.h"

#include <algorithm>
#include <limits>

namespace zor::ui::qt {

ClockDriver::ClockDriver(Clock& clock) : clock_(clock) {
    wakeUp_.setSingleShot(true);
    wakeUp_.setTimerType(Qt::PreciseTimer);
    connect(&wakeUp_, &QTimer::timeout, this, [this] {
        clock_.fireDueTimers();
        rearm();
    });
    clock_.onScheduleChanged = [this] { rearm(); };
    rearm();
}

ClockDriver::~ClockDriver() { clock_.onScheduleChanged = nullptr; }

void ClockDriver::rearm() {
    const auto due = clock_.nextDueMs();
    if (!due) {
        wakeUp_.stop();
        return;
    }
    const std::int64_t wait = std::clamp<std::int64_t>(*due - clock_.nowMs(), 0,
                                                       std::numeric_limits<int>::max());
    wakeUp_.start(int(wait));
}

}  // namespace zor::ui::qt
