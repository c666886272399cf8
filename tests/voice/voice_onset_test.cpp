// The voice-onset detector on made signals: a voiced sound (a harmonic tone
// with a short attack, as a vowel) placed at a known sample in room noise.
#include "voice/voice_onset.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <complex>
#include <cstdint>
#include <numbers>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using zor::voice::FindVoiceOnset;

constexpr int kRate = 16000;
constexpr double kTolerance = 0.030;

enum class Noise { White, Pink, Brown, Hum };

std::string Name(Noise noise) {
    switch (noise) {
        case Noise::White: return "white";
        case Noise::Pink: return "pink";
        case Noise::Brown: return "brown";
        case Noise::Hum: return "hum";
    }
    return "?";
}

// A recording under construction, in floating point until it is rounded to 16 bits.
struct Clip {
    int rate;
    std::vector<double> samples;

    explicit Clip(double seconds, int sampleRate = kRate)
        : rate(sampleRate), samples(std::size_t(seconds * sampleRate), 0.0) {}

    // A vowel-like sound: harmonics of `f0` falling off with their number, a
    // 15 ms attack and a 30 ms release, at RMS `rms`.
    void AddVoice(double at, double seconds, double f0, double rms) {
        AddHarmonics(at, seconds, f0, rms, [seconds](double t) { return std::min({1.0, t / 0.015, (seconds - t) / 0.030}); });
    }

    // A room's echo of a voice that ends at `at`: its harmonics fading by
    // 60 dB in `decaySeconds`, starting at RMS `rms`.
    void AddEcho(double at, double seconds, double f0, double rms, double decaySeconds) {
        AddHarmonics(at, seconds, f0, rms, [decaySeconds](double t) { return std::pow(10.0, -3 * t / decaySeconds); });
    }

    // A fricative's hiss    // A fricative's hiss (s, f): white noise twice differenced, which leaves
    // mostly the top octaves, at RMS `rms`.
    void AddHiss(double at, double seconds, double rms, unsigned seed) {
        std::mt19937 random(seed);
        std::normal_distribution<double> normal(0.0, 1.0);
        const std::size_t start = std::size_t(at * rate);
        const std::size_t length = std::size_t(seconds * rate);
        double x1 = 0, x2 = 0;
        for (std::size_t i = 0; i < length && start + i < samples.size(); ++i) {
            const double x = normal(random);
            const double t = double(i) / rate;
            const double envelope = std::min({1.0, t / 0.010, (seconds - t) / 0.010});
            samples[start + i] += rms / std::sqrt(6.0) * envelope * (x - 2 * x1 + x2);
            x2 = x1;
            x1 = x;
        }
    }

    // Noise at RMS `rms` from `at` for `seconds`, or over the whole clip.
    void AddNoise(Noise kind, double rms, unsigned seed, double at = 0, double seconds = 1e9) {
        std::mt19937 random(seed);
        std::normal_distribution<double> normal(0.0, 1.0);
        const std::size_t start = std::size_t(at * rate);
        std::vector<double> noise(std::min(samples.size() - start, std::size_t(seconds * rate)));
        double brown = 0;
        std::array<double, 3> pink{};  // three one-pole filters whose sum falls by 3 dB an octave
        for (std::size_t i = 0; i < noise.size(); ++i) {
            const double t = double(i) / rate;
            switch (kind) {
                case Noise::White: noise[i] = normal(random); break;
                case Noise::Pink: {
                    const double white = normal(random);
                    pink = {0.99765 * pink[0] + 0.0990460 * white, 0.96300 * pink[1] + 0.2965164 * white,
                            0.57000 * pink[2] + 1.0526913 * white};
                    noise[i] = pink[0] + pink[1] + pink[2] + 0.1848 * white;
                    break;
                }
                case Noise::Brown: brown = 0.995 * brown + normal(random); noise[i] = brown; break;
                case Noise::Hum:
                    noise[i] = std::sin(2 * std::numbers::pi * 50 * t) +
                               0.3 * std::sin(2 * std::numbers::pi * 150 * t) + 0.05 * normal(random);
                    break;
            }
        }
        double sum = 0;
        for (double v : noise) sum += v * v;
        const double scale = rms / std::sqrt(sum / double(noise.size()));
        for (std::size_t i = 0; i < noise.size(); ++i) samples[start + i] += scale * noise[i];
    }

    // Harmonics of `f0` falling off with their number, at RMS `rms` under `envelope(t)`.
    template <typename Envelope>
    void AddHarmonics(double at, double seconds, double f0, double rms, Envelope envelope) {
        const std::size_t start = std::size_t(at * rate);
        const std::size_t length = std::size_t(seconds * rate);
        // Each harmonic as a phasor turned by its frequency every sample.
        std::vector<std::complex<double>> phasor, step;
        double norm = 0;
        for (int h = 1; h * f0 < 4000; ++h) {
            norm += 0.5 / (h * h);
            phasor.emplace_back(0.0, 1.0 / h);
            step.push_back(std::polar(1.0, 2 * std::numbers::pi * h * f0 / rate));
        }
        const double scale = rms / std::sqrt(norm);
        for (std::size_t i = 0; i < length && start + i < samples.size(); ++i) {
            double v = 0;
            for (std::size_t h = 0; h < phasor.size(); ++h) {
                v += phasor[h].real();
                phasor[h] *= step[h];
            }
            samples[start + i] += scale * envelope(double(i) / rate) * v;
        }
    }

    std::vector<std::int16_t> Pcm() const {
        std::vector<std::int16_t> out(samples.size());
        std::transform(samples.begin(), samples.end(), out.begin(), [](double v) {
            return std::int16_t(std::lround(std::clamp(v, -32768.0, 32767.0)));
        });
        return out;
    }
};

constexpr double kSpeechRms = 3000;  // about -21 dBFS, a child near the microphone

double NoiseRmsAt(double snrDb) { return kSpeechRms / std::pow(10.0, snrDb / 20); }

TEST(VoiceOnset, FindsNoVoiceInNoiseAloneOrSilence) {
    for (Noise kind : {Noise::White, Noise::Brown, Noise::Hum}) {
        for (double rms : {3.0, 100.0, 1000.0}) {
            Clip clip(3.0);
            clip.AddNoise(kind, rms, 7);
            EXPECT_FALSE(FindVoiceOnset(clip.Pcm(), kRate, 0.5)) << Name(kind) << " noise at RMS " << rms;
        }
    }
    const std::vector<std::int16_t> silence(3 * kRate, 0);
    EXPECT_FALSE(FindVoiceOnset(silence, kRate, 0.0));
    EXPECT_FALSE(FindVoiceOnset({}, kRate, 0.0));
    Clip muted(3.0);  // a muted microphone: a few units of sound in digital silence
    muted.AddVoice(1.0, 0.5, 200, 6.0);
    EXPECT_FALSE(FindVoiceOnset(muted.Pcm(), kRate, 0.5));

    Clip clip(2.0);
    clip.AddVoice(0.5, 0.4, 180, kSpeechRms);
    EXPECT_FALSE(FindVoiceOnset(clip.Pcm(), kRate, 2.5)) << "search start after the end";
}

TEST(VoiceOnset, IgnoresThePromptBeforeTheSearchStartAndItsTail) {
    Clip promptOnly(3.0);
    promptOnly.AddVoice(0.1, 0.9, 120, 8000);
    promptOnly.AddNoise(Noise::White, NoiseRmsAt(20), 3);
    EXPECT_FALSE(FindVoiceOnset(promptOnly.Pcm(), kRate, 1.0));
    Clip promptToTheEnd(2.0);  // syllables to the end: never 100 ms quiet after the search start
    for (int syllable = 0; syllable < 10; ++syllable) promptToTheEnd.AddVoice(0.1 + 0.2 * syllable, 0.15, 120, 8000);
    promptToTheEnd.AddNoise(Noise::White, NoiseRmsAt(20), 3);
    EXPECT_FALSE(FindVoiceOnset(promptToTheEnd.Pcm(), kRate, 1.0));

    Clip answered(3.0);
    answered.AddVoice(0.1, 0.9, 120, 8000);
    answered.AddVoice(1.83, 0.4, 260, kSpeechRms);
    answered.AddNoise(Noise::White, NoiseRmsAt(20), 4);
    const auto onset = FindVoiceOnset(answered.Pcm(), kRate, 1.0);
    ASSERT_TRUE(onset);
    EXPECT_NEAR(*onset, 1.83, kTolerance);

    // The prompt still sounds 60 ms past the search start (the sound card's
    // latency): that is no answer; the answer after it is.
    Clip lateTail(3.0);
    lateTail.AddVoice(0.1, 0.96, 120, 8000);
    lateTail.AddVoice(1.6, 0.4, 260, kSpeechRms);
    lateTail.AddNoise(Noise::Brown, NoiseRmsAt(20), 5);
    const auto afterTail = FindVoiceOnset(lateTail.Pcm(), kRate, 1.0);
    ASSERT_TRUE(afterTail);
    EXPECT_NEAR(*afterTail, 1.6, kTolerance);

    // The prompt's last word ends in a plosive ("...dit"): its release comes
    // after the search start, 70 ms after the vowel, and is no answer.
    Clip finalPlosive(3.0);
    finalPlosive.AddVoice(0.1, 0.95, 120, 8000);
    finalPlosive.AddHiss(1.12, 0.08, 8000, 6);
    finalPlosive.AddVoice(1.7, 0.4, 260, kSpeechRms);
    finalPlosive.AddNoise(Noise::White, NoiseRmsAt(20), 7);
    const auto afterPlosive = FindVoiceOnset(finalPlosive.Pcm(), kRate, 1.0);
    ASSERT_TRUE(afterPlosive);
    EXPECT_NEAR(*afterPlosive, 1.7, kTolerance);
}

// The prompt's echo in the room fades by 60 dB in a second after it ends; the
// child begins to answer within it. The echo is no answer, and does not hide
// the answer, whether the search starts at the prompt's end or before it.
TEST(VoiceOnset, FindsAnAnswerThatBeginsInThePromptsEcho) {
    for (double searchFrom : {1.0, 0.9}) {
        Clip clip(3.0);
        clip.AddVoice(0.1, 0.9, 120, 8000);
        clip.AddEcho(1.0, 1.5, 120, 8000 / 2.0, 1.0);
        clip.AddVoice(1.25, 0.4, 260, kSpeechRms);
        clip.AddNoise(Noise::White, NoiseRmsAt(20), 8);
        const auto onset = FindVoiceOnset(clip.Pcm(), kRate, searchFrom);
        ASSERT_TRUE(onset) << "search from " << searchFrom;
        EXPECT_NEAR(*onset, 1.25, kTolerance) << "search from " << searchFrom;
    }
}

TEST(VoiceOnset, ClicksKnocksAndShortBurstsAreNoVoice) {
    Clip clip(3.0);
    clip.AddNoise(Noise::White, NoiseRmsAt(20), 11);
    for (int i = 0; i < 3; ++i) clip.samples[std::size_t(0.7 * kRate) + i] = 30000;  // a click
    for (std::size_t i = 0; i < 0.02 * kRate; ++i) {  // a knock: a decaying 20 ms thump
        clip.samples[std::size_t(1.2 * kRate) + i] +=
            20000 * std::exp(-double(i) / (0.004 * kRate)) * std::sin(2 * std::numbers::pi * 400 * i / kRate);
    }
    clip.AddVoice(1.8, 0.04, 200, kSpeechRms * 2);  // a 40 ms burst
    EXPECT_FALSE(FindVoiceOnset(clip.Pcm(), kRate, 0.5));

    clip.AddVoice(2.3, 0.5, 200, kSpeechRms);
    const auto onset = FindVoiceOnset(clip.Pcm(), kRate, 0.5);
    ASSERT_TRUE(onset);
    EXPECT_NEAR(*onset, 2.3, kTolerance);
}

// A word that begins with a soft fricative, 10 dB below its vowel, or with a
// fricative and a plosive's closure ("st..."), or with a faint f: the onset is
// the hiss, not the vowel, even in noise as loud as the hiss or louder.
TEST(VoiceOnset, FindsTheSoftFricativeBeforeTheVowel) {
    struct Word {
        const char* what;
        Noise noise;
        double hissSeconds;
        double hissRms;
        double vowelAt;  // after the hiss's start at 1.4 s
    };
    const Word words[] = {
        {"fricative in white noise", Noise::White, 0.12, kSpeechRms / 3, 0.12},
        {"fricative in rumble", Noise::Brown, 0.12, kSpeechRms / 3, 0.12},
        {"fricative and closure in white noise", Noise::White, 0.08, kSpeechRms / 3, 0.11},
        {"fricative and closure in rumble", Noise::Brown, 0.08, kSpeechRms / 3, 0.11},
        // Rumble far louder than this f over the whole spectrum: it stands out
        // only among the high frequencies.
        {"faint f, 26 dB below its vowel, in rumble", Noise::Brown, 0.06, kSpeechRms / 20, 0.06},
    };
    unsigned seed = 21;
    for (const Word& word : words) {
        Clip clip(3.0);
        clip.AddHiss(1.4, word.hissSeconds, word.hissRms, seed++);
        clip.AddVoice(1.4 + word.vowelAt, 0.3, 150, kSpeechRms);
        clip.AddNoise(word.noise, NoiseRmsAt(10), seed++);
        const auto onset = FindVoiceOnset(clip.Pcm(), kRate, 0.8);
        ASSERT_TRUE(onset) << word.what;
        EXPECT_NEAR(*onset, 1.4, kTolerance) << word.what;
    }
}

// An answer that begins with a breath or a plosive's burst as faint as the
// room's noise and with its spectrum ("h...", "p..."), 60 ms before the vowel,
// in noise 10 dB below the vowel: it raises the power in every band by half,
// in none enough to stand out alone. Over 40 such answers the onset is the
// burst in at least 34 (a rule that looks at one band at a time finds the
// vowel in about half of them).
TEST(VoiceOnset, FindsAFaintBurstThatRaisesEveryBandALittle) {
    int found = 0;
    for (Noise kind : {Noise::Pink, Noise::White}) {
        for (unsigned seed = 0; seed < 20; ++seed) {
            Clip clip(3.0);
            clip.AddNoise(kind, NoiseRmsAt(10), 100 + seed);
            clip.AddNoise(kind, 0.7 * NoiseRmsAt(10), 200 + seed, 1.4, 0.06);
            clip.AddVoice(1.46, 0.3, 150, kSpeechRms);
            const auto onset = FindVoiceOnset(clip.Pcm(), kRate, 0.8);
            ASSERT_TRUE(onset) << Name(kind) << " noise, seed " << seed;
            if (std::abs(*onset - 1.4) <= kTolerance) ++found;
        }
    }
    EXPECT_GE(found, 34);
}

// Random noise kinds and levels from 30 dB down to 10 dB SNR, random onsets,
// voices and search starts: the onset is always found within 30 ms.
TEST(VoiceOnset, FindsTheOnsetWithin30MsAtRandomNoiseLevels) {
    std::mt19937 random(20261210);
    std::uniform_real_distribution<double> snr(10, 30), searchFrom(0.2, 1.0), wait(0.2, 1.5),
        f0(90, 320), length(0.15, 0.8);
    for (int trial = 0; trial < 36; ++trial) {
        const Noise kind = std::array{Noise::White, Noise::Brown, Noise::Hum}[trial % 3];
        const double clipSnr = snr(random), start = searchFrom(random);
        const double at = start + wait(random);
        Clip clip(at + 1.5);
        clip.AddVoice(0.05, start - 0.1, 120, 6000);  // the prompt
        clip.AddVoice(at, length(random), f0(random), kSpeechRms);
        clip.AddNoise(kind, NoiseRmsAt(clipSnr), unsigned(trial));
        const auto onset = FindVoiceOnset(clip.Pcm(), kRate, start);
        ASSERT_TRUE(onset) << "trial " << trial << ": " << Name(kind) << " noise at " << clipSnr << " dB";
        EXPECT_NEAR(*onset, at, kTolerance) << "trial " << trial << ": " << Name(kind) << " noise at "
                                            << clipSnr << " dB";
    }
}

// In quiet noise the onset is exact to a few milliseconds wherever it falls
// within the 10 ms analysis frames.
TEST(VoiceOnset, OnsetIsExactToAFewMillisecondsInQuietNoise) {
    for (double offset : {0.0, 0.0023, 0.0051, 0.0078}) {
        Clip clip(2.5);
        clip.AddVoice(1.2 + offset, 0.4, 210, kSpeechRms);
        clip.AddNoise(Noise::White, NoiseRmsAt(30), 41);
        const auto onset = FindVoiceOnset(clip.Pcm(), kRate, 0.5);
        ASSERT_TRUE(onset);
        EXPECT_NEAR(*onset, 1.2 + offset, 0.004) << "offset " << offset;
    }
}

// Other sample rates than the recordings' 16 kHz: a fricative and its vowel.
TEST(VoiceOnset, FindsTheOnsetAtOtherSampleRates) {
    for (int rate : {8000, 22050, 48000}) {
        Clip clip(2.5, rate);
        clip.AddHiss(1.2, 0.1, kSpeechRms / 3, 51);
        clip.AddVoice(1.3, 0.3, 200, kSpeechRms);
        clip.AddNoise(Noise::Brown, NoiseRmsAt(20), 52);
        const auto onset = FindVoiceOnset(clip.Pcm(), rate, 0.5);
        ASSERT_TRUE(onset) << rate << " Hz";
        EXPECT_NEAR(*onset, 1.2, kTolerance) << rate << " Hz";
    }
}

TEST(VoiceOnset, RejectsAnUnsupportedSampleRate) {
    const std::vector<std::int16_t> samples(1000, 0);
    EXPECT_THROW(FindVoiceOnset(samples, 0, 0.0), std::invalid_argument);
    EXPECT_THROW(FindVoiceOnset(samples, 192000, 0.0), std::invalid_argument);
}

}  // namespace
