#pragma once
// Text measurement for page canvases: a logical font (face name, height in logical
// units, weight, italic) measured with the installed font that stands in for it.
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "emf/records.h"

namespace zor::fonts {
class FontFace;
}

namespace zor::emf {

class FontMetrics {
  public:
    // Throws std::runtime_error when neither the face nor the fallback face is installed.
    explicit FontMetrics(const LogFont& font);

    // All in logical units, as the platform's text metrics give them.
    int ascent() const { return ascent_; }
    int descent() const { return descent_; }
    int height() const { return ascent_ + descent_; }
    int emHeight() const { return em_; }
    int internalLeading() const { return height() - em_; }

    int advance(char32_t codePoint) const;
    // One advance per UTF-16 unit: a character outside the basic plane gets its
    // advance on its first unit and 0 on the second.
    std::vector<std::int32_t> advances(std::u16string_view text) const;
    int width(std::u16string_view text) const;

  private:
    std::shared_ptr<const fonts::FontFace> face_;
    double scale_ = 0;  // logical units per font unit
    int em_ = 0;
    int ascent_ = 0;
    int descent_ = 0;
};

}  // namespace zor::emf
