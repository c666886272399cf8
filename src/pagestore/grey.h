#pragma once
// Grey drawing of pages (printing with gsPrint, display with gsPreview): every
// colour (R, G, B) of the rendered page becomes the grey
// g = (R × 30 + G × 59 + B × 11) / 100 on all three channels.
#include <cstdint>

namespace zor::pagestore {

constexpr std::uint8_t greyOf(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return std::uint8_t((r * 30 + g * 59 + b * 11) / 100);
}

}  // namespace zor::pagestore
