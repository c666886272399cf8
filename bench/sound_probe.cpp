// Plays WAV files one after another on the program's players and compares the
// moment the player's mode reads Stopped with the moment the sink plays the
// last audible sample of the prompt, as its monitor (the probe's first
// argument, a source name) shows. Prints one line per file: late_ms =
// stopped − last audible sample played (negative: early), late_arrival_ms =
// stopped − the moment that sample arrived from the monitor (the older
// measure, which ignores the sink's latency), sink_latency_ms as the
// monitor's timing reported it, tail_ms, the quiet end of the file itself
// (below the same threshold), and latency_ms, the output latency the player
// folded into the end.
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "pulse_monitor.h"
#include "ui/clock.h"
#include "ui/pulse/pulse_sound.h"
#include "ui/wav_pcm.h"

namespace {

using zor::bench::kAudibleThreshold;
using zor::bench::nowNs;

// The quiet end of a file: the time after its last sample above the threshold.
double quietTailMs(const zor::ui::WavPcm& pcm) {
    if (pcm.bitsPerSample != 16) return 0;
    const auto* samples = reinterpret_cast<const std::int16_t*>(pcm.data.data());
    const std::size_t count = pcm.data.size() / 2;
    std::size_t last = 0;
    for (std::size_t i = 0; i < count; ++i)
        if (std::abs(int(samples[i])) > kAudibleThreshold) last = i;
    return double(count - 1 - last) / pcm.channels * 1000.0 / pcm.sampleRate;
}

void waitMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: sound_probe MONITOR-SOURCE file.wav...\n");
        return 2;
    }
    zor::ui::SystemClock clock;
    // The player's view of the server's timing goes to standard error.
    zor::ui::pulse::PulseSoundSystem::Options options;
    options.timingLog = [](const std::string& line) { std::fprintf(stderr, "%s\n", line.c_str()); };
    zor::ui::pulse::PulseSoundSystem sounds(clock, options);
    if (!sounds.connected()) {
        std::fprintf(stderr, "no sound server\n");
        return 3;
    }
    // ZOR_PROBE_POLL_MS: poll the player as seldom as the screens do
    // (100 ms) instead of every half millisecond.
    const char* pollMs = std::getenv("ZOR_PROBE_POLL_MS");
    const long pollUs = pollMs ? std::atol(pollMs) * 1000 : 500;
    auto player = sounds.createPlayer("MP1");
    zor::bench::MonitorReader monitor(argv[1]);
    monitor.waitUntilSteady();
    waitMs(500);

    for (int i = 2; i < argc; ++i) {
        const std::string file = argv[i];
        auto pcm = zor::ui::readWavPcm(file);
        player->setFileName(file);
        player->open();
        waitMs(300);
        monitor.forgetHeard();
        const std::int64_t played = nowNs();
        std::fprintf(stderr, "play %s at_ms=%lld\n", file.c_str(), (long long)clock.nowMs());
        player->play();
        std::int64_t stopped = 0;
        while (stopped == 0) {
            if (player->mode() == zor::ui::PlayerMode::Stopped) {
                stopped = nowNs();
                std::fprintf(stderr, "stopped at_ms=%lld\n", (long long)clock.nowMs());
            } else
                std::this_thread::sleep_for(std::chrono::microseconds(pollUs));
        }
        const auto latency = player->outputLatencyMs();
        waitMs(800);  // anything still sounding reaches the monitor
        const std::int64_t heard = monitor.lastAudibleNs();
        const std::int64_t arrived = monitor.lastArrivedNs();
        const std::int64_t onset = monitor.firstAudibleNs();
        player->close();
        std::printf(
            "file=%s duration_ms=%lld tail_ms=%.1f play_to_first_heard_ms=%.1f "
            "play_to_stopped_ms=%.1f late_ms=%.1f late_arrival_ms=%.1f sink_latency_ms=%.1f "
            "latency_ms=%lld\n",
            file.c_str(), pcm ? (long long)pcm->durationMs() : -1LL, pcm ? quietTailMs(*pcm) : 0.0,
            onset ? (onset - played) / 1e6 : NAN, (stopped - played) / 1e6,
            heard ? (stopped - heard) / 1e6 : NAN, arrived ? (stopped - arrived) / 1e6 : NAN,
            monitor.sinkLatencyUs() / 1e3, latency ? (long long)*latency : -1LL);
        std::fflush(stdout);
    }
    return 0;
}
