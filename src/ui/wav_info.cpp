#include "ui/wav_info.h"

#include <array>
#include <cstring>
#include <fstream>

namespace zor::ui {

namespace {
std::uint32_t le32(const unsigned char* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}
}  // namespace

std::optional<std::int64_t> wavDurationMs(const std::string& nativePath) {
    std::ifstream in(nativePath, std::ios::binary);
    if (!in) return std::nullopt;
    std::array<unsigned char, 12> riff{};
    if (!in.read(reinterpret_cast<char*>(riff.data()), riff.size())) return std::nullopt;
    if (std::memcmp(riff.data(), "RIFF", 4) != 0 || std::memcmp(riff.data() + 8, "WAVE", 4) != 0)
        return std::nullopt;

    std::optional<std::uint32_t> byteRate;
    for (;;) {
        std::array<unsigned char, 8> header{};
        if (!in.read(reinterpret_cast<char*>(header.data()), header.size())) return std::nullopt;
        const std::uint32_t size = le32(header.data() + 4);
        if (std::memcmp(header.data(), "fmt ", 4) == 0) {
            if (size < 16) return std::nullopt;
            std::array<unsigned char, 16> fmt{};
            if (!in.read(reinterpret_cast<char*>(fmt.data()), fmt.size())) return std::nullopt;
            byteRate = le32(fmt.data() + 8);
            in.seekg(size - 16 + (size & 1), std::ios::cur);
        } else if (std::memcmp(header.data(), "data", 4) == 0) {
            if (!byteRate || *byteRate == 0) return std::nullopt;
            // Rounded up: a sound lasts until its last sample has played.
            return (std::int64_t(size) * 1000 + *byteRate - 1) / *byteRate;
        } else {
            in.seekg(std::streamoff(size) + (size & 1), std::ios::cur);
        }
        if (!in) return std::nullopt;
    }
}

}  // namespace zor::ui
