#include "emf/font_metrics.h"

#include <cmath>
#include <cstdlib>
#include <stdexcept>

#include "fonts/font.h"
#include "text/encoding.h"

namespace zor::emf {
namespace {

// The face a page shows when its own face is not installed.
constexpr const char* FallbackFamily = "Arial";

}  // namespace

FontMetrics::FontMetrics(const LogFont& font) {
    const std::string family = text::utf16ToUtf8(font.faceName);
    const fonts::FontSpec wanted{family, font.weight <= 0 ? 400 : font.weight, font.italic != 0};
    face_ = fonts::resolveFont(wanted);
    if (!face_) face_ = fonts::resolveFont({FallbackFamily, wanted.weight, wanted.italic});
    if (!face_)
        throw std::runtime_error("Er is geen lettertype \"" + family +
                                 "\" geïnstalleerd, en ook geen Arial of een vervanger ervan.");

    const int upem = face_->unitsPerEm();
    const int cell = face_->winAscent() + face_->winDescent();
    if (font.height < 0) {
        scale_ = double(-std::int64_t(font.height)) / upem;
    } else if (font.height > 0 && cell > 0) {
        scale_ = double(font.height) / cell;
    } else {
        // Height 0 asks for the default size: 12 points at 96 dots per inch.
        scale_ = 16.0 / upem;
    }
    em_ = int(std::lround(upem * scale_));
    ascent_ = int(std::lround(face_->winAscent() * scale_));
    descent_ = int(std::lround(face_->winDescent() * scale_));
}

int FontMetrics::advance(char32_t codePoint) const {
    return int(std::lround(face_->advanceWidth(codePoint) * scale_));
}

std::vector<std::int32_t> FontMetrics::advances(std::u16string_view text) const {
    std::vector<std::int32_t> result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            const char32_t cp = 0x10000 + ((char32_t(c) - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            result.push_back(advance(cp));
            result.push_back(0);
            ++i;
        } else {
            result.push_back(advance(c));
        }
    }
    return result;
}

int FontMetrics::width(std::u16string_view text) const {
    int total = 0;
    for (std::int32_t a : advances(text)) total += a;
    return total;
}

}  // namespace zor::emf
