#include "pulse_monitor.h"

#include <chrono>
#include <cstdlib>
#include <vector>

namespace zor::bench {

std::int64_t nowNs() {
    using namespace std::chrono;
    return duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count();
}

MonitorReader::MonitorReader(const std::string& parecCommand) {
    // parec ends on a broken pipe when the reader closes: nothing to report.
    pipe_ = popen((parecCommand + " 2> /dev/null").c_str(), "r");
    if (!pipe_) {
        std::fprintf(stderr, "cannot run %s\n", parecCommand.c_str());
        std::exit(2);
    }
    thread_ = std::thread([this] { read(); });
}

MonitorReader::~MonitorReader() {
    // The monitor streams without pause, so the reader sees the flag within
    // a read; closing the pipe afterwards ends parec.
    running_ = false;
    thread_.join();
    pclose(pipe_);
}

void MonitorReader::waitUntilSteady() const {
    while (samplesRead_ < kMonitorRate) std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

void MonitorReader::forgetHeard() {
    lastAudibleNs_ = 0;
    firstAudibleNs_ = 0;
}

void MonitorReader::read() {
    // Small reads: a sample's arrival time is known to within a read.
    std::vector<std::int16_t> buffer(64);
    while (running_) {
        const std::size_t n = std::fread(buffer.data(), 2, buffer.size(), pipe_);
        const std::int64_t arrived = nowNs();
        if (n == 0) break;
        samplesRead_ += std::int64_t(n);
        for (std::size_t i = 0; i < n; ++i) {
            if (std::abs(int(buffer[i])) <= kAudibleThreshold) continue;
            const std::int64_t heard =
                arrived - std::int64_t(n - 1 - i) * 1'000'000'000 / kMonitorRate;
            lastAudibleNs_ = heard;
            std::int64_t none = 0;
            firstAudibleNs_.compare_exchange_strong(none, heard);
        }
    }
}

}  // namespace zor::bench
