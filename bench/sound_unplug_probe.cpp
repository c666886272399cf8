// The lost-output case on a real sound server: plays a long prompt on the
// default output, removes that output while the prompt plays (the given
// shell command), and checks that the player neither hangs nor ends early
// past its silent timing, that the loss is reported, and that the next
// prompt is heard on the server's new default output (the given monitor
// source).
// Usage: sound_unplug_probe 'unplug command' MONITOR-SOURCE long.wav next.wav
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "pulse_monitor.h"
#include "ui/clock.h"
#include "ui/pulse/pulse_sound.h"
#include "ui/wav_pcm.h"

namespace {

void waitMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

// Polls until Stopped, at most `limitMs`; the time it took, or -1.
long long playUntilStopped(zor::ui::SoundPlayer& player, int limitMs) {
    const auto start = std::chrono::steady_clock::now();
    const auto elapsed = [&] {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::steady_clock::now() - start)
            .count();
    };
    while (player.mode() != zor::ui::PlayerMode::Stopped) {
        if (elapsed() > limitMs) return -1;
        waitMs(1);
    }
    return elapsed();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: sound_unplug_probe 'unplug command' MONITOR-SOURCE long.wav next.wav\n");
        return 2;
    }
    zor::ui::SystemClock clock;
    zor::ui::pulse::PulseSoundSystem sounds(clock);
    if (!sounds.connected()) {
        std::fprintf(stderr, "no sound server\n");
        return 3;
    }
    const auto before = sounds.defaultOutput();
    const long long longMs = zor::ui::wavDurationMs(argv[3]).value_or(0);
    auto player = sounds.createPlayer("MP1");
    // The new output's monitor runs from the start, as an output in use
    // would, so that the server keeps its latency low.
    zor::bench::MonitorReader monitor(argv[2]);
    monitor.waitUntilSteady();

    player->setFileName(argv[3]);
    player->open();
    const auto start = std::chrono::steady_clock::now();
    player->play();
    waitMs(1000);
    const int unplugged = std::system(argv[1]);
    const long long unplugAtMs = std::chrono::duration_cast<std::chrono::milliseconds>(
                                     std::chrono::steady_clock::now() - start)
                                     .count();
    const long long stoppedMs = playUntilStopped(*player, int(longMs) + 5000);
    const long long stoppedAfterPlayMs =
        stoppedMs < 0 ? -1 : unplugAtMs + stoppedMs;  // close enough: polled right after
    const bool lost = sounds.takeOutputLost();
    const auto after = sounds.defaultOutput();

    waitMs(300);
    monitor.forgetHeard();
    player->setFileName(argv[4]);
    player->open();
    player->play();
    const long long nextMs = playUntilStopped(*player, 10000);
    waitMs(500);
    const bool heard = monitor.lastAudibleNs() != 0;

    std::printf("output_before=%s\n", before ? before->device.c_str() : "-");
    std::printf("unplug_command_status=%d unplugged_at_ms=%lld\n", unplugged, unplugAtMs);
    std::printf("long_prompt_ms=%lld stopped_after_play_ms=%lld\n", longMs, stoppedAfterPlayMs);
    std::printf("loss_reported=%s\n", lost ? "yes" : "no");
    std::printf("output_after=%s\n", after ? after->device.c_str() : "-");
    std::printf("next_prompt_stopped_ms=%lld next_prompt_heard_on_new_output=%s\n", nextMs,
                heard ? "yes" : "no");
    const bool ok = unplugged == 0 && stoppedAfterPlayMs >= 0 &&
                    stoppedAfterPlayMs <= longMs + 1500 && lost && nextMs >= 0 && heard;
    std::printf("result=%s\n", ok ? "PASS" : "FAIL");
    return ok ? 0 : 1;
}
