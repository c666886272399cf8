#pragma once

// Image XObjects: JPEG pictures as they are, and bitmaps as lossless RGB or indexed images
// (or as JPEG when the document forces JPEG compression).

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "pdf/pdf_objects.h"

namespace zor::pdf {

// Pixels handed to the writer, top row first: 24-bit rows of red, green, blue bytes, or 8-bit
// rows of palette indexes with a palette of 0xRRGGBB entries (at most 256).
struct PdfBitmap {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 24;  // 24 or 8
    std::vector<std::uint32_t> palette;
    std::string pixels;
};

// An image stream of a JPEG file's bytes (/DCTDecode). Raises PdfInvalidValue "TPdfImage" when
// the bytes are not a JPEG picture.
std::shared_ptr<PdfStream> makeJpegImage(std::string jpeg);

// An image stream of a bitmap: lossless when jpegQuality is 0, else JPEG at that quality (1-100).
// Raises PdfInvalidValue "TPdfImage" for an 8-bit bitmap without palette or for pixel data that
// do not cover the image.
std::shared_ptr<PdfStream> makeBitmapImage(const PdfBitmap& bitmap, int jpegQuality, bool compress);

// Encodes 24-bit pixels (top row first) as a baseline JPEG file.
std::string encodeJpeg(int width, int height, const std::string& rgb, int quality);

}  // namespace zor::pdf
