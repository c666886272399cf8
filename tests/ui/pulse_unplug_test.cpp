// Lost outputs on a real sound server (driven by pulse_unplug_test.sh, which
// starts a private server with two null sinks, the first the default):
//   1. the default sink's module is unloaded while a prompt plays: the
//      server moves the sound to the other sink; the prompt still ends on
//      its timing (no hang, not before its duration), the loss is reported
//      once, and the next prompt is heard on the new default sink;
//   2. the last sink goes too: the stream is killed; the prompt ends as
//      the silent player times it, the loss is reported once, and later
//      prompts are timed silently without further reports.
// Usage: pulse_unplug_test FIRST-MODULE SECOND-MODULE long.wav next.wav
// Exit status 0 when every check holds, 1 otherwise.
#include <pulse/error.h>
#include <pulse/simple.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "ui/clock.h"
#include "ui/pulse/pulse_sound.h"
#include "ui/wav_pcm.h"

namespace {

using namespace std::chrono;
using zor::ui::PlayerMode;
using zor::ui::SoundPlayer;

int failures = 0;

void check(bool ok, const std::string& what) {
    std::printf("%s: %s\n", ok ? "ok" : "FAILED", what.c_str());
    if (!ok) ++failures;
}

void waitMs(int ms) { std::this_thread::sleep_for(milliseconds(ms)); }

long long msSince(steady_clock::time_point start) {
    return duration_cast<milliseconds>(steady_clock::now() - start).count();
}

// Polls until Stopped, at most `limitMs` after `start`; the time from
// `start`, or -1 when the player never stopped.
long long stoppedAfter(SoundPlayer& player, steady_clock::time_point start, long long limitMs) {
    while (player.mode() != PlayerMode::Stopped) {
        if (msSince(start) > limitMs) return -1;
        waitMs(1);
    }
    return msSince(start);
}

// Records a sink's monitor on a thread of its own and tells whether anything
// louder than about -41 dBFS came through.
class MonitorListener {
  public:
    explicit MonitorListener(const std::string& source) {
        const pa_sample_spec format{PA_SAMPLE_S16LE, 48000, 1};
        pa_buffer_attr attr{std::uint32_t(-1), std::uint32_t(-1), std::uint32_t(-1),
                            std::uint32_t(-1), 960 * 2};
        int error = 0;
        simple_ = pa_simple_new(nullptr, "zor-unplug-test", PA_STREAM_RECORD, source.c_str(),
                                "monitor", &format, nullptr, &attr, &error);
        if (!simple_) {
            std::printf("cannot record %s: %s\n", source.c_str(), pa_strerror(error));
            return;
        }
        thread_ = std::thread([this] {
            std::vector<std::int16_t> buffer(960);
            int error = 0;
            while (running_ &&
                   pa_simple_read(simple_, buffer.data(), buffer.size() * 2, &error) == 0) {
                for (std::int16_t sample : buffer)
                    if (std::abs(int(sample)) > 300) heard_ = true;
            }
        });
    }
    ~MonitorListener() {
        running_ = false;
        if (thread_.joinable()) thread_.join();
        if (simple_) pa_simple_free(simple_);
    }
    bool heard() const { return heard_; }
    void forget() { heard_ = false; }

  private:
    pa_simple* simple_ = nullptr;
    std::atomic<bool> running_{true};
    std::atomic<bool> heard_{false};
    std::thread thread_;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr,
                     "usage: pulse_unplug_test FIRST-MODULE SECOND-MODULE long.wav next.wav\n");
        return 2;
    }
    const std::string firstModule = argv[1], secondModule = argv[2];
    const std::string longFile = argv[3], nextFile = argv[4];
    const long long longMs = zor::ui::wavDurationMs(longFile).value_or(0);
    const long long nextMs = zor::ui::wavDurationMs(nextFile).value_or(0);

    zor::ui::SystemClock clock;
    std::vector<std::string> log;
    std::mutex logLock;
    zor::ui::pulse::PulseSoundSystem::Options options;
    options.log = [&](const std::string& line) {
        std::lock_guard lock(logLock);
        std::printf("log: %s\n", line.c_str());
        log.push_back(line);
    };
    // ZOR_TEST_TIMING=1: every 50th reading of the server's timing too.
    int timingLines = 0;
    if (std::getenv("ZOR_TEST_TIMING"))
        options.timingLog = [&](const std::string& line) {
            if (timingLines++ % 50 == 0 || line.rfind("position", 0) != 0)
                std::printf("timing: %s\n", line.c_str());
        };
    zor::ui::pulse::PulseSoundSystem sounds(clock, options);
    check(sounds.connected(), "the player reaches the sound server");
    auto player = sounds.createPlayer("MP1");
    // Both sinks' monitors run from the start, as outputs in use would.
    MonitorListener first("zor_null.monitor");
    MonitorListener second("zor_null2.monitor");
    // An idle null sink renders two seconds ahead and takes a lower latency
    // only after that block: until then a new sound would wait.
    waitMs(2100);

    // 1. The default output goes away under a playing prompt; another remains.
    player->setFileName(longFile);
    player->open();
    auto start = steady_clock::now();
    player->play();
    waitMs(500);
    second.forget();
    check(std::system(("pactl unload-module " + firstModule).c_str()) == 0,
          "the default sink is removed while the prompt plays");
    long long stopped = stoppedAfter(*player, start, longMs + 3000);
    std::printf("prompt of %lld ms moved to the other sink, stopped after %lld ms\n", longMs,
                stopped);
    // The recording ends in 40 ms of silence, which the end does not wait for.
    check(stopped >= longMs - 100 && stopped <= longMs + 500,
          "the moved prompt ends on its timing");
    check(sounds.takeOutputLost(), "the loss is reported");
    check(!sounds.takeOutputLost(), "once");
    check(second.heard(), "the rest of the prompt sounds on the other sink");

    waitMs(300);
    second.forget();
    const auto startedBefore = sounds.soundsStarted();
    const std::size_t logBefore = log.size();
    player->setFileName(nextFile);
    player->open();
    start = steady_clock::now();
    player->play();
    stopped = stoppedAfter(*player, start, nextMs + 3000);
    waitMs(300);
    check(stopped >= 0 && sounds.soundsStarted() == startedBefore + 1,
          "the next prompt plays and ends");
    check(second.heard(), "the next prompt is heard on the new default sink");
    check(!sounds.takeOutputLost() && log.size() == logBefore, "without a further report");

    // 2. The last output goes away: the stream is killed.
    player->setFileName(longFile);
    player->open();
    start = steady_clock::now();
    player->play();
    waitMs(500);
    const std::size_t logBeforeKill = log.size();
    check(std::system(("pactl unload-module " + secondModule).c_str()) == 0,
          "the last sink is removed while the prompt plays");
    stopped = stoppedAfter(*player, start, longMs + 3000);
    std::printf("prompt of %lld ms without any sink, stopped after %lld ms\n", longMs, stopped);
    check(stopped >= longMs - 100 && stopped <= longMs + 300,
          "the killed prompt ends as the silent player times it");
    check(sounds.takeOutputLost(), "the loss is reported");
    for (int i = 0; i < 2; ++i) {
        player->setFileName(nextFile);
        player->open();
        start = steady_clock::now();
        player->play();
        stopped = stoppedAfter(*player, start, nextMs + 3000);
        check(stopped >= nextMs - 100 && stopped <= nextMs + 1100,
              "a later prompt is timed silently");
    }
    check(!sounds.takeOutputLost(), "later prompts report no further loss");
    check(log.size() == logBeforeKill + 1, "the log tells the loss once");
    std::printf("%s\n", failures ? "FAIL" : "PASS");
    return failures ? 1 : 0;
}
