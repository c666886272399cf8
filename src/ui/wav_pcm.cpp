#include "ui/wav_pcm.h"

#include <algorithm>
#include <cstring>

#include "files/read_file.h"

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
// Prompts and answer recordings are far smaller; a larger file is no sound of the program's.
constexpr std::uintmax_t kMaxWavBytes = 256u << 20;
}  // namespace

std::int64_t WavPcm::durationMs() const {
    const std::int64_t rate = bytesPerSecond();
    if (rate <= 0) return 0;
    return (std::int64_t(data.size()) * 1000 + rate - 1) / rate;
}

std::optional<WavPcm> readWavPcm(const std::string& nativePath) {
    std::string file;
    try {
        file = files::ReadRegularFile(nativePath, kMaxWavBytes, "Het bestand is te groot.");
    } catch (const files::ReadError&) {
        return std::nullopt;
    }
    const auto* bytes = reinterpret_cast<const unsigned char*>(file.data());
    if (file.size() < 12 || std::memcmp(bytes, "RIFF", 4) != 0 || std::memcmp(bytes + 8, "WAVE", 4) != 0)
        return std::nullopt;

    WavPcm pcm;
    bool haveFormat = false;
    std::size_t at = 12;
    while (file.size() - at >= 8) {
        const unsigned char* header = bytes + at;
        const std::size_t size = le32(header + 4);
        const unsigned char* body = header + 8;
        const std::size_t available = file.size() - at - 8;
        if (std::memcmp(header, "data", 4) == 0) {
            if (!haveFormat) return std::nullopt;
            // A file cut short keeps the samples it has, whole frames only.
            const std::size_t frame = std::size_t(pcm.channels) * (pcm.bitsPerSample / 8);
            const std::size_t length = std::min(size, available) / frame * frame;
            pcm.data.assign(body, body + length);
            return pcm;
        }
        if (size > available) return std::nullopt;
        if (std::memcmp(header, "fmt ", 4) == 0) {
            if (size < 16) return std::nullopt;
            std::uint16_t tag = le16(body);
            if (tag == kFormatExtensible && size >= 26) tag = le16(body + 24);
            pcm.channels = le16(body + 2);
            pcm.sampleRate = int(le32(body + 4));
            pcm.bitsPerSample = le16(body + 14);
            pcm.isFloat = tag == kFormatFloat;
            const bool intOk = tag == kFormatPcm && (pcm.bitsPerSample == 8 ||
                                                     pcm.bitsPerSample == 16 ||
                                                     pcm.bitsPerSample == 32);
            const bool floatOk = pcm.isFloat && pcm.bitsPerSample == 32;
            if (!(intOk || floatOk) || pcm.channels < 1 || pcm.sampleRate < 1) return std::nullopt;
            haveFormat = true;
        } else if (std::memcmp(header, "cue ", 4) == 0 && size >= 28) {
            // The count, then per point: name, position, "data", chunk start,
            // block start, sample offset.
            if (le32(body) >= 1) pcm.cueFrame = le32(body + 4 + 20);
        }
        at += 8 + size + (size & 1);
    }
    return std::nullopt;
}

std::optional<std::int64_t> wavDurationMs(const std::string& nativePath) {
    const auto pcm = readWavPcm(nativePath);
    if (!pcm) return std::nullopt;
    return pcm->durationMs();
}

}  // namespace zor::ui
