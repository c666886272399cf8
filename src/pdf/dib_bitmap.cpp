#include "pdf/dib_bitmap.h"

#include <algorithm>
#include <cstring>
#include <map>

#include "pdf/pdf_errors.h"

namespace zor::pdf {

std::optional<PdfBitmap> bitmapFromDib(const emf::Dib& dib, emf::Point source, emf::Size size,
                                       bool fromBottom) {
    bool indexed = dib.bitCount <= 8;
    if (indexed && dib.colors.empty()) throw PdfInvalidValue("TPdfImage");
    auto image = emf::decodeDib(dib);
    if (!image) return std::nullopt;

    // In 64 bits: the rectangle comes from the page image and may hold any values.
    std::int64_t left = std::clamp<std::int64_t>(source.x, 0, image->width);
    std::int64_t top = fromBottom ? std::int64_t(image->height) - source.y - size.cy : source.y;
    top = std::clamp<std::int64_t>(top, 0, image->height);
    int width = int(std::clamp<std::int64_t>(size.cx, 0, image->width - left));
    int height = int(std::clamp<std::int64_t>(size.cy, 0, image->height - top));
    if (width <= 0 || height <= 0) return std::nullopt;

    PdfBitmap bitmap;
    bitmap.width = width;
    bitmap.height = height;
    bitmap.bitsPerPixel = indexed ? 8 : 24;
    std::map<std::uint32_t, std::uint8_t> paletteIndex;
    if (indexed) {
        bitmap.palette.assign(dib.colors.begin(),
                              dib.colors.begin() + std::min<std::size_t>(dib.colors.size(), 256));
        for (std::size_t i = bitmap.palette.size(); i-- > 0;) {
            paletteIndex[bitmap.palette[i] & 0xFFFFFF] = std::uint8_t(i);
        }
    }
    bitmap.pixels.resize(std::size_t(width) * height * (indexed ? 1 : 3));
    char* out = bitmap.pixels.data();
    for (std::int64_t y = top; y < top + height; ++y) {
        const std::uint8_t* p = image->pixels.data() + (std::size_t(y) * image->width + left) * 4;
        const std::uint8_t* rowEnd = p + std::size_t(width) * 4;
        if (indexed) {
            for (; p != rowEnd; p += 4) {
                std::uint32_t rgb = (std::uint32_t(p[0]) << 16) | (std::uint32_t(p[1]) << 8) | p[2];
                *out++ = char(paletteIndex[rgb]);
            }
        } else {
            for (; p != rowEnd; p += 4, out += 3) std::memcpy(out, p, 3);
        }
    }
    return bitmap;
}

}  // namespace zor::pdf
