#pragma once

// Runs Qt's event loop for the benchmarks, as the program's own loop would.
#include <QCoreApplication>
#include <QTimer>
#include <functional>

namespace zor::bench {

// Handles events until the condition holds; it is checked after each batch.
inline void runEventsUntil(const std::function<bool()>& condition) {
    while (!condition()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

inline void runEventsFor(int ms) {
    bool done = false;
    QTimer::singleShot(ms, Qt::PreciseTimer, [&] { done = true; });
    runEventsUntil([&] { return done; });
}

}  // namespace zor::bench
