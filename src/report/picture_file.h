#pragma once
// Pictures of the report page read from the program's Graphics folder.
#include <filesystem>
#include <stdexcept>

#include "emf/recorder.h"

namespace zor::report {

// A picture file that cannot be read or decoded; the message names the file.
class PictureFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Decodes a JPEG file (grey or colour) into 24-bit pixels, top row first.
emf::Bitmap LoadJpegPicture(const std::filesystem::path& file);

// The picture halved (each pixel the mean of a 2 × 2 block) as long as it stays
// at least minWidth × minHeight: a picture drawn much smaller than its pixels
// loses nothing visible and costs the page image and the PDF far less.
emf::Bitmap HalveWhileLarger(emf::Bitmap picture, int minWidth, int minHeight);

}  // namespace zor::report
