#include "pagestore/grey.h"

namespace zor::pagestore {

void convertToGrey(std::span<std::uint8_t> rgba) {
    for (std::size_t i = 0; i + 3 < rgba.size(); i += 4) {
        const std::uint8_t g = greyOf(rgba[i], rgba[i + 1], rgba[i + 2]);
        rgba[i] = rgba[i + 1] = rgba[i + 2] = g;
    }
}

}  // namespace zor::pagestore
