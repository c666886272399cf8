#include "pulse_monitor.h"

#include <pulse/pulseaudio.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace zor::bench {

std::int64_t nowNs() {
    using namespace std::chrono;
    return duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count();
}

namespace {

[[noreturn]] void fail(const char* what, pa_context* context) {
    std::fprintf(stderr, "monitor: %s: %s\n", what,
                 context ? pa_strerror(pa_context_errno(context)) : "-");
    std::exit(2);
}

}  // namespace

MonitorReader::MonitorReader(const std::string& source) {
    // ZOR_MONITOR_TRACE=FILE: one line per delivery with the stream's timing.
    if (const char* trace = std::getenv("ZOR_MONITOR_TRACE")) trace_ = std::fopen(trace, "w");
    loop_ = pa_threaded_mainloop_new();
    pa_threaded_mainloop_start(loop_);
    pa_threaded_mainloop_lock(loop_);
    context_ = pa_context_new(pa_threaded_mainloop_get_api(loop_), "zor-bench-monitor");
    pa_context_connect(context_, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr);
    for (int i = 0; i < 500 && pa_context_get_state(context_) != PA_CONTEXT_READY; ++i) {
        if (!PA_CONTEXT_IS_GOOD(pa_context_get_state(context_))) fail("no server", context_);
        pa_threaded_mainloop_unlock(loop_);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        pa_threaded_mainloop_lock(loop_);
    }
    if (pa_context_get_state(context_) != PA_CONTEXT_READY) fail("no server", context_);

    const pa_sample_spec sampleFormat{PA_SAMPLE_S16LE, kMonitorRate, 1};
    stream_ = pa_stream_new(context_, "zor-bench-monitor", &sampleFormat, nullptr);
    pa_stream_set_read_callback(stream_, &MonitorReader::onRead, this);
    // Small fragments with latency adjustment, as `parec --latency-msec=2`
    // asks: the sink then renders in small blocks, so a sample reaches the
    // monitor about when the sink plays it (the timing corrects the rest).
    // A monitor that asked nothing would leave the null sink rendering up
    // to two seconds ahead. PULSE_LATENCY_MSEC, meant for the player's
    // streams in this process, is kept away from it.
    pa_buffer_attr attr;
    attr.maxlength = std::uint32_t(-1);
    attr.tlength = attr.prebuf = attr.minreq = std::uint32_t(-1);
    attr.fragsize = std::uint32_t(pa_usec_to_bytes(2 * PA_USEC_PER_MSEC, &sampleFormat));
    const char* latencyEnv = std::getenv("PULSE_LATENCY_MSEC");
    const std::string savedLatency = latencyEnv ? latencyEnv : "";
    if (latencyEnv) unsetenv("PULSE_LATENCY_MSEC");
    const auto flags = pa_stream_flags_t(PA_STREAM_AUTO_TIMING_UPDATE | PA_STREAM_ADJUST_LATENCY |
                                         PA_STREAM_DONT_MOVE);
    if (pa_stream_connect_record(stream_, source.c_str(), &attr, flags) < 0)
        fail("cannot record the monitor", context_);
    if (latencyEnv) setenv("PULSE_LATENCY_MSEC", savedLatency.c_str(), 1);
    pa_threaded_mainloop_unlock(loop_);
}

MonitorReader::~MonitorReader() {
    pa_threaded_mainloop_lock(loop_);
    pa_stream_set_read_callback(stream_, nullptr, nullptr);
    pa_stream_disconnect(stream_);
    pa_stream_unref(stream_);
    pa_context_disconnect(context_);
    pa_context_unref(context_);
    pa_threaded_mainloop_unlock(loop_);
    pa_threaded_mainloop_stop(loop_);
    pa_threaded_mainloop_free(loop_);
    if (trace_) std::fclose(trace_);
}

void MonitorReader::waitUntilSteady() const {
    // An idle null sink renders two seconds ahead and takes the monitor's
    // low latency only after that block.
    for (int i = 0; i < 1000 && samplesRead_ < 3 * kMonitorRate; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (samplesRead_ < 3 * kMonitorRate) {
        std::fprintf(stderr, "monitor: no samples from the monitor\n");
        std::exit(2);
    }
}

void MonitorReader::forgetHeard() {
    lastAudibleNs_ = 0;
    lastArrivedNs_ = 0;
    firstAudibleNs_ = 0;
}

void MonitorReader::onRead(pa_stream* stream, std::size_t, void* self) {
    static_cast<MonitorReader*>(self)->read(stream);
}

void MonitorReader::read(pa_stream* stream) {
    for (;;) {
        const void* data = nullptr;
        std::size_t bytes = 0;
        if (pa_stream_peek(stream, &data, &bytes) < 0 || bytes == 0) return;
        const std::int64_t arrived = nowNs();
        // A monitor delivers what the sink has just taken; the sink plays it
        // its latency later, as the server reports that latency.
        const pa_timing_info* timing = pa_stream_get_timing_info(stream);
        if (timing) {
            sinkLatencyUs_ = std::int64_t(timing->sink_usec);
            if (trace_)
                std::fprintf(
                    trace_,
                    "monitor at_us=%lld samples=%lld bytes=%zu sink_us=%llu "
                    "source_us=%llu transport_us=%llu write_index=%lld read_index=%lld "
                    "playing=%d\n",
                    (long long)(arrived / 1000), (long long)samplesRead_.load(), bytes,
                    (unsigned long long)timing->sink_usec, (unsigned long long)timing->source_usec,
                    (unsigned long long)timing->transport_usec, (long long)timing->write_index,
                    (long long)timing->read_index, timing->playing);
        }
        const std::size_t count = bytes / 2;
        if (data) {
            const auto* samples = static_cast<const std::int16_t*>(data);
            for (std::size_t i = 0; i < count; ++i) {
                if (std::abs(int(samples[i])) <= kAudibleThreshold) continue;
                const std::int64_t arrivedAt =
                    arrived - std::int64_t(count - 1 - i) * 1'000'000'000 / kMonitorRate;
                const std::int64_t played = arrivedAt + sinkLatencyUs_ * 1000;
                lastAudibleNs_ = played;
                lastArrivedNs_ = arrivedAt;
                std::int64_t none = 0;
                firstAudibleNs_.compare_exchange_strong(none, played);
            }
        }
        samplesRead_ += std::int64_t(count);
        pa_stream_drop(stream);
    }
}

}  // namespace zor::bench
