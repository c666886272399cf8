#include "ui/pictures.h"

#include <filesystem>

namespace zor::ui {

bool FilePictureSource::canLoad(const std::string& nativePath) const {
    std::error_code ec;
    return std::filesystem::is_regular_file(nativePath, ec);
}

}  // namespace zor::ui
