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

}  // namespace zor::report
