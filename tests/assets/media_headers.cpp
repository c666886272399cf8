#include "media_headers.h"

#include <cstddef>

namespace zor::assets_test {
namespace {

unsigned byteAt(std::string_view bytes, std::size_t pos) {
    return static_cast<unsigned char>(bytes[pos]);
}

std::uint32_t littleEndian16(std::string_view bytes, std::size_t pos) {
    return byteAt(bytes, pos) | byteAt(bytes, pos + 1) << 8;
}

std::uint32_t littleEndian32(std::string_view bytes, std::size_t pos) {
    return littleEndian16(bytes, pos) | littleEndian16(bytes, pos + 2) << 16;
}

std::uint32_t bigEndian16(std::string_view bytes, std::size_t pos) {
    return byteAt(bytes, pos) << 8 | byteAt(bytes, pos + 1);
}

// Start-of-frame markers: C0..CF except DHT (C4), JPG (C8) and DAC (CC).
bool isStartOfFrame(unsigned marker) {
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 &&
           marker != 0xCC;
}

// Markers that stand alone, without a length field.
bool isStandalone(unsigned marker) {
    return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8);
}

}  // namespace

std::optional<PictureSize> gifSize(std::string_view bytes) {
    if (bytes.size() < 10) return std::nullopt;
    const std::string_view signature = bytes.substr(0, 6);
    if (signature != "GIF87a" && signature != "GIF89a") return std::nullopt;
    return PictureSize{static_cast<int>(littleEndian16(bytes, 6)),
                       static_cast<int>(littleEndian16(bytes, 8))};
}

std::optional<PictureSize> jpegSize(std::string_view bytes) {
    if (bytes.size() < 4 || byteAt(bytes, 0) != 0xFF || byteAt(bytes, 1) != 0xD8) {
        return std::nullopt;
    }
    std::size_t pos = 2;
    while (pos < bytes.size()) {
        if (byteAt(bytes, pos) != 0xFF) return std::nullopt;
        while (pos < bytes.size() && byteAt(bytes, pos) == 0xFF) ++pos;  // fill bytes
        if (pos >= bytes.size()) return std::nullopt;
        const unsigned marker = byteAt(bytes, pos++);
        if (isStandalone(marker)) continue;
        if (marker == 0xD9 || marker == 0xDA) return std::nullopt;  // end or scan, no frame
        if (pos + 2 > bytes.size()) return std::nullopt;
        const std::size_t length = bigEndian16(bytes, pos);
        if (length < 2 || pos + length > bytes.size()) return std::nullopt;
        if (isStartOfFrame(marker)) {
            if (length < 8) return std::nullopt;
            return PictureSize{static_cast<int>(bigEndian16(bytes, pos + 5)),
                               static_cast<int>(bigEndian16(bytes, pos + 3)),
                               static_cast<int>(byteAt(bytes, pos + 7))};
        }
        pos += length;
    }
    return std::nullopt;
}

std::optional<WavFormat> wavFormat(std::string_view bytes) {
    if (bytes.size() < 12 || bytes.substr(0, 4) != "RIFF" || bytes.substr(8, 4) != "WAVE") {
        return std::nullopt;
    }
    const std::size_t riffEnd = std::size_t{littleEndian32(bytes, 4)} + 8;
    if (riffEnd > bytes.size()) return std::nullopt;

    std::optional<WavFormat> format;
    bool haveData = false;
    std::uint32_t dataBytes = 0;
    std::size_t pos = 12;
    while (pos + 8 <= riffEnd) {
        const std::string_view id = bytes.substr(pos, 4);
        const std::uint32_t size = littleEndian32(bytes, pos + 4);
        const std::size_t body = pos + 8;
        if (body + size > riffEnd) return std::nullopt;
        if (id == "fmt ") {
            if (size < 16) return std::nullopt;
            WavFormat f;
            f.formatTag = static_cast<int>(littleEndian16(bytes, body));
            f.channels = static_cast<int>(littleEndian16(bytes, body + 2));
            f.sampleRate = static_cast<int>(littleEndian32(bytes, body + 4));
            const std::uint32_t byteRate = littleEndian32(bytes, body + 8);
            const std::uint32_t blockAlign = littleEndian16(bytes, body + 12);
            f.bitsPerSample = static_cast<int>(littleEndian16(bytes, body + 14));
            const std::uint32_t expectedBlock = f.channels * ((f.bitsPerSample + 7) / 8);
            if (f.channels == 0 || f.sampleRate == 0 || blockAlign != expectedBlock ||
                byteRate != blockAlign * static_cast<std::uint32_t>(f.sampleRate)) {
                return std::nullopt;
            }
            format = f;
        } else if (id == "data") {
            haveData = true;
            dataBytes = size;
        }
        pos = body + size + (size & 1);  // chunks are padded to an even length
    }
    if (!format || !haveData) return std::nullopt;
    format->dataBytes = dataBytes;
    format->seconds = static_cast<double>(dataBytes) /
                      (static_cast<double>(format->sampleRate) * format->channels *
                       ((format->bitsPerSample + 7) / 8));
    return format;
}

}  // namespace zor::assets_test
