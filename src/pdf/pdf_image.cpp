#include "pdf/pdf_image.h"

#include <jpeglib.h>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>

#include "pdf/pdf_errors.h"

namespace zor::pdf {
namespace {

struct JpegErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf escape;
};

[[noreturn]] void jpegErrorExit(j_common_ptr info) {
    std::longjmp(reinterpret_cast<JpegErrorManager*>(info->err)->escape, 1);
}

struct JpegHeader {
    int width = 0;
    int height = 0;
    int components = 0;
};

bool readJpegHeader(const std::string& jpeg, JpegHeader& header) {
    jpeg_decompress_struct info{};
    JpegErrorManager errors{};
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = jpegErrorExit;
    if (setjmp(errors.escape)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(jpeg.data()),
                 static_cast<unsigned long>(jpeg.size()));
    bool ok = jpeg_read_header(&info, TRUE) == JPEG_HEADER_OK;
    header = {int(info.image_width), int(info.image_height), info.num_components};
    jpeg_destroy_decompress(&info);
    return ok && header.width > 0 && header.height > 0;
}

std::shared_ptr<PdfStream> imageStream(int width, int height, PdfObjectPtr colorSpace,
                                       bool compress) {
    auto image = std::make_shared<PdfStream>(compress);
    auto& d = image->dictionary();
    d.set("Type", makeName("XObject"));
    d.set("Subtype", makeName("Image"));
    d.set("Width", makeNumber(width));
    d.set("Height", makeNumber(height));
    d.set("BitsPerComponent", makeNumber(8));
    d.set("ColorSpace", std::move(colorSpace));
    return image;
}

std::string hexPalette(const std::vector<std::uint32_t>& palette) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string s = "<";
    for (std::size_t i = 0; i < 256; ++i) {
        std::uint32_t rgb = i < palette.size() ? palette[i] : 0;
        for (int shift : {16, 8, 0}) {
            unsigned byte = (rgb >> shift) & 0xFF;
            s += kHex[byte >> 4];
            s += kHex[byte & 15];
        }
        s += ' ';
    }
    s += '>';
    return s;
}

std::string paletteToRgb(const PdfBitmap& bitmap) {
    std::string rgb;
    rgb.reserve(bitmap.pixels.size() * 3);
    for (unsigned char index : bitmap.pixels) {
        std::uint32_t c = index < bitmap.palette.size() ? bitmap.palette[index] : 0;
        rgb += char((c >> 16) & 0xFF);
        rgb += char((c >> 8) & 0xFF);
        rgb += char(c & 0xFF);
    }
    return rgb;
}

}  // namespace

std::shared_ptr<PdfStream> makeJpegImage(std::string jpeg) {
    JpegHeader header;
    if (!readJpegHeader(jpeg, header)) throw PdfInvalidValue("TPdfImage");
    const char* space = header.components == 1   ? "DeviceGray"
                        : header.components == 4 ? "DeviceCMYK"
                                                 : "DeviceRGB";
    auto image = imageStream(header.width, header.height, makeName(space), false);
    image->dictionary().set(
        "Filter", std::make_shared<PdfArray>(std::vector<PdfObjectPtr>{makeName("DCTDecode")}));
    if (header.components == 4) {
        // Adobe CMYK JPEG files store inverted components.
        image->dictionary().set("Decode", makeRaw("[1 0 1 0 1 0 1 0]"));
    }
    image->data() = std::move(jpeg);
    return image;
}

std::shared_ptr<PdfStream> makeBitmapImage(const PdfBitmap& bitmap, int jpegQuality,
                                           bool compress) {
    if (bitmap.width <= 0 || bitmap.height <= 0) throw PdfInvalidValue("TPdfImage");
    std::size_t pixelCount = std::size_t(bitmap.width) * std::size_t(bitmap.height);
    bool indexed = bitmap.bitsPerPixel == 8;
    if ((indexed && bitmap.palette.empty()) || (!indexed && bitmap.bitsPerPixel != 24) ||
        bitmap.pixels.size() != pixelCount * (indexed ? 1 : 3)) {
        throw PdfInvalidValue("TPdfImage");
    }
    if (jpegQuality > 0) {
        return makeJpegImage(encodeJpeg(bitmap.width, bitmap.height,
                                        indexed ? paletteToRgb(bitmap) : bitmap.pixels,
                                        jpegQuality));
    }
    PdfObjectPtr space = makeName("DeviceRGB");
    if (indexed) space = makeRaw("[/Indexed /DeviceRGB 255 " + hexPalette(bitmap.palette) + " ]");
    auto image = imageStream(bitmap.width, bitmap.height, space, compress);
    image->setRememberCompressedForm(true);
    image->data() = bitmap.pixels;
    return image;
}

std::string encodeJpeg(int width, int height, const std::string& rgb, int quality) {
    if (width <= 0 || height <= 0 || rgb.size() != std::size_t(width) * height * 3) {
        throw PdfInvalidValue("TPdfImage");
    }
    jpeg_compress_struct info{};
    JpegErrorManager errors{};
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = jpegErrorExit;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    if (setjmp(errors.escape)) {
        jpeg_destroy_compress(&info);
        std::free(buffer);
        throw PdfInvalidValue("TPdfImage");
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = JDIMENSION(width);
    info.image_height = JDIMENSION(height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, std::clamp(quality, 1, 100), TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = reinterpret_cast<JSAMPROW>(
            const_cast<char*>(rgb.data() + std::size_t(info.next_scanline) * width * 3));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::string jpeg(reinterpret_cast<char*>(buffer), size);
    std::free(buffer);
    return jpeg;
}

}  // namespace zor::pdf
