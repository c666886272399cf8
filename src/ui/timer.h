#pragma once

#include <functional>

#include "ui/clock.h"

namespace zor::ui {

// A repeating timer as the screens use it: an interval, an enabled flag and
// a tick handler. Enabling a running timer does not restart it; changing
// the interval of a running timer does.
class Timer {
  public:
    explicit Timer(Clock& clock, int intervalMs = 1000);
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    int interval() const { return interval_; }
    void setInterval(int ms);
    bool enabled() const { return enabled_; }
    void setEnabled(bool on);

    std::function<void()> onTimer;

  private:
    friend class Clock;
    void tick();
    void start();

    Clock& clock_;
    int interval_;
    bool enabled_ = false;
};

}  // namespace zor::ui
