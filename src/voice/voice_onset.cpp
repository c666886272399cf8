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
// The signal is split into three bands, each judged against its own noise
// floor: voicing and nasals, the upper formants, and the hiss of fricatives
// (s, f, ch). A sound that stands out in one band counts, so a soft fricative
// is not drowned by low rumble and a vowel not by hiss. Below the lowest band
// lie mains hum (50/60 Hz and its first harmonics) and rumble.
// Above 8 kHz there is little speech.
struct Band {
    double lowHz;
    double highHz;
};
constexpr Band kBands[] = {{200, 1000}, {1000, 3000}, {3000, 8000}};
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
// A plosive's burst or a soft fricative in loud noise spreads its energy over
// the bands, each too little to rise alone; a frame also rises when the bands
// together do. Each band counts the spreads by which it lies above both its
// floor and its background, less those by which steady noise does anyway (the
// floor is a low percentile: a normal spread's 10th percentile lies 1.28
// deviations below its mean); the frame rises when the counts reach
// kJointRiseSpreads together.
constexpr double kSteadyNoiseSpreads = 1.3;
constexpr double kJointRiseSpreads = 2.5;
// A spread is counted as at least this many dB, so a band of near silence
// does not rise by a fraction of a dB.
constexpr double kLeastSpreadDb = 0.5;
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
// A band's background at a frame: the quietest of this many frames before it.
constexpr int kBackgroundFrames = 20;
// A sound has faded once it lies this far below its loudest of the frames just before.
constexpr double kFadedDb = 6.0;
// The prompt's tail has died away when this many frames in a row are quiet:
// longer than the closure before a final plosive, shorter than anyone takes
// to begin an answer.
constexpr int kQuietFrames = 10;
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

// The samples from `first` on through the band's filters: a fourth-order
// Butterworth high-pass and, where the band ends below the top of the signal,
// a fourth-order Butterworth low-pass. The filters start at `warmupStart`.
std::vector<float> BandPassed(std::span<const std::int16_t> samples, std::size_t warmupStart,
                              std::size_t first, int sampleRate, const Band& band) {
    constexpr double kQ1 = 0.5412, kQ2 = 1.3066;
    std::vector<Biquad> stages = {Biquad::Make(true, band.lowHz, sampleRate, kQ1),
                                  Biquad::Make(true, band.lowHz, sampleRate, kQ2)};
    if (band.highHz < 0.45 * sampleRate) {
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

// The energy of a window in dB of its mean square (16-bit units); 0 for silence.
double EnergyDb(std::span<const float> window) {
    double sum = 0;
    for (float v : window) sum += double(v) * v;
    return 10 * std::log10(sum / double(window.size()) + 1.0);
}

// A band's noise floor and thresholds, in dB of energy.
struct Thresholds {
    double floor;
    double voiced;
    double rise;
    double spread;
};

// The thresholds of a band from its frame energies after the search start.
Thresholds BandThresholds(const std::vector<double>& energy) {
    std::vector<double> sorted = energy;
    const auto floorAt = sorted.begin() + std::ptrdiff_t(double(sorted.size() - 1) * kFloorPercentile);
    std::nth_element(sorted.begin(), floorAt, sorted.end());
    const double noiseFloor = *floorAt;
    // The spread: the median step between neighbouring noise frames, which for
    // steady noise is about its standard deviation (the median of |x - y| for
    // two normal draws is 0.954 of it), whatever the answer's length.
    std::vector<double> steps;
    for (std::size_t k = 1; k < energy.size(); ++k) {
        if (energy[k] < noiseFloor + kNoiseFramesDb && energy[k - 1] < noiseFloor + kNoiseFramesDb) {
            steps.push_back(std::abs(energy[k] - energy[k - 1]));
        }
    }
    double spread = 0;
    if (!steps.empty()) {
        const auto middle = steps.begin() + std::ptrdiff_t(steps.size() / 2);
        std::nth_element(steps.begin(), middle, steps.end());
        spread = *middle / 0.954;
    }
    return Thresholds{
        noiseFloor, std::max(noiseFloor + std::max(kVoicedMarginDb, kVoicedSpreads * spread), kQuietestVoiceDb),
        std::max(noiseFloor + std::max(kRiseMarginDb, kRiseSpreads * spread), kQuietestRiseDb), spread};
}

// The signal in each band from `origin` (a little before the search start) on,
// the band's thresholds, and per frame after the search start the band's
// background (the quietest of the frames just before) and whether some band
// is voiced or risen there: above its thresholds, and by as much above its
// background, so a fading sound (the echo of the prompt) neither is a voice
// nor rises, while a voice starting within it does. A frame has also risen
// when the bands together stand out (kJointRiseSpreads).
struct Analysis {
    std::size_t origin;
    std::vector<std::vector<float>> bands;
    std::vector<Thresholds> thresholds;
    std::vector<std::vector<double>> background;
    std::vector<bool> voiced;
    std::vector<bool> risen;
    // Every band is below its voiced threshold or has faded well below its
    // recent loudest.
    std::vector<bool> settled;

    // A band's rise threshold at frame `frame`.
    double RiseAt(std::size_t band, std::size_t frame) const {
        const Thresholds& t = thresholds[band];
        return std::max(t.rise, background[band][frame] + (t.rise - t.floor));
    }

    // Whether some band of samples [start, start + length) of the signal from
    // `origin` reaches its rise threshold at frame `frame`.
    bool Risen(std::size_t start, std::size_t length, std::size_t frame) const {
        for (std::size_t b = 0; b < bands.size(); ++b) {
            const std::span<const float> window = std::span<const float>(bands[b]).subspan(start, length);
            if (EnergyDb(window) >= RiseAt(b, frame)) return true;
        }
        return false;
    }
};

Analysis Analyse(std::span<const std::int16_t> samples, int sampleRate, std::size_t first,
                 std::size_t frameLength, std::size_t frameCount) {
    const std::size_t warmup = std::size_t(std::lround(sampleRate * kFilterWarmupSeconds));
    const std::size_t history = std::min<std::size_t>(kBackgroundFrames, first / frameLength);
    const std::size_t origin = first - history * frameLength;
    Analysis analysis{origin, {}, {}, {}, std::vector<bool>(frameCount), std::vector<bool>(frameCount),
                      std::vector<bool>(frameCount, true)};
    std::vector<double> energy(history + frameCount);
    std::vector<double> jointRise(frameCount);
    for (const Band& band : kBands) {
        const std::vector<float>& signal = analysis.bands.emplace_back(
            BandPassed(samples, origin > warmup ? origin - warmup : 0, origin, sampleRate, band));
        for (std::size_t k = 0; k < energy.size(); ++k) {
            energy[k] = EnergyDb(std::span<const float>(signal).subspan(k * frameLength, frameLength));
        }
        const std::vector<double> afterStart(energy.begin() + std::ptrdiff_t(history), energy.end());
        const Thresholds& t = analysis.thresholds.emplace_back(BandThresholds(afterStart));
        std::vector<double>& background = analysis.background.emplace_back(frameCount, t.floor);
        for (std::size_t k = 0; k < frameCount; ++k) {
            const std::size_t at = history + k;
            const double e = energy[at];
            // Of the frames just before, the quietest is the background and
            // the loudest tells whether this one is a sound fading away.
            const std::size_t from = at > std::size_t(kBackgroundFrames) ? at - kBackgroundFrames : 0;
            bool faded = false;
            if (from < at) {
                const auto [quietest, loudest] =
                    std::minmax_element(energy.begin() + std::ptrdiff_t(from), energy.begin() + std::ptrdiff_t(at));
                background[k] = *quietest;
                faded = e <= *loudest - kFadedDb;
            }
            const double aboveBackground = e - background[k];
            if (e >= t.voiced && aboveBackground >= t.voiced - t.floor) analysis.voiced[k] = true;
            if (e >= t.rise && aboveBackground >= t.rise - t.floor && !faded) analysis.risen[k] = true;
            if (e >= t.voiced && !faded) analysis.settled[k] = false;
            if (!faded && e >= kQuietestRiseDb) {
                const double spreads = std::min(e - t.floor, aboveBackground) / std::max(t.spread, kLeastSpreadDb);
                jointRise[k] += std::max(0.0, spreads - kSteadyNoiseSpreads);
            }
        }
    }
    for (std::size_t k = 0; k < frameCount; ++k) {
        if (jointRise[k] >= kJointRiseSpreads) analysis.risen[k] = true;
    }
    return analysis;
}

// The first frame, from `begin` on, of a run of voiced frames long enough to be a voice.
std::optional<std::size_t> FirstVoiceRun(const std::vector<bool>& voiced, std::size_t begin) {
    for (std::size_t k = begin; k < voiced.size(); ++k) {
        if (!voiced[k]) continue;
        int voicedFrames = 0;
        int gap = 0;
        for (std::size_t j = k; j < voiced.size() && gap <= kMaxGapFrames; ++j) {
            gap = voiced[j] ? 0 : gap + 1;
            if (voiced[j] && ++voicedFrames >= kMinVoicedFrames) return k;
        }
    }
    return std::nullopt;
}

// The first frame of the rise before the voice run starting at `runStart`:
// back over risen frames, and across a pause when risen frames come before it;
// never before `begin`.
std::size_t TraceRiseBack(const std::vector<bool>& risen, std::size_t runStart, std::size_t begin) {
    const std::size_t earliest =
        std::max(begin, runStart > std::size_t(kMaxRiseFrames) ? runStart - kMaxRiseFrames : 0);
    std::size_t onset = runStart;
    while (onset > earliest) {
        if (risen[onset - 1]) {
            --onset;
            continue;
        }
        std::size_t pause = 1;
        while (pause <= std::size_t(kMaxRisePauseFrames) && onset - pause > earliest && !risen[onset - pause - 1]) {
            ++pause;
        }
        const std::size_t pauseStart = onset - pause;
        std::size_t risenBefore = 0;
        while (risenBefore < std::size_t(kMinRiseFrames) && pauseStart - risenBefore > earliest &&
               risen[pauseStart - risenBefore - 1]) {
            ++risenBefore;
        }
        if (pause > std::size_t(kMaxRisePauseFrames) || risenBefore < std::size_t(kMinRiseFrames)) break;
        onset = pauseStart - risenBefore;
    }
    return onset;
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

    const Analysis analysis = Analyse(samples, sampleRate, first, frameLength, frameCount);

    // Sound under way at the search start is the prompt's tail (the sound
    // card's latency, the room's echo, a final plosive after its closure):
    // the search begins where it has died away, at the first stretch of
    // frames in which every band is quiet or fading and no voice starts.
    std::size_t begin = 0;
    std::size_t quiet = 0;
    while (begin < frameCount && quiet < std::size_t(kQuietFrames)) {
        quiet = analysis.settled[begin] && !analysis.voiced[begin] ? quiet + 1 : 0;
        ++begin;
    }
    if (quiet < std::size_t(kQuietFrames)) return std::nullopt;
    begin -= quiet;

    const std::optional<std::size_t> runStart = FirstVoiceRun(analysis.voiced, begin);
    if (!runStart) return std::nullopt;
    const std::size_t onsetFrame = TraceRiseBack(analysis.risen, *runStart, begin);

    // Within the frame before the rise and the first risen frame: the first
    // short window that, with the next one, reaches a band's rise threshold.
    const std::size_t refineLength = std::max<std::size_t>(1, std::size_t(std::lround(sampleRate * kRefineSeconds)));
    const std::size_t offset = first - analysis.origin;
    const std::size_t refineFrom = offset + (onsetFrame > begin ? onsetFrame - 1 : onsetFrame) * frameLength;
    const std::size_t refineTo = offset + (onsetFrame + 1) * frameLength;
    const std::size_t signalLength = analysis.bands.front().size();
    std::size_t onsetSample = first + onsetFrame * frameLength;
    for (std::size_t s = refineFrom; s < refineTo && s + 2 * refineLength <= signalLength; s += refineLength) {
        if (analysis.Risen(s, refineLength, onsetFrame) && analysis.Risen(s + refineLength, refineLength, onsetFrame)) {
            onsetSample = analysis.origin + s;
            break;
        }
    }
    return double(onsetSample) / sampleRate;
}

}  // namespace zor::voice
