#include "ui/wav_pcm.h"

#include <array>
#include <cstring>
#include <fstream>

namespace zor::ui {

namespace {
std::uint32_t le32(const unsigned char* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}
std::uint16_t le16(const unsigned char* p) { return std::uint16_t(p[0] | p[1] << 8); }

constexpr std::uint16_t kFormatPcm = 1;
constexpr std::uint16_t kFormatFloat = 3;
constexpr std::uint16_t kFormatExtensible = 0xFFFE;
}  // namespace

std::int64_t WavPcm::durationMs() const {
    const std::int64_t rate = bytesPerSecond();
    if (rate <= 0) return 0;
    return (std::int64_t(data.size()) * 1000 + rate - 1) / rate;
}

std::optional<WavPcm> readWavPcm(const std::string& nativePath) {
    std::ifstream in(nativePath, std::ios::binary);
    if (!in) return std::nullopt;
    std::array<unsigned char, 12> riff{};
    if (!in.read(reinterpret_cast<char*>(riff.data()), riff.size())) return std::nullopt;
    if (std::memcmp(riff.data(), "RIFF", 4) != 0 || std::memcmp(riff.data() + 8, "WAVE", 4) != 0)
        return std::nullopt;

    WavPcm pcm;
    bool haveFormat = false;
    for (;;) {
        std::array<unsigned char, 8> header{};
        if (!in.read(reinterpret_cast<char*>(header.data()), header.size())) return std::nullopt;
        const std::uint32_t size = le32(header.data() + 4);
        if (std::memcmp(header.data(), "fmt ", 4) == 0) {
            if (size < 16) return std::nullopt;
            std::vector<unsigned char> fmt(size);
            if (!in.read(reinterpret_cast<char*>(fmt.data()), size)) return std::nullopt;
            if (size & 1) in.seekg(1, std::ios::cur);
            std::uint16_t tag = le16(fmt.data());
            if (tag == kFormatExtensible && size >= 26) tag = le16(fmt.data() + 24);
            pcm.channels = le16(fmt.data() + 2);
            pcm.sampleRate = int(le32(fmt.data() + 4));
            pcm.bitsPerSample = le16(fmt.data() + 14);
            pcm.isFloat = tag == kFormatFloat;
            const bool intOk = tag == kFormatPcm && (pcm.bitsPerSample == 8 ||
                                                     pcm.bitsPerSample == 16 ||
                                                     pcm.bitsPerSample == 32);
            const bool floatOk = pcm.isFloat && pcm.bitsPerSample == 32;
            if (!(intOk || floatOk) || pcm.channels < 1 || pcm.sampleRate < 1) return std::nullopt;
            haveFormat = true;
        } else if (std::memcmp(header.data(), "cue ", 4) == 0 && size >= 28) {
            std::vector<unsigned char> cue(size);
            if (!in.read(reinterpret_cast<char*>(cue.data()), size)) return std::nullopt;
            if (size & 1) in.seekg(1, std::ios::cur);
            // The count, then per point: name, position, "data", chunk start,
            // block start, sample offset.
            if (le32(cue.data()) >= 1) pcm.cueFrame = le32(cue.data() + 4 + 20);
        } else if (std::memcmp(header.data(), "data", 4) == 0) {
            if (!haveFormat) return std::nullopt;
            pcm.data.resize(size);
            in.read(pcm.data.data(), size);
            // A file cut short keeps the samples it has, whole frames only.
            const std::size_t frame = std::size_t(pcm.channels) * (pcm.bitsPerSample / 8);
            pcm.data.resize(std::size_t(in.gcount()) / frame * frame);
            return pcm;
        } else {
            in.seekg(std::streamoff(size) + (size & 1), std::ios::cur);
        }
        if (!in) return std::nullopt;
    }
}

std::optional<std::int64_t> wavDurationMs(const std::string& nativePath) {
    const auto pcm = readWavPcm(nativePath);
    if (!pcm) return std::nullopt;
    return pcm->durationMs();
}

}  // namespace zor::ui
