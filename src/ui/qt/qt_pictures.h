#pragma once

#include <string>
#include <unordered_map>

#include <QImage>

#include "ui/pictures.h"

namespace zor::ui::qt {

// Pictures decoded by Qt's image readers (GIF, JPEG and the other formats
// Qt offers). A picture is decoded once and kept for the program's life:
// the screens switch between a small, fixed set of files.
class QtPictureSource : public PictureSource {
public:
    bool canLoad(const std::string& nativePath) const override;

    // The decoded picture; a null image when the file cannot be decoded.
    const QImage& image(const std::string& nativePath) const;

private:
    mutable std::unordered_map<std::string, QImage> images_;
};

}  // namespace zor::ui::qt
