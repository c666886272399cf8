#include "ui/qt/qt_pictures.h"

#include <QImageReader>
#include <QString>

namespace zor::ui::qt {

bool QtPictureSource::canLoad(const std::string& nativePath) const {
    return !image(nativePath).isNull();
}

const QImage& QtPictureSource::image(const std::string& nativePath) const {
    static const QImage none;
    auto it = images_.find(nativePath);
    if (it != images_.end()) return it->second;
    QImageReader reader(QString::fromStdString(nativePath));
    QImage decoded = reader.read();
    // A file that cannot be decoded now may be put right later: only
    // decoded pictures are kept.
    if (decoded.isNull()) return none;
    decoded = decoded.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    return images_.emplace(nativePath, std::move(decoded)).first->second;
}

}  // namespace zor::ui::qt
