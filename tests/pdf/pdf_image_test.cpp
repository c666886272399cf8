#include "pdf/pdf_image.h"

#include <gtest/gtest.h>

#include <regex>

#include "pdf/pdf_document.h"
#include "pdf/pdf_errors.h"
#include "pdf_test_support.h"

namespace zor::pdf {
namespace {

using testing::fixedClock;
using testing::TempPdf;

PdfBitmap rgbBitmap(int width, int height) {
    PdfBitmap bitmap{width, height, 24, {}, {}};
    for (int i = 0; i < width * height; ++i) {
        bitmap.pixels += char(i * 7);
        bitmap.pixels += char(255 - i);
        bitmap.pixels += char(i * 3);
    }
    return bitmap;
}

PdfBitmap indexedBitmap(int width, int height) {
    PdfBitmap bitmap{width, height, 8, {0x000000, 0xFF0000, 0x00FF00, 0x0000FF}, {}};
    for (int i = 0; i < width * height; ++i) bitmap.pixels += char(i % 4);
    return bitmap;
}

template <class F>
std::string errorOf(F&& f) {
    try {
        f();
    } catch (const PdfInvalidValue& e) {
        return e.what();
    }
    return "no error";
}

TEST(PdfImages, BitmapsAndJpegPicturesBecomeNamedImageObjects) {
    TPdfDocument document(fixedClock());
    document.addPage();
    std::string jpeg = encodeJpeg(16, 8, rgbBitmap(16, 8).pixels, 90);
    auto images = {makeJpegImage(jpeg), makeBitmapImage(rgbBitmap(40, 30), 0, true),
                   makeBitmapImage(indexedBitmap(20, 10), 0, true)};
    double x = 50;
    for (const auto& image : images) {
        std::string name = document.nextImageName();
        document.registerXObject(image, name);
        document.canvas().drawImage(name, x, 500, 100, 50);
        x += 150;
    }
    EXPECT_NE(document.pages()[0].contents->data().find("q\n100 0 0 50 50 500 cm\n/Syn1 Do\nQ\n"),
              std::string::npos);

    TempPdf file;
    ASSERT_NO_THROW(file.write(document));
    auto check = testing::qpdfCheck(file);
    EXPECT_EQ(check.exitCode, 0) << check.output;
    std::string list = testing::runCommand("pdfimages -list " + file.quoted()).output;
    EXPECT_TRUE(std::regex_search(list, std::regex("image +16 +8 +rgb +3 +8 +jpeg"))) << list;
    EXPECT_TRUE(std::regex_search(list, std::regex("image +40 +30 +rgb +3 +8 +image"))) << list;
    EXPECT_TRUE(std::regex_search(list, std::regex("image +20 +10 +index +1 +8 +image"))) << list;
}

TEST(PdfImages, IndexedImagesCarryTheirFullPalette) {
    auto image = makeBitmapImage(indexedBitmap(2, 2), 0, false);
    auto space = image->dictionary().get("ColorSpace");
    std::ostringstream out;
    PdfOutput o(out);
    space->writeValue(o);
    o.flush();
    std::string text = out.str();
    EXPECT_TRUE(text.starts_with("[/Indexed /DeviceRGB 255 <000000 FF0000 00FF00 0000FF 000000 "));
    EXPECT_TRUE(text.ends_with("000000 > ]"));
    EXPECT_EQ(std::count(text.begin(), text.end(), ' '), 3 + 256 + 1);
    EXPECT_EQ(image->data(), std::string("\0\1\2\3", 4));
}

TEST(PdfImages, ForcedJpegQualityCompressesBitmaps) {
    auto image = makeBitmapImage(rgbBitmap(8, 8), 75, true);
    EXPECT_TRUE(image->dictionary().getAs<PdfArray>("Filter")->containsName("DCTDecode"));
    EXPECT_EQ(image->data().substr(0, 2), "\xFF\xD8");
}

TEST(PdfImages, UnusableImagesAndNamesAreRefused) {
    TPdfDocument document(fixedClock());
    document.addPage();
    EXPECT_EQ(errorOf([] {
                  makeBitmapImage({4, 4, 8, {}, std::string(16, '\0')}, 0, true);
              }),
              "TPdfImage");
    EXPECT_EQ(errorOf([] {
                  makeBitmapImage({4, 4, 24, {}, std::string(5, '\0')}, 0, true);
              }),
              "TPdfImage");
    EXPECT_EQ(errorOf([] { makeJpegImage("not a jpeg"); }), "TPdfImage");

    EXPECT_EQ(errorOf([&] { document.registerXObject(nullptr, "Syn1"); }),
              "RegisterXObject: no AObject");
    auto notAnImage = std::make_shared<PdfStream>(true);
    EXPECT_EQ(errorOf([&] { document.registerXObject(notAnImage, "Syn1"); }),
              "RegisterXObject: no XObject");
    notAnImage->dictionary().set("Type", makeName("XObject"));
    EXPECT_EQ(errorOf([&] { document.registerXObject(notAnImage, "Syn1"); }),
              "AddXObject: invalid TPdfImage Syn1");

    document.registerXObject(makeBitmapImage(rgbBitmap(2, 2), 0, true), "Syn1");
    EXPECT_EQ(errorOf([&] {
                  document.registerXObject(makeBitmapImage(rgbBitmap(2, 2), 0, true), "Syn1");
              }),
              "RegisterXObject: dup name Syn1");
    EXPECT_EQ(errorOf([&] { document.canvas().drawImage("Syn9", 0, 0, 1, 1); }),
              "DrawXObject: unknown Syn9");
}

}  // namespace
}  // namespace zor::pdf
