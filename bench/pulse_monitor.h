#pragma once

// The output as heard: reads the monitor of the benchmarks' PulseAudio null
// sink from a `parec` command (16-bit mono at kMonitorRate) on a thread of
// its own and keeps when the first and the last audible sample arrived.
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <string>
#include <thread>

namespace zor::bench {

// A sample counts as audible above this level (of 32767): about -41 dBFS.
constexpr int kAudibleThreshold = 300;
constexpr int kMonitorRate = 48000;

// Nanoseconds on the steady clock, the scale of the program's SystemClock.
std::int64_t nowNs();

class MonitorReader {
  public:
    explicit MonitorReader(const std::string& parecCommand);
    ~MonitorReader();
    MonitorReader(const MonitorReader&) = delete;
    MonitorReader& operator=(const MonitorReader&) = delete;

    // Returns once the monitor has delivered a second of samples, so that
    // its stream runs steadily before anything is measured.
    void waitUntilSteady() const;
    // Forgets what was heard so far.
    void forgetHeard();
    // When the first and the last audible sample since forgetHeard() were
    // heard (nowNs scale), 0 when none was.
    std::int64_t firstAudibleNs() const { return firstAudibleNs_; }
    std::int64_t lastAudibleNs() const { return lastAudibleNs_; }

  private:
    void read();

    std::atomic<std::int64_t> firstAudibleNs_{0};
    std::atomic<std::int64_t> lastAudibleNs_{0};
    std::atomic<std::int64_t> samplesRead_{0};
    std::atomic<bool> running_{true};
    FILE* pipe_ = nullptr;
    std::thread thread_;
};

}  // namespace zor::bench
