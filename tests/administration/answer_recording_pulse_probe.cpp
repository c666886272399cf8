// End-to-end check of the answer recordings on a real sound server: the
// program's screens run in-process on the real clock with the PulseAudio
// players and the PulseAudio recorder, whose microphone is the monitor of the
// server's null sink. A "child" speaks into the same sink: a playback stream
// of the probe carries the room's background noise, steady throughout, and
// during each item it mixes in a spoken answer clip at a chosen time after the
// stopwatch started.
// The clip's first sample is heard (reaches the sink) at the moment the
// stream's reported latency says, so each answer's true onset after the
// prompt's end is known to a few milliseconds.
//
// Checks per item: the recording exists, its length runs from the prompt's
// start to one second after the stop (within 25 ms), and the voice onset the
// correction screen shows (after the recording's prompt mark) lies within 30 ms
// of the true one for at least the share of a label's clips that the list asks
// for.
// Prints the distribution of the onset errors per label.
//
// Usage: answer_recording_pulse_probe NOISE CLIPS_LIST RESULTS_FILE [KEEP_FOLDER]
//   NOISE: the background noise, played over and over; CLIPS_LIST: lines
//   "<clip.wav> <label> <share>"; all 16 kHz mono 16-bit. A clip's sound
//   starts at its first sample and is made at the level its signal-to-noise
//   ratio asks; <share> (0..1) of the label's onsets must lie within 30 ms.
//   KEEP_FOLDER: each recording is copied there as <n>_<label>_<clip>.wav, to
//   study afterwards.
// Exit status: 0 all checks hold, 1 a check failed, 77 no sound server.
#include <pulse/error.h>
#include <pulse/simple.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <mutex>
#include <random>
#include <sstream>
#include <thread>

#include <QCoreApplication>

#include "event_loop.h"
#include "record/answer_recordings.h"
#include "record/subject_entry_screen.h"
#include "stopwatch_program.h"
#include "ui/pulse/pulse_recorder.h"
#include "ui/pulse/pulse_sound.h"
#include "ui/qt/clock_driver.h"
#include "ui/wav_pcm.h"

namespace fs = std::filesystem;
using namespace zor;

namespace {

constexpr int kRate = 16000;
constexpr int kBlock = kRate / 100;  // 10 ms
constexpr int kPromptMs = 200;
constexpr double kOnsetToleranceMs = 30;
constexpr int kLengthToleranceMs = 25;

std::vector<std::int16_t> readSamples(const fs::path& file) {
    const auto pcm = ui::readWavPcm(file.string());
    if (!pcm || pcm->channels != 1 || pcm->bitsPerSample != 16 || pcm->sampleRate != kRate)
        throw std::runtime_error("not a 16 kHz mono 16-bit WAV: " + file.string());
    std::vector<std::int16_t> out(pcm->data.size() / 2);
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] = std::int16_t(std::uint8_t(pcm->data[2 * i]) | std::uint8_t(pcm->data[2 * i + 1]) << 8);
    return out;
}

// The child's side: a playback stream fed in 10 ms blocks on its own thread,
// carrying the current noise, with a clip mixed in when one is asked for.
class Speaker {
  public:
    explicit Speaker(const ui::Clock& clock) : clock_(clock) {
        pa_sample_spec format{PA_SAMPLE_S16LE, kRate, 1};
        pa_buffer_attr attr{};
        attr.maxlength = std::uint32_t(-1);
        attr.tlength = kBlock * 2 * 4;  // about 40 ms ahead
        attr.prebuf = std::uint32_t(-1);
        attr.minreq = std::uint32_t(-1);
        int error = 0;
        stream_ = pa_simple_new(nullptr, "ZOR probe", PA_STREAM_PLAYBACK, nullptr, "kind", &format,
                                nullptr, &attr, &error);
        if (!stream_) throw std::runtime_error(std::string("speaker: ") + pa_strerror(error));
        thread_ = std::thread([this] { run(); });
    }
    ~Speaker() {
        stop_ = true;
        thread_.join();
        pa_simple_free(stream_);
    }
    void setNoise(std::vector<std::int16_t> noise) {
        std::lock_guard lock(mutex_);
        noise_ = std::move(noise);
    }
    // Mixes `clip` in from the next block on; the clip's first sample will be
    // heard at the time clipHeardMs() then returns.
    void say(std::vector<std::int16_t> clip) {
        std::lock_guard lock(mutex_);
        clip_ = std::move(clip);
        clipPos_ = 0;
        heardMs_.reset();
    }
    std::optional<double> clipHeardMs() {
        std::lock_guard lock(mutex_);
        return heardMs_;
    }

  private:
    void run() {
        std::vector<std::int16_t> block(kBlock);
        while (!stop_) {
            bool clipStarts = false;
            {
                std::lock_guard lock(mutex_);
                for (int i = 0; i < kBlock; ++i) {
                    int v = noise_.empty() ? 0 : noise_[noisePos_++ % noise_.size()];
                    if (clipPos_ < clip_.size()) {
                        if (clipPos_ == 0 && i == 0) clipStarts = true;
                        v += clip_[clipPos_++];
                    }
                    block[std::size_t(i)] = std::int16_t(std::clamp(v, -32768, 32767));
                }
            }
            int error = 0;
            if (pa_simple_write(stream_, block.data(), block.size() * 2, &error) < 0) return;
            if (clipStarts) {
                // The block just written ends `latency` from now; it started one block before.
                const pa_usec_t latency = pa_simple_get_latency(stream_, &error);
                const double heard = double(clock_.nowMs()) + double(latency) / 1000.0 - 10.0;
                std::lock_guard lock(mutex_);
                heardMs_ = heard;
            }
        }
    }

    const ui::Clock& clock_;
    pa_simple* stream_ = nullptr;
    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::vector<std::int16_t> noise_;
    std::size_t noisePos_ = 0;
    std::vector<std::int16_t> clip_;
    std::size_t clipPos_ = 0;
    std::optional<double> heardMs_;
};

struct Clip {
    fs::path file;
    std::string label;
    double share = 1;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4 && argc != 5) {
        std::fprintf(stderr, "usage: answer_recording_pulse_probe NOISE CLIPS_LIST RESULTS_FILE [KEEP_FOLDER]\n");
        return 2;
    }
    std::vector<Clip> clips;
    {
        std::ifstream list(argv[2]);
        for (std::string line; std::getline(list, line);) {
            std::istringstream fields(line);
            Clip clip;
            std::string file;
            if (fields >> file >> clip.label >> clip.share) clips.push_back({file, clip.label, clip.share});
        }
    }
    if (clips.empty()) {
        std::fprintf(stderr, "no clips\n");
        return 2;
    }

    ui::SystemClock clock;
    ui::pulse::PulseSoundSystem sounds(clock);
    if (!sounds.connected()) {
        std::fprintf(stderr, "no sound server\n");
        return 77;
    }
    ui::pulse::PulseAnswerRecorder recorder(clock);
    if (const auto problem = recorder.microphoneProblem()) {
        std::fprintf(stderr, "no microphone: %s\n", problem->c_str());
        return 1;
    }

    QCoreApplication qapp(argc, argv);
    ui::qt::ClockDriver driver(clock);
    bench::StopwatchProgram program(clock, sounds, kPromptMs);
    program.app().setRecorder(recorder);
    program.startAdministration(true);
    auto& app = program.app();
    auto& entry = program.entry();
    auto& test = program.swapTest();
    const fs::path data = program.dataFolder();
    const fs::path folder = record::RecordingsFolder(data, entry.Afname.AfnameKey);
    const auto runFor = [](int ms) { bench::runEventsFor(ms); };
    const auto runUntil = [](const std::function<bool()>& condition) {
        bench::runEventsUntil(condition);
    };

    Speaker speaker(clock);
    speaker.setNoise(readSamples(argv[1]));
    // An idle null sink renders far ahead; under the steady noise it settles
    // to its real latency, which the speaker's heard times rely on.
    runFor(2500);
    std::mt19937 random(16);
    std::uniform_int_distribution<int> delayMs(150, 450);
    std::ofstream results(argv[3]);
    results << "clip label item delay_ms true_onset_ms detected_onset_ms error_ms length_ms "
               "expected_length_ms\n";
    std::map<std::string, std::vector<double>> errors;
    std::map<std::string, double> requiredShare;
    for (const Clip& clip : clips) requiredShare[clip.label] = clip.share;
    int failures = 0;
    struct Pending {
        std::size_t clip;
        int item;
        double trueOnsetMs;
        std::int64_t expectedLengthMs;
        int delay;
    };
    std::vector<Pending> round;
    const std::optional<fs::path> keep = argc == 5 ? std::optional<fs::path>(argv[4]) : std::nullopt;
    if (keep) fs::create_directories(*keep);
    const auto checkRound = [&] {
        entry.Answers.end();  // the last takes are written
        entry.Answers.begin(data);
        for (const Pending& p : round) {
            const fs::path file = folder / record::AnswerFileName(record::Subtest::FV, p.item);
            const auto answer = record::ReadAnswerRecording(file);
            if (keep && fs::exists(file))
                fs::copy_file(file, *keep / (std::to_string(p.clip + 1) + "_" + clips[p.clip].label + "_" +
                                             clips[p.clip].file.filename().string()),
                              fs::copy_options::overwrite_existing);
            if (!answer || !answer->promptEndSample) {
                std::fprintf(stderr, "%s: no recording with a prompt mark\n", file.c_str());
                ++failures;
                continue;
            }
            // The onset the correction screen shows.
            const auto onset = record::VoiceOnsetAfterPrompt(*answer);
            const double lengthMs = double(answer->samples.size()) * 1000 / kRate;
            const double detected = onset ? *onset * 1000 : -1;
            const double error = onset ? detected - p.trueOnsetMs : 1e9;
            results << clips[p.clip].file.filename().string() << " " << clips[p.clip].label << " "
                    << p.item << " " << p.delay << " " << p.trueOnsetMs << " " << detected << " "
                    << error << " " << lengthMs << " " << p.expectedLengthMs << "\n";
            errors[clips[p.clip].label].push_back(error);
            if (std::fabs(lengthMs - double(p.expectedLengthMs)) > kLengthToleranceMs) {
                std::fprintf(stderr, "%s: %.0f ms long, expected %lld\n", file.c_str(), lengthMs,
                             (long long)p.expectedLengthMs);
                ++failures;
            }
        }
        round.clear();
    };

    for (std::size_t c = 0; c < clips.size(); ++c) {
        if (entry.Afname.CurrentStepFV > administration::TFVtfase::kItems) checkRound();
        program.offerNextItem();
        const int item = entry.Afname.CurrentStepFV;
        const std::vector<std::int16_t> clip = readSamples(clips[c].file);
        const std::int64_t promptStartMs = clock.nowMs();
        app.keyPress(U' ');
        runUntil([&] { return test.Chrono.ChronoOn; });
        const std::int64_t stopwatchStartMs = clock.nowMs();
        const int delay = delayMs(random);
        runFor(delay);
        speaker.say(clip);
        runUntil([&] { return speaker.clipHeardMs().has_value(); });
        const double trueOnsetMs = *speaker.clipHeardMs() - double(stopwatchStartMs);
        runFor(int(clip.size() * 1000 / kRate) + 60);
        const std::int64_t stopMs = clock.nowMs();
        app.keyPress(U' ');
        app.keyPress(U'g');
        round.push_back({c, item, trueOnsetMs, stopMs + 1000 - promptStartMs, delay});
    }
    checkRound();
    speaker.setNoise({});

    for (auto& [label, values] : errors) {
        std::sort(values.begin(), values.end());
        const auto at = [&](double q) { return values[std::size_t(q * double(values.size() - 1))]; };
        const auto within = std::count_if(values.begin(), values.end(),
                                          [](double e) { return std::fabs(e) <= kOnsetToleranceMs; });
        std::printf("onset error (ms) %-10s n %3zu  min %7.1f  p10 %7.1f  median %7.1f  p90 %7.1f  "
                    "max %7.1f  within 30 ms: %td (required %.0f %%)\n",
                    label.c_str(), values.size(), values.front(), at(0.1), at(0.5), at(0.9),
                    values.back(), within, requiredShare[label] * 100);
        if (double(within) < requiredShare[label] * double(values.size())) ++failures;
    }
    if (!program.dialogs().messages.empty())
        for (const auto& m : program.dialogs().messages) {
            std::fprintf(stderr, "message: %s\n", m.text.c_str());
            ++failures;
        }
    std::printf("%zu clips, %d failed checks\n", clips.size(), failures);
    return failures == 0 ? 0 : 1;
}
