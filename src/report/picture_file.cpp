#include "report/picture_file.h"

#include <csetjmp>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <jpeglib.h>

namespace zor::report {
namespace {

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf escape;
};

[[noreturn]] void ErrorExit(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->escape, 1);
}

void SilentMessage(j_common_ptr) {}

}  // namespace

emf::Bitmap LoadJpegPicture(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) throw PictureFileError("Kan het bestand " + file.string() + " niet openen");
    const std::vector<unsigned char> data{std::istreambuf_iterator<char>(in),
                                          std::istreambuf_iterator<char>()};
    if (data.empty()) throw PictureFileError(file.string() + ": geen JPEG-afbeelding");

    emf::Bitmap bitmap;
    jpeg_decompress_struct info{};
    ErrorManager errors{};
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = ErrorExit;
    errors.base.output_message = SilentMessage;
    if (setjmp(errors.escape)) {
        jpeg_destroy_decompress(&info);
        throw PictureFileError(file.string() + ": geen JPEG-afbeelding");
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data.data(), static_cast<unsigned long>(data.size()));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    bitmap.width = static_cast<int>(info.output_width);
    bitmap.height = static_cast<int>(info.output_height);
    bitmap.rgb.resize(std::size_t(bitmap.width) * std::size_t(bitmap.height) * 3);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = bitmap.rgb.data() + std::size_t(info.output_scanline) * bitmap.width * 3;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return bitmap;
}

}  // namespace zor::report
