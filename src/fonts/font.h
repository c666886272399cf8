#pragma once

// Installed fonts: resolving a family, style and weight to a font file on this machine and reading
// the metrics, advance widths and tables the page layout and the PDF writer need.

#include <cstdint>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

struct FT_FaceRec_;

namespace zor::fonts {

struct FontSpec {
    std::string family;
    int weight = 400;  // 100..900; 600 and above count as bold
    bool italic = false;
};

struct BoundingBox {
    int xMin = 0;
    int yMin = 0;
    int xMax = 0;
    int yMax = 0;
};

// A font file that cannot be used: what() is "Kan lettertypebestand "<file>"
// niet openen. <reason>", the reason a Dutch sentence (the system's, for a
// file that cannot be read).
class FontFileError : public std::runtime_error {
  public:
    FontFileError(const std::string& file, const std::string& reason)
        : std::runtime_error("Kan lettertypebestand \"" + file + "\" niet openen. " + reason) {}
};

// One loaded font file. All metrics are in font units (unitsPerEm() units per em).
class FontFace {
  public:
    // Reads the file whole; throws FontFileError.
    FontFace(std::string filePath, int faceIndex);
    ~FontFace();
    FontFace(const FontFace&) = delete;
    FontFace& operator=(const FontFace&) = delete;

    const std::string& family() const { return family_; }                    // of the file used
    const std::string& filePath() const { return filePath_; }
    const std::string& postScriptName() const { return postScriptName_; }

    int unitsPerEm() const { return unitsPerEm_; }
    // Typographic ascender and descender (OS/2 table; the descender is negative).
    int ascender() const { return ascender_; }
    int descender() const { return descender_; }
    // Text-cell extent above and below the baseline (both positive), as used for line heights.
    int winAscent() const { return winAscent_; }
    int winDescent() const { return winDescent_; }
    int xHeight() const { return xHeight_; }
    BoundingBox boundingBox() const { return bbox_; }
    double italicAngle() const { return italicAngle_; }  // degrees, negative leans right
    bool isFixedPitch() const { return fixedPitch_; }

    unsigned glyphIndex(char32_t codePoint) const;  // 0 (the missing glyph) when absent
    int glyphAdvance(unsigned glyph) const;
    // Advance width of a code point; a code point without glyph measures as the missing glyph.
    int advanceWidth(char32_t codePoint) const;
    int advanceWidth(std::u32string_view text) const;

  private:
    std::string family_;
    std::string filePath_;
    std::string postScriptName_;
    int unitsPerEm_ = 1000;
    int ascender_ = 0;
    int descender_ = 0;
    int winAscent_ = 0;
    int winDescent_ = 0;
    int xHeight_ = 0;
    BoundingBox bbox_;
    double italicAngle_ = 0;
    bool fixedPitch_ = false;

    mutable std::mutex mutex_;  // FreeType faces are not safe for concurrent use
    std::string bytes_;         // the file, read by the face for its whole life
    FT_FaceRec_* face_ = nullptr;
};

// The font for a family and style, loaded once and cached. A family counts as installed when
// fontconfig knows it or its metric-compatible stand-in (Calibri -> Carlito, Arial -> Liberation
// Sans, Times New Roman -> Liberation Serif, Courier New -> Liberation Mono). Returns nullptr for a
// family that is not installed; no look-alike is substituted.
std::shared_ptr<const FontFace> resolveFont(const FontSpec& wanted);

// The family names of the installed TrueType fonts, sorted, without duplicates and without
// vertical-writing variants ("@..."), including the names covered by a metric-compatible stand-in.
const std::vector<std::string>& installedTrueTypeFamilies();

// True when the family (exact, case-sensitive) is in installedTrueTypeFamilies().
bool isFamilyInstalled(std::string_view family);

}  // namespace zor::fonts
