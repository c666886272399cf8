#pragma once

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace zor::ui::testing {

// Writes a silent 8 kHz 8-bit mono WAV file that plays for `durationMs`.
inline void writeWav(const std::string& path, int durationMs) {
    const std::uint32_t rate = 8000;
    const std::uint32_t dataSize = rate * durationMs / 1000;
    auto le32 = [](std::uint32_t v) {
        return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
    };
    auto le16 = [](std::uint16_t v) { return std::string{char(v), char(v >> 8)}; };
    std::string out = "RIFF" + le32(36 + dataSize) + "WAVE";
    out += "fmt " + le32(16) + le16(1) + le16(1) + le32(rate) + le32(rate) + le16(1) + le16(8);
    out += "data" + le32(dataSize) + std::string(dataSize, char(0x80));
    std::ofstream(path, std::ios::binary) << out;
}

}  // namespace zor::ui::testing
