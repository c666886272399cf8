#include "pdf/dib_bitmap.h"

#include <gtest/gtest.h>

#include "pdf/pdf_errors.h"

namespace zor::pdf {
namespace {

// A 4 × 2 bitmap of 8 bits per pixel, rows stored bottom-up as the format does by default.
emf::Dib eightBitDib() {
    emf::Dib dib;
    dib.width = 4;
    dib.height = 2;
    dib.bitCount = 8;
    dib.colors = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
    dib.bits = {2, 3, 0, 1,   // bottom row
                0, 1, 2, 3};  // top row
    return dib;
}

TEST(DibBitmap, PaletteBitmapsKeepTheirIndexesTopRowFirst) {
    auto bitmap = bitmapFromDib(eightBitDib(), {0, 0}, {4, 2}, false);
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(bitmap->bitsPerPixel, 8);
    EXPECT_EQ(bitmap->palette,
              (std::vector<std::uint32_t>{0x000000, 0xFF0000, 0x00FF00, 0x0000FF}));
    EXPECT_EQ(bitmap->pixels, std::string("\0\1\2\3\2\3\0\1", 8));
}

TEST(DibBitmap, TheSourceRectangleIsCutOutAndKeptInsideTheBitmap) {
    auto fromTop = bitmapFromDib(eightBitDib(), {1, 1}, {2, 1}, false);
    ASSERT_TRUE(fromTop);
    EXPECT_EQ(fromTop->pixels, std::string("\3\0", 2));
    auto fromBottom = bitmapFromDib(eightBitDib(), {1, 1}, {2, 1}, true);
    ASSERT_TRUE(fromBottom);
    EXPECT_EQ(fromBottom->pixels, std::string("\1\2", 2));
    auto cut = bitmapFromDib(eightBitDib(), {3, 0}, {100, 100}, false);
    ASSERT_TRUE(cut);
    EXPECT_EQ(cut->width, 1);
    EXPECT_EQ(cut->height, 2);
    EXPECT_FALSE(bitmapFromDib(eightBitDib(), {-2147483647 - 1, 5}, {0, 2147483647}, true));
}

TEST(DibBitmap, MonochromeAndTrueColourBitmaps) {
    emf::Dib mono;
    mono.width = 3;
    mono.height = -1;  // top-down
    mono.bitCount = 1;
    mono.colors = {0x000000, 0xFFFFFF};
    mono.bits = {0b10100000, 0, 0, 0};
    auto bits = bitmapFromDib(mono, {0, 0}, {3, 1}, false);
    ASSERT_TRUE(bits);
    EXPECT_EQ(bits->pixels, std::string("\1\0\1", 3));

    emf::Dib rgb;
    rgb.width = 1;
    rgb.height = 1;
    rgb.bitCount = 24;
    rgb.bits = {0x30, 0x20, 0x10, 0};  // blue, green, red
    auto colour = bitmapFromDib(rgb, {0, 0}, {1, 1}, false);
    ASSERT_TRUE(colour);
    EXPECT_EQ(colour->bitsPerPixel, 24);
    EXPECT_EQ(colour->pixels, "\x10\x20\x30");
}

TEST(DibBitmap, UnreadableBitmaps) {
    auto noPalette = eightBitDib();
    noPalette.colors.clear();
    EXPECT_THROW(bitmapFromDib(noPalette, {0, 0}, {4, 2}, false), PdfInvalidValue);
    auto compressed = eightBitDib();
    compressed.compression = 1;  // run-length encoded
    EXPECT_FALSE(bitmapFromDib(compressed, {0, 0}, {4, 2}, false));
    auto shortBits = eightBitDib();
    shortBits.bits.resize(5);
    EXPECT_FALSE(bitmapFromDib(shortBits, {0, 0}, {4, 2}, false));
}

}  // namespace
}  // namespace zor::pdf
