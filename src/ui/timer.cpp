#include "ui/timer.h"

#include <algorithm>

namespace zor::ui {

Timer::Timer(Clock& clock, int intervalMs) : clock_(clock), interval_(std::max(1, intervalMs)) {}

Timer::~Timer() { clock_.cancel(*this); }

void Timer::start() { clock_.schedule(*this, clock_.nowMs() + interval_); }

void Timer::setInterval(int ms) {
    interval_ = std::max(1, ms);
    if (enabled_) start();
}

void Timer::setEnabled(bool on) {
    if (on == enabled_) return;
    enabled_ = on;
    if (on) {
        start();
    } else {
        clock_.cancel(*this);
    }
}

void Timer::tick() {
    if (enabled_ && onTimer) onTimer();
}

}  // namespace zor::ui
