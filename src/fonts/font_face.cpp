#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H
#include FT_TRUETYPE_TAGS_H
#include FT_ADVANCES_H

#include <cstdint>
#include <stdexcept>

#include "files/read_file.h"
#include "fonts/font.h"

namespace zor::fonts {
namespace {

std::mutex& libraryMutex() {
    static std::mutex mutex;
    return mutex;
}

// One FreeType library for the program; opening and closing faces goes through its mutex.
FT_Library library() {
    static FT_Library lib = [] {
        FT_Library l = nullptr;
        if (FT_Init_FreeType(&l) != 0)
            throw std::runtime_error("De lettertypebibliotheek (FreeType) kan niet worden gestart.");
        return l;
    }();
    return lib;
}

// Larger than any font collection a system installs.
constexpr std::uintmax_t kMaxFontFileSize = std::uintmax_t(256) << 20;

}  // namespace

FontFace::FontFace(std::string filePath, int faceIndex) : filePath_(std::move(filePath)) {
    // Read as the program reads every file (regular files only, never waiting
    // on a pipe), so that a failure has the system's reason.
    try {
        bytes_ = files::ReadRegularFile(filePath_, kMaxFontFileSize,
                                        "Het bestand is te groot voor een lettertypebestand.");
    } catch (const files::ReadError& e) {
        throw FontFileError(filePath_, e.what());
    }
    {
        std::lock_guard lock(libraryMutex());
        if (FT_New_Memory_Face(library(), reinterpret_cast<const FT_Byte*>(bytes_.data()),
                               FT_Long(bytes_.size()), faceIndex, &face_) != 0) {
            throw FontFileError(filePath_, "Het is geen bruikbaar lettertype.");
        }
    }
    family_ = face_->family_name ? face_->family_name : "";
    if (const char* ps = FT_Get_Postscript_Name(face_)) postScriptName_ = ps;
    unitsPerEm_ = face_->units_per_EM ? face_->units_per_EM : 1000;
    ascender_ = face_->ascender;
    descender_ = face_->descender;
    winAscent_ = face_->ascender;
    winDescent_ = -face_->descender;
    bbox_ = {int(face_->bbox.xMin), int(face_->bbox.yMin), int(face_->bbox.xMax),
             int(face_->bbox.yMax)};
    fixedPitch_ = FT_IS_FIXED_WIDTH(face_);

    if (auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face_, FT_SFNT_OS2));
        os2 && os2->version != 0xFFFF) {
        ascender_ = os2->sTypoAscender;
        descender_ = os2->sTypoDescender;
        winAscent_ = os2->usWinAscent;
        winDescent_ = os2->usWinDescent;
        if (os2->version >= 2) xHeight_ = os2->sxHeight;
    }
    if (auto* post = static_cast<TT_Postscript*>(FT_Get_Sfnt_Table(face_, FT_SFNT_POST))) {
        italicAngle_ = double(post->italicAngle) / 65536.0;
    }
}

FontFace::~FontFace() {
    std::lock_guard lock(libraryMutex());
    FT_Done_Face(face_);
}

unsigned FontFace::glyphIndex(char32_t codePoint) const {
    std::lock_guard lock(mutex_);
    return FT_Get_Char_Index(face_, codePoint);
}

int FontFace::glyphAdvance(unsigned glyph) const {
    std::lock_guard lock(mutex_);
    FT_Fixed advance = 0;
    if (glyph >= unsigned(face_->num_glyphs) ||
        FT_Get_Advance(face_, glyph, FT_LOAD_NO_SCALE, &advance) != 0) {
        return 0;
    }
    return int(advance);
}

int FontFace::advanceWidth(char32_t codePoint) const { return glyphAdvance(glyphIndex(codePoint)); }

int FontFace::advanceWidth(std::u32string_view text) const {
    int width = 0;
    for (char32_t c : text) width += advanceWidth(c);
    return width;
}

}  // namespace zor::fonts
