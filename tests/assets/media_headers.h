// Reads the few header fields that tell whether a GIF, JPEG or WAV file is
// what the program expects, without decoding the file.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace zor::assets_test {

struct PictureSize {
    int width = 0;
    int height = 0;
    int components = 0;  // colour components of a JPEG frame (3 for RGB); 0 for GIF
};

// Logical screen size of a GIF87a/GIF89a file; nullopt without a GIF signature.
std::optional<PictureSize> gifSize(std::string_view bytes);

// Frame size from the first start-of-frame segment of a JPEG file; nullopt when
// the file does not start with a JPEG signature, is cut short, or reaches its
// scan data without a frame header.
std::optional<PictureSize> jpegSize(std::string_view bytes);

struct WavFormat {
    int formatTag = 0;  // 1 = PCM
    int channels = 0;
    int sampleRate = 0;
    int bitsPerSample = 0;
    std::uint32_t dataBytes = 0;
    double seconds = 0.0;
};

// Format and length of a RIFF/WAVE file; nullopt when the RIFF structure is
// broken, a chunk runs past the end of the file, the "fmt " or "data" chunk is
// missing, or the format's byte rate and block size contradict each other.
std::optional<WavFormat> wavFormat(std::string_view bytes);

}  // namespace zor::assets_test
