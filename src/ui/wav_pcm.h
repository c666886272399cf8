#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zor::ui {

// The samples of a RIFF WAVE file in a form an audio output can play.
struct WavPcm {
    int channels = 0;
    int sampleRate = 0;
    int bitsPerSample = 0;  // 8 (unsigned), 16 or 32 (signed), or 32 float
    bool isFloat = false;
    std::vector<char> data;
    // The first cue point of a `cue ` chunk before the data, as a frame
    // number; the program's answer recordings mark the prompt's end with it.
    std::optional<std::uint32_t> cueFrame;

    std::int64_t bytesPerSecond() const {
        return std::int64_t(channels) * sampleRate * (bitsPerSample / 8);
    }
    // Rounded up: a sound lasts until its last sample has played.
    std::int64_t durationMs() const;
};

// Reads uncompressed PCM (8, 16 or 32 bits) or 32-bit float WAV files;
// nothing when the file cannot be read or holds another kind of data.
std::optional<WavPcm> readWavPcm(const std::string& nativePath);

// The playing time of such a file in milliseconds; nothing when it cannot be read.
std::optional<std::int64_t> wavDurationMs(const std::string& nativePath);

}  // namespace zor::ui
