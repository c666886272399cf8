#include "voice/voice_onset.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <iterator>
#include <numbers>
#include <stdexcept>
#include <string>
#include <vector>

namespace zor::voice {

namespace {

constexpr double kFrameSeconds = 0.010;
// The signal is split into three bands, each judged against its own noise
// floor: voicing and nasals, the upper formants, and the hiss of fricatives
// (s, f, ch). A sound that stands out in one band counts, so a soft fricative
// is not drowned by low rumble and a vowel not by hiss. Below the lowest band
// lie mains hum (50/60 Hz and its first harmonics) and rumble.
struct Band {
    double lowHz;
    double highHz;  // 0: up to the top of the signal
};
constexpr Band kBands[] = {{200, 1000}, {1000, 3000}, {3000, 0}};
constexpr std::size_t kBandCount = std::size(kBands);
// The filters start this long before the search start, so their start-up
// transient has died out where the frames begin.
constexpr double kFilterWarmupSeconds = 0.020;
// A band's noise floor: this fraction of the frames after the search start is
// quieter. The answer fills far less than the rest of the recording.
constexpr double kFloorPercentile = 0.10;
// How much a band's noise wavers from frame to frame (its spread) is measured
// on the frames at most this far above its floor.
constexpr double kNoiseFramesDb = 6.0;
// A frame is clearly voiced when a band lies this far above its floor: at
// least kVoicedMarginDb and kVoicedSpreads times the band's spread (dB).
constexpr double kVoicedMarginDb = 6.0;
constexpr double kVoicedSpreads = 6.5;
// The onset is traced back over frames this far above the floor.
constexpr double kRiseMarginDb = 2.0;
constexpr double kRiseSpreads = 4.0;
// Energies are in dB of the mean square in 16-bit units; no voice is quieter
// than this in a band (an RMS of 10, about -70 dBFS), so digital silence with
// a little dither is never "above its floor".
constexpr double kQuietestVoiceDb = 20.0;
constexpr double kQuietestRiseDb = 14.0;
// A voice: at least this many voiced frames, gaps of at most kMaxGapFrames
// between them (the closure of a plosive). Clicks, knocks and short bursts
// stay below it.
constexpr int kMinVoicedFrames = 6;
constexpr int kMaxGapFrames = 3;
// The rise before the first clearly voiced frame (a fricative or a cluster
// before the vowel) is at most this long; it may pause for up to
// kMaxRisePauseFrames (a plosive's closure, as in "st") where at least
// kMinRiseFrames risen frames come before the pause.
constexpr int kMaxRiseFrames = 30;
constexpr int kMaxRisePauseFrames = 8;
constexpr int kMinRiseFrames = 3;
// The onset is refined with windows of this length.
constexpr double kRefineSeconds = 0.0025;

// A second-order Butterworth section (bilinear transform); two in series make
// a fourth-order filter.
struct Biquad {
    double b0, b1, b2, a1, a2;
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;

    static Biquad Make(bool highPass, double cutoffHz, double sampleRate, double q) {
        const double w = 2 * std::numbers::pi * cutoffHz / sampleRate;
        const double alpha = std::sin(w) / (2 * q);
        const double cosw = std::cos(w);
        const double a0 = 1 + alpha;
        const double edge = highPass ? (1 + cosw) / 2 : (1 - cosw) / 2;
        return Biquad{edge / a0, (highPass ? -2 : 2) * edge / a0, edge / a0, -2 * cosw / a0,
                      (1 - alpha) / a0};
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

// The samples from `first` on, through the band's fourth-order Butterworth
// high-pass and, below the top of the signal, low-pass filters.
std::vector<float> BandPassed(std::span<const std::int16_t> samples, std::size_t warmupStart,
                              std::size_t first, int sampleRate, const Band& band) {
    constexpr double kQ1 = 0.5412, kQ2 = 1.3066;
    std::vector<Biquad> stages = {Biquad::Make(true, band.lowHz, sampleRate, kQ1),
                                  Biquad::Make(true, band.lowHz, sampleRate, kQ2)};
    if (band.highHz > 0 && band.highHz < 0.45 * sampleRate) {
        stages.push_back(Biquad::Make(false, band.highHz, sampleRate, kQ1));
        stages.push_back(Biquad::Make(false, band.highHz, sampleRate, kQ2));
    }
    std::vector<float> out;
    out.reserve(samples.size() - first);
    for (std::size_t i = warmupStart; i < samples.size(); ++i) {
        double y = samples[i];
        for (Biquad& stage : stages) y = stage.Step(y);
        if (i >= first) out.push_back(static_cast<float>(y));
    }
    return out;
}

double EnergyDb(std::span<const float> window) {
    double sum = 0;
    for (float v : window) sum += double(v) * v;
    return 10 * std::log10(sum / double(window.size()) + 1.0);
}

// A band's thresholds, in dB of frame energy.
struct Thresholds {
    double voiced;
    double rise;
};

// The thresholds of a band from its frame energies after the search start.
Thresholds BandThresholds(const std::vector<double>& energy) {
    std::vector<double> sorted = energy;
    const auto floorAt = sorted.begin() + std::ptrdiff_t(double(sorted.size() - 1) * kFloorPercentile);
    std::nth_element(sorted.begin(), floorAt, sorted.end());
    const double floor = *floorAt;
    // The spread: the median step between neighbouring noise frames, which for
    // steady noise is about its standard deviation, whatever the answer's length.
    std::vector<double> steps;
    for (std::size_t k = 1; k < energy.size(); ++k) {
        if (energy[k] < floor + kNoiseFramesDb && energy[k - 1] < floor + kNoiseFramesDb) {
            steps.push_back(std::abs(energy[k] - energy[k - 1]));
        }
    }
    double spread = 0;
    if (!steps.empty()) {
        const auto middle = steps.begin() + std::ptrdiff_t(steps.size() / 2);
        std::nth_element(steps.begin(), middle, steps.end());
        spread = *middle / 0.954;
    }
    return Thresholds{std::max(floor + std::max(kVoicedMarginDb, kVoicedSpreads * spread), kQuietestVoiceDb),
                      std::max(floor + std::max(kRiseMarginDb, kRiseSpreads * spread), kQuietestRiseDb)};
}

// Whether any band of samples [start, start + length) reaches its rise threshold.
bool Risen(const std::vector<std::vector<float>>& bands, const std::vector<Thresholds>& thresholds,
           std::size_t start, std::size_t length) {
    for (std::size_t b = 0; b < bands.size(); ++b) {
        if (EnergyDb(std::span<const float>(bands[b]).subspan(start, length)) >= thresholds[b].rise) return true;
    }
    return false;
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
    std::vector<std::vector<float>> bands;
    std::vector<Thresholds> thresholds;
    std::vector<char> voiced(frameCount, 0), risen(frameCount, 0);
    std::vector<double> energy(frameCount);
    for (const Band& band : kBands) {
        bands.push_back(BandPassed(samples, first > warmup ? first - warmup : 0, first, sampleRate, band));
        const std::span<const float> signal(bands.back());
        for (std::size_t k = 0; k < frameCount; ++k) {
            energy[k] = EnergyDb(signal.subspan(k * frameLength, frameLength));
        }
        thresholds.push_back(BandThresholds(energy));
        for (std::size_t k = 0; k < frameCount; ++k) {
            voiced[k] |= energy[k] >= thresholds.back().voiced;
            risen[k] |= energy[k] >= thresholds.back().rise;
        }
    }

    // Sound under way at the search start is the prompt's tail: wait for quiet.
    std::size_t begin = 0;
    while (begin < frameCount && voiced[begin]) ++begin;

    // The first run of voiced frames long enough to be a voice.
    std::optional<std::size_t> runStart;
    for (std::size_t k = begin; k < frameCount && !runStart; ++k) {
        if (!voiced[k]) continue;
        int voicedFrames = 0;
        int gap = 0;
        for (std::size_t j = k; j < frameCount && gap <= kMaxGapFrames; ++j) {
            if (voiced[j]) {
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

    // Back over the rise: the risen frames before it, across short pauses
    // that follow a few risen frames.
    std::size_t onsetFrame = *runStart;
    const std::size_t earliest =
        std::max(begin, *runStart > std::size_t(kMaxRiseFrames) ? *runStart - kMaxRiseFrames : 0);
    while (onsetFrame > earliest) {
        if (risen[onsetFrame - 1]) {
            --onsetFrame;
            continue;
        }
        std::size_t pause = 1;
        while (pause <= std::size_t(kMaxRisePauseFrames) && onsetFrame - pause > earliest && !risen[onsetFrame - pause - 1]) ++pause;
        std::size_t before = onsetFrame - pause;  // the frame after the pause's risen frames
        std::size_t risenBefore = 0;
        while (risenBefore < std::size_t(kMinRiseFrames) && before - risenBefore > earliest &&
               risen[before - risenBefore - 1]) {
            ++risenBefore;
        }
        if (pause > std::size_t(kMaxRisePauseFrames) || risenBefore < std::size_t(kMinRiseFrames)) break;
        onsetFrame = before - risenBefore;
    }

    // Within the frame before the rise and the first risen frame: the first
    // short window that, with the next one, stands out from the floor.
    const std::size_t refineLength =
        std::max<std::size_t>(1, std::size_t(std::lround(sampleRate * kRefineSeconds)));
    const std::size_t searchStart = onsetFrame > begin ? (onsetFrame - 1) * frameLength : onsetFrame * frameLength;
    const std::size_t searchEnd = (onsetFrame + 1) * frameLength;
    const std::size_t signalLength = bands.front().size();
    std::size_t onsetSample = onsetFrame * frameLength;
    for (std::size_t s = searchStart; s + 2 * refineLength <= signalLength && s < searchEnd; s += refineLength) {
        if (Risen(bands, thresholds, s, refineLength) && Risen(bands, thresholds, s + refineLength, refineLength)) {
            onsetSample = s;
            break;
        }
    }
    return double(first + onsetSample) / sampleRate;
}

}  // namespace zor::voice
