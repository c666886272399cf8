#pragma once

#include <QObject>
#include <QTimer>

#include "ui/clock.h"

namespace zor::ui::qt {

// Wakes the event loop when the clock's earliest timer falls due and fires
// the due timers: the screens' timers run on Qt's event loop.
class ClockDriver : public QObject {
public:
    explicit ClockDriver(Clock& clock);
    ~ClockDriver() override;

    // Re-arms the wake-up for the earliest due timer.
    void rearm();

private:
    Clock& clock_;
    QTimer wakeUp_;
};

}  // namespace zor::ui::qt
