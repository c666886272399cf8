#include "voice/voice_onset.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <numbers>
#include <stdexcept>
#include <string>
#include <vector>

namespace zor::voice {

namespace {

constexpr double kFrameSeconds = 0.010;
// Below this the high-pass filter removes mains hum (50/60 Hz and its first
// harmonics) and rumble; a voice's energy lies above it.
constexpr double kHighPassHz = 200.0;
// The filter starts this long before the search start, so its own start-up
// transient has died out where the frames begin.
constexpr double kFilterWarmupSeconds = 0.020;
// The noise floor: this fraction of the frames after the search start is
// quieter. The answer fills far less than the rest of the recording.
constexpr double kFloorPercentile = 0.10;
// A frame is clearly voiced this far above the noise floor (dB of energy).
constexpr double kVoicedMarginDb = 9.0;
// The onset is traced back over frames this far above the floor.
constexpr double kRiseMarginDb = 3.0;
// Energies are in dB of the mean square in 16-bit units; no voice is quieter
// than this (an RMS of 10, about -70 dBFS), so digital silence with dither is
// never "above its floor".
constexpr double kQuietestVoiceDb = 20.0;
// A voice: at least this many voiced frames, gaps of at most kMaxGapFrames
// between them (the closure of a plosive). Clicks, knocks and short bursts
// stay below it.
constexpr int kMinVoicedFrames = 6;
constexpr int kMaxGapFrames = 3;
// The rise before the first clearly voiced frame is at most this long.
constexpr int kMaxRiseFrames = 15;
// The onset is refined with windows of this length.
constexpr double kRefineSeconds = 0.0025;

// A second-order Butterworth high-pass section (bilinear transform).
struct Biquad {
    double b0, b1, b2, a1, a2;
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;

    static Biquad HighPass(double cutoffHz, double sampleRate, double q) {
        const double w = 2 * std::numbers::pi * cutoffHz / sampleRate;
        const double alpha = std::sin(w) / (2 * q);
        const double cosw = std::cos(w);
        const double a0 = 1 + alpha;
        return Biquad{(1 + cosw) / 2 / a0, -(1 + cosw) / a0, (1 + cosw) / 2 / a0,
                      -2 * cosw / a0, (1 - alpha) / a0};
    }

    double Step(double x) {
        const double y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
        x2 = x1;
        x1 = x;
        y2 = y1;
        y1 = y;
        return y;
    }
};

// The samples from `first` on, through a fourth-order Butterworth high-pass.
std::vector<float> HighPassed(std::span<const std::int16_t> samples, std::size_t warmupStart,
                              std::size_t first, int sampleRate) {
    Biquad stage1 = Biquad::HighPass(kHighPassHz, sampleRate, 0.5412);
    Biquad stage2 = Biquad::HighPass(kHighPassHz, sampleRate, 1.3066);
    std::vector<float> out;
    out.reserve(samples.size() - first);
    for (std::size_t i = warmupStart; i < samples.size(); ++i) {
        const double y = stage2.Step(stage1.Step(samples[i]));
        if (i >= first) out.push_back(static_cast<float>(y));
    }
    return out;
}

double EnergyDb(std::span<const float> window) {
    double sum = 0;
    for (float v : window) sum += double(v) * v;
    return 10 * std::log10(sum / double(window.size()) + 1.0);
}

}  // namespace

std::optional<double> FindVoiceOnset(std::span<const std::int16_t> samples, int sampleRate,
                                     double searchFromSeconds) {
    if (sampleRate < 8000 || sampleRate > 48000) {
        throw std::invalid_argument("voice onset: sample rate " + std::to_string(sampleRate) +
                                    " Hz is outside 8000..48000");
    }
    const std::size_t frameLength = std::size_t(std::lround(sampleRate * kFrameSeconds));
    const double searchFrom = std::max(0.0, searchFromSeconds);
    if (!(searchFrom * sampleRate < double(samples.size()))) return std::nullopt;
    const std::size_t first = std::size_t(std::llround(searchFrom * sampleRate));
    const std::size_t frameCount = (samples.size() - first) / frameLength;
    if (frameCount < std::size_t(kMinVoicedFrames)) return std::nullopt;

    const std::size_t warmup = std::size_t(std::lround(sampleRate * kFilterWarmupSeconds));
    const std::vector<float> filtered =
        HighPassed(samples, first > warmup ? first - warmup : 0, first, sampleRate);
    const std::span<const float> signal(filtered);

    std::vector<double> energy(frameCount);
    for (std::size_t k = 0; k < frameCount; ++k) {
        energy[k] = EnergyDb(signal.subspan(k * frameLength, frameLength));
    }
    std::vector<double> sorted = energy;
    const auto floorAt = sorted.begin() + std::ptrdiff_t(double(frameCount - 1) * kFloorPercentile);
    std::nth_element(sorted.begin(), floorAt, sorted.end());
    const double floor = *floorAt;
    const double voiced = std::max(floor + kVoicedMarginDb, kQuietestVoiceDb);
    const double rise = std::max(floor + kRiseMarginDb, kQuietestVoiceDb - kVoicedMarginDb + kRiseMarginDb);

    // Sound under way at the search start is the prompt's tail: wait for quiet.
    std::size_t begin = 0;
    while (begin < frameCount && energy[begin] >= voiced) ++begin;

    // The first run of voiced frames long enough to be a voice.
    std::optional<std::size_t> runStart;
    for (std::size_t k = begin; k < frameCount && !runStart; ++k) {
        if (energy[k] < voiced) continue;
        int voicedFrames = 0;
        int gap = 0;
        for (std::size_t j = k; j < frameCount && gap <= kMaxGapFrames; ++j) {
            if (energy[j] >= voiced) {
                ++voicedFrames;
                gap = 0;
            } else {
                ++gap;
            }
            if (voicedFrames >= kMinVoicedFrames) {
                runStart = k;
                break;
            }
        }
    }
    if (!runStart) return std::nullopt;

    // Back over the rise: the frames just before it that stand out from the floor.
    std::size_t onsetFrame = *runStart;
    const std::size_t earliest =
        std::max(begin, *runStart > std::size_t(kMaxRiseFrames) ? *runStart - kMaxRiseFrames : 0);
    while (onsetFrame > earliest && energy[onsetFrame - 1] >= rise) --onsetFrame;

    // Within the frame before the rise and the first risen frame: the first
    // short window that, with the next one, stands out from the floor.
    const std::size_t refineLength =
        std::max<std::size_t>(1, std::size_t(std::lround(sampleRate * kRefineSeconds)));
    const std::size_t searchStart = onsetFrame > begin ? (onsetFrame - 1) * frameLength : onsetFrame * frameLength;
    const std::size_t searchEnd = (onsetFrame + 1) * frameLength;
    std::size_t onsetSample = onsetFrame * frameLength;
    for (std::size_t s = searchStart; s + 2 * refineLength <= signal.size() && s < searchEnd;
         s += refineLength) {
        if (EnergyDb(signal.subspan(s, refineLength)) >= rise &&
            EnergyDb(signal.subspan(s + refineLength, refineLength)) >= rise) {
            onsetSample = s;
            break;
        }
    }
    return double(first + onsetSample) / sampleRate;
}

}  // namespace zor::voice
