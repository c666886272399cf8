#include <cstdint>
#include <optional>

#include "emf/bytes.h"
#include "emf/records.h"

namespace zor::emf {

std::uint64_t Dib::stride() const {
    const std::uint64_t w = width < 0 ? 0 : std::uint64_t(width);
    return ((w * bitCount + 31) / 32) * 4;
}

std::optional<RgbaImage> decodeDib(const Dib& dib) {
    if (dib.compression != 0 || dib.width <= 0 || dib.height == 0) return std::nullopt;
    const int bpp = dib.bitCount;
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32)
        return std::nullopt;
    if (bpp <= 8 && dib.colors.empty()) return std::nullopt;
    const std::uint64_t rows =
        dib.height < 0 ? std::uint64_t(-std::int64_t(dib.height)) : std::uint64_t(dib.height);
    const std::uint64_t stride = dib.stride();
    // The bits must cover every row, which also bounds the decoded size by the data.
    if (stride == 0 || rows > dib.bits.size() / stride) return std::nullopt;

    RgbaImage image;
    image.width = dib.width;
    image.height = static_cast<int>(rows);
    image.pixels.resize(std::size_t(dib.width) * rows * 4);
    const bool bottomUp = dib.height > 0;
    for (std::uint64_t y = 0; y < rows; ++y) {
        const std::uint8_t* row = dib.bits.data() + (bottomUp ? rows - 1 - y : y) * stride;
        std::uint8_t* out = image.pixels.data() + y * std::uint64_t(dib.width) * 4;
        for (int x = 0; x < dib.width; ++x, out += 4) {
            std::uint32_t rgbValue = 0;  // 0x00RRGGBB
            if (bpp <= 8) {
                const int perByte = 8 / bpp;
                const int shift = 8 - bpp * (x % perByte + 1);
                const std::size_t index = (row[x / perByte] >> shift) & ((1 << bpp) - 1);
                rgbValue = index < dib.colors.size() ? dib.colors[index] : 0;
            } else if (bpp == 16) {
                const std::uint16_t v = std::uint16_t(row[2 * x] | (row[2 * x + 1] << 8));
                const std::uint32_t r = (v >> 10) & 31, g = (v >> 5) & 31, b = v & 31;
                rgbValue = ((r * 255 / 31) << 16) | ((g * 255 / 31) << 8) | (b * 255 / 31);
            } else {
                const std::uint8_t* p = row + x * (bpp / 8);
                rgbValue = (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[1]) << 8) | p[0];
            }
            out[0] = std::uint8_t(rgbValue >> 16);
            out[1] = std::uint8_t(rgbValue >> 8);
            out[2] = std::uint8_t(rgbValue);
            out[3] = 255;
        }
    }
    return image;
}

}  // namespace zor::emf
