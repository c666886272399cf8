#include "ui/clock.h"

#include <algorithm>

#include "ui/timer.h"

namespace zor::ui {

Clock::~Clock() = default;

void Clock::schedule(Timer& timer, std::int64_t dueMs) {
    std::erase_if(entries_, [&](const Entry& e) { return e.timer == &timer; });
    entries_.push_back({&timer, dueMs, nextOrder_++});
    scheduleChanged();
}

void Clock::cancel(Timer& timer) {
    auto removed = std::erase_if(entries_, [&](const Entry& e) { return e.timer == &timer; });
    if (removed > 0) scheduleChanged();
}

void Clock::scheduleChanged() {
    if (onScheduleChanged) onScheduleChanged();
}

const Clock::Entry* Clock::earliest() const {
    const Entry* best = nullptr;
    for (const auto& e : entries_) {
        if (!best || e.due < best->due || (e.due == best->due && e.order < best->order)) best = &e;
    }
    return best;
}

std::optional<std::int64_t> Clock::nextDueMs() const {
    const Entry* e = earliest();
    if (!e) return std::nullopt;
    return e->due;
}

void Clock::fireDueTimers() {
    for (;;) {
        const Entry* e = earliest();
        if (!e || e->due > nowMs()) return;
        Timer* timer = e->timer;
        // The next tick is counted from this one, so a late tick does not
        // cause a burst of catch-up ticks.
        schedule(*timer, nowMs() + timer->interval());
        if (tickWrapper) {
            tickWrapper([timer] { timer->tick(); });
        } else {
            timer->tick();
        }
    }
}

std::int64_t SystemClock::nowMs() const {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

std::chrono::system_clock::time_point SystemClock::wallNow() const {
    return std::chrono::system_clock::now();
}

VirtualClock::VirtualClock(std::chrono::system_clock::time_point wallStart)
    : wallStart_(wallStart) {}

std::chrono::system_clock::time_point VirtualClock::wallNow() const {
    return wallStart_ + std::chrono::milliseconds(now_);
}

void VirtualClock::advance(std::int64_t ms) {
    const std::int64_t target = now_ + ms;
    for (;;) {
        auto due = nextDueMs();
        if (!due || *due > target) break;
        now_ = std::max(now_, *due);
        fireDueTimers();
    }
    now_ = target;
}

}  // namespace zor::ui
