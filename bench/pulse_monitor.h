#pragma once

// The output as heard: records the monitor of the benchmarks' null sink
// (16-bit mono at kMonitorRate) through the PulseAudio client library and
// keeps when the first and the last audible sample of what was heard since
// forgetHeard() were played out. A monitor delivers a sample when the sink
// takes it from the streams, which is the sink's own latency before the sink
// plays it: each sample counts as played its arrival plus the monitored
// sink's latency in the monitor's timing report. The moment of arrival is
// kept beside it, for comparison with that older way of measuring.
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <string>

struct pa_threaded_mainloop;
struct pa_context;
struct pa_stream;

namespace zor::bench {

// A sample counts as audible above this level (of 32767): about -41 dBFS.
constexpr int kAudibleThreshold = 300;
constexpr int kMonitorRate = 48000;

// Nanoseconds on the steady clock, the scale of the program's SystemClock.
std::int64_t nowNs();

class MonitorReader {
  public:
    // `source`: the monitor source to record, e.g. "zor_null.monitor".
    explicit MonitorReader(const std::string& source);
    ~MonitorReader();
    MonitorReader(const MonitorReader&) = delete;
    MonitorReader& operator=(const MonitorReader&) = delete;

    // Returns once the monitor has delivered three seconds of samples, so
    // that the sink and the monitor run steadily before anything is measured.
    void waitUntilSteady() const;
    // Forgets what was heard so far.
    void forgetHeard();
    // When the first and the last audible sample since forgetHeard() were
    // played by the sink (nowNs scale), 0 when none was.
    std::int64_t firstAudibleNs() const { return firstAudibleNs_; }
    std::int64_t lastAudibleNs() const { return lastAudibleNs_; }
    // When the last audible sample arrived from the monitor.
    std::int64_t lastArrivedNs() const { return lastArrivedNs_; }
    // The monitored sink's latency in the last timing report, microseconds.
    std::int64_t sinkLatencyUs() const { return sinkLatencyUs_; }

  private:
    static void onRead(pa_stream* stream, std::size_t bytes, void* self);
    void read(pa_stream* stream);

    std::atomic<std::int64_t> firstAudibleNs_{0};
    std::atomic<std::int64_t> lastAudibleNs_{0};
    std::atomic<std::int64_t> lastArrivedNs_{0};
    std::atomic<std::int64_t> samplesRead_{0};
    std::atomic<std::int64_t> sinkLatencyUs_{0};
    pa_threaded_mainloop* loop_ = nullptr;
    pa_context* context_ = nullptr;
    pa_stream* stream_ = nullptr;
    std::FILE* trace_ = nullptr;
};

}  // namespace zor::bench
