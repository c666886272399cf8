// Times the stopwatch of the swap test screen on the real clock, with the
// screens' timers on Qt's event loop as in the program. For each run an item
// prompt (a tone of known length) plays, the bench waits for the stopwatch to
// start, "answers" after a known time and stops it by the space key. It
// reports the distribution of
//   - the start lag: stopwatch start minus the prompt's true end. With the
//     silent players that is the end the player keeps; with the sound server's players it
//     is the last audible sample of the prompt on the output's monitor, read
//     through the client library. The screen polls the player every 100 ms and starts
//     the stopwatch on the second poll that finds it stopped: goal 100..200 ms;
//   - the stored time minus the true answer time, and how many stored times
//     are more than one tenth off the true time rounded as the screen rounds.
// Usage: stopwatch_bench [--runs N] [--real MONITOR-SOURCE] [--raw FILE]
//   --real  play on the sound server's players (default: silent players)
//   --raw   also write one line per run to FILE
#include <QGuiApplication>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "administration/stopwatch.h"
#include "event_loop.h"
#include "observed_sounds.h"
#include "pulse_monitor.h"
#include "stopwatch_program.h"
#include "ui/pulse/pulse_sound.h"
#include "ui/qt/clock_driver.h"
#include "ui/silent_sound.h"

using namespace zor;

namespace {

constexpr int kPromptMs = 300;
constexpr int kSettleMs = 250;  // between a mark and the next item
constexpr double kPollLagMinMs = 100;
constexpr double kPollLagMaxMs = 200;

struct Options {
    int runs = 1000;
    std::optional<std::string> monitorSource;
    std::optional<std::string> rawFile;
};

Options parse(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (!std::strcmp(argv[i], "--runs") && hasValue) {
            o.runs = std::atoi(argv[++i]);
        } else if (!std::strcmp(argv[i], "--real") && hasValue) {
            o.monitorSource = argv[++i];
        } else if (!std::strcmp(argv[i], "--raw") && hasValue) {
            o.rawFile = argv[++i];
        } else {
            std::fprintf(
                stderr, "usage: stopwatch_bench [--runs N] [--real MONITOR-SOURCE] [--raw FILE]\n");
            std::exit(2);
        }
    }
    if (o.runs < 1) o.runs = 1;
    return o;
}

struct Goal {
    double low, high;
};

// The distribution of the values, and how many lie outside the goal.
void print(const char* what, std::vector<double> v, std::optional<Goal> goal = std::nullopt) {
    if (v.empty()) {
        std::printf("%-42s no values\n", what);
        return;
    }
    std::sort(v.begin(), v.end());
    auto at = [&](double q) { return v[static_cast<std::size_t>(q * double(v.size() - 1))]; };
    std::printf("%-42s n %4zu  min %7.1f  median %7.1f  p90 %7.1f  p99 %7.1f  max %7.1f", what,
                v.size(), v.front(), at(0.5), at(0.9), at(0.99), v.back());
    if (goal) {
        const auto outside = std::count_if(
            v.begin(), v.end(), [&](double x) { return x < goal->low || x > goal->high; });
        std::printf("  outside %g..%g: %td", goal->low, goal->high, outside);
    }
    std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
    const Options options = parse(argc, argv);
    QGuiApplication qapp(argc, argv);
    ui::SystemClock clock;
    ui::SilentSoundSystem silent(clock);
    std::unique_ptr<ui::pulse::PulseSoundSystem> realSounds;
    std::unique_ptr<bench::MonitorReader> monitor;
    if (options.monitorSource) {
        realSounds = std::make_unique<ui::pulse::PulseSoundSystem>(clock);
        if (!realSounds->connected()) {
            std::fprintf(stderr, "no sound server\n");
            return 3;
        }
        monitor = std::make_unique<bench::MonitorReader>(*options.monitorSource);
        monitor->waitUntilSteady();
    }
    bench::ObservedSounds sounds(realSounds ? static_cast<ui::SoundSystem&>(*realSounds) : silent);
    ui::qt::ClockDriver driver(clock);
    bench::StopwatchProgram program(clock, sounds, kPromptMs);
    program.startAdministration();
    auto& test = program.swapTest();

    std::FILE* raw = options.rawFile ? std::fopen(options.rawFile->c_str(), "w") : nullptr;
    if (raw)
        std::fprintf(raw,
                     "run start_lag_ms playing_seen_to_end_ms end_to_stopped_seen_ms "
                     "stopped_seen_to_start_ms answer_ms stored_tenths true_tenths\n");
    std::mt19937 random(20110305);
    std::uniform_int_distribution<int> answerMs(150, 650);
    std::vector<double> startLagMs, playingToEndMs, endToSeenMs, pollIntervalMs, seenToStartMs,
        storedMinusTrueTenths;
    int unheard = 0;
    int offTheDesign = 0;
    for (int run = 0; run < options.runs; ++run) {
        program.offerNextItem();
        if (monitor) monitor->forgetHeard();
        program.app().keyPress(U' ');
        bench::runEventsUntil([&] { return test.Chrono.ChronoOn; });
        const std::int64_t startedNs = bench::nowNs();

        const int answer = answerMs(random);
        std::int64_t promptEndNs = 0;
        std::int64_t answeredNs = 0;
        bench::ObservedSounds::Observation seen;
        QTimer::singleShot(answer, Qt::PreciseTimer, [&] {
            // Up to the answer only the prompt (and the click before it) has
            // sounded; the stop sound follows on the prompt's player. A real
            // prompt ends with its last audible sample, a silent one where
            // its player says.
            if (monitor) {
                promptEndNs = monitor->lastAudibleNs();
            } else {
                const auto& prompt = silent.plays().back();
                promptEndNs = (prompt.startMs + prompt.durationMs) * 1'000'000;
            }
            seen = sounds.observed(bench::StopwatchProgram::kPromptPlayer);
            answeredNs = bench::nowNs();
            program.app().keyPress(U' ');
        });
        bench::runEventsUntil([&] { return answeredNs != 0; });

        const double trueSeconds = double(answeredNs - startedNs) / 1e9;
        const double stored = std::stod(test.TimeText);
        storedMinusTrueTenths.push_back(stored - trueSeconds * 10);
        if (std::fabs(stored - std::stod(administration::StoredTimeText(trueSeconds))) > 1)
            ++offTheDesign;

        if (promptEndNs == 0 || seen.stoppedSeenNs == 0 || seen.lastPlayingSeenNs == 0) {
            ++unheard;
        } else {
            startLagMs.push_back(double(startedNs - promptEndNs) / 1e6);
            playingToEndMs.push_back(double(promptEndNs - seen.lastPlayingSeenNs) / 1e6);
            endToSeenMs.push_back(double(seen.stoppedSeenNs - promptEndNs) / 1e6);
            pollIntervalMs.push_back(double(seen.stoppedSeenNs - seen.lastPlayingSeenNs) / 1e6);
            seenToStartMs.push_back(double(startedNs - seen.stoppedSeenNs) / 1e6);
            if (raw)
                std::fprintf(raw, "%d %.2f %.2f %.2f %.2f %d %s %.3f\n", run, startLagMs.back(),
                             playingToEndMs.back(), endToSeenMs.back(), seenToStartMs.back(),
                             answer, test.TimeText.c_str(), trueSeconds * 10);
        }
        program.app().keyPress(run % 2 ? U'g' : U'f');
        bench::runEventsFor(kSettleMs);
    }
    if (raw) std::fclose(raw);

    std::printf("stopwatch runs: %d, %s players (prompt %d ms, answers 150..650 ms, real clock)\n",
                options.runs, monitor ? "sound server's" : "silent", kPromptMs);
    print("start lag after prompt end (ms)", startLagMs, Goal{kPollLagMinMs, kPollLagMaxMs});
    // The lag is the poll interval around the end, less the time from the
    // last poll reading playing to the end (negative when the player reported
    // the end late), plus the next poll interval, which starts the stopwatch.
    // A poll interval is 100 ms plus the timer's wake-up delay.
    print("  last poll reading playing to end (ms)", playingToEndMs);
    print("  prompt end to poll reading Stopped (ms)", endToSeenMs);
    print("  poll interval around the end (ms)", pollIntervalMs);
    print("  poll reading Stopped to start (ms)", seenToStartMs);
    print("stored minus true time (tenths)", storedMinusTrueTenths, Goal{-1, 1});
    std::printf("stored times more than a tenth off the rounded true time: %d of %d\n",
                offTheDesign, options.runs);
    if (unheard) std::printf("runs without a measurable prompt end: %d\n", unheard);
    return 0;
}
