#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace zor::ui {

class Timer;

// The time source of the user interface and the schedule of its timers.
// Every timer tick runs on the one user-interface thread: the front end asks
// `nextDueMs()` when to wake up and then calls `fireDueTimers()`.
class Clock {
  public:
    virtual ~Clock();

    // Milliseconds on a monotonic scale (only differences matter).
    virtual std::int64_t nowMs() const = 0;
    // Today's date and the time of day.
    virtual std::chrono::system_clock::time_point wallNow() const = 0;

    // Runs every timer whose due time has come, earliest first; a periodic
    // timer is scheduled again one interval after its tick.
    void fireDueTimers();
    // When the earliest enabled timer is due, if any.
    std::optional<std::int64_t> nextDueMs() const;

    // Called whenever the earliest due time may have changed, so that a
    // front end can re-arm its wake-up.
    std::function<void()> onScheduleChanged;
    // Every tick runs through this wrapper (the application routes ticks
    // through its event handling); without one the tick runs directly.
    std::function<void(const std::function<void()>&)> tickWrapper;

  private:
    friend class Timer;
    void schedule(Timer& timer, std::int64_t dueMs);
    void cancel(Timer& timer);
    void scheduleChanged();

    struct Entry {
        Timer* timer;
        std::int64_t due;
        std::uint64_t order;
    };
    const Entry* earliest() const;

    std::vector<Entry> entries_;
    std::uint64_t nextOrder_ = 0;
};

// The real clock of the program.
class SystemClock : public Clock {
  public:
    std::int64_t nowMs() const override;
    std::chrono::system_clock::time_point wallNow() const override;
};

// A clock that moves only when told to; tests advance it and due timers fire
// in time order on the way.
class VirtualClock : public Clock {
  public:
    // Where the wall clock starts unless told otherwise: 5 March 2011, 09:00.
    static constexpr std::chrono::sys_time<std::chrono::hours> kDefaultWallStart =
        std::chrono::sys_days{std::chrono::year{2011} / 3 / 5} + std::chrono::hours{9};

    explicit VirtualClock(std::chrono::system_clock::time_point wallStart = kDefaultWallStart);

    std::int64_t nowMs() const override { return now_; }
    std::chrono::system_clock::time_point wallNow() const override;

    // Moves the clock forward by `ms`, firing every timer that falls due.
    void advance(std::int64_t ms);

  private:
    std::int64_t now_ = 0;
    std::chrono::system_clock::time_point wallStart_;
};

}  // namespace zor::ui
