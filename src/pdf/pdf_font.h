#pragma once

// The fonts of a PDF document: a WinAnsi TrueType font per family, style and character set, and
// its Type0 companion for characters the WinAnsi encoding lacks. Fonts are referenced by name
// with their metrics and widths; no font file is embedded.

#include <map>
#include <memory>
#include <set>
#include <string>

#include "fonts/font.h"
#include "pdf/pdf_objects.h"

namespace zor::pdf {

// What a font is identified by.
struct PdfFontKey {
    std::string family;  // an installed family, after the lookup
    bool bold = false;
    bool italic = false;
    int charset = 0;
    friend auto operator<=>(const PdfFontKey&, const PdfFontKey&) = default;
};

// A font as a page resource: its resource name (F0, F1, ...) and its /Font dictionary.
class PdfFontResource {
  public:
    PdfFontResource(std::string resourceName, std::shared_ptr<PdfDictionary> dictionary)
        : resourceName_(std::move(resourceName)), dictionary_(std::move(dictionary)) {}
    virtual ~PdfFontResource() = default;
    const std::string& resourceName() const { return resourceName_; }
    const std::shared_ptr<PdfDictionary>& dictionary() const { return dictionary_; }

  private:
    std::string resourceName_;
    std::shared_ptr<PdfDictionary> dictionary_;
};

// The Type0 font with Identity-H encoding: two-byte codes that are the font's glyph numbers.
class PdfUnicodeFont : public PdfFontResource {
  public:
    PdfUnicodeFont(std::string resourceName, const std::string& baseFont,
                   std::shared_ptr<const fonts::FontFace> face,
                   std::shared_ptr<PdfDictionary> descriptor);

    // The glyph that shows a character; records it as used.
    unsigned useCharacter(char32_t c);
    // Records a glyph written by number (its character unknown).
    void useGlyph(unsigned glyph);
    int glyphWidth(unsigned glyph) const;  // in 1/1000 em
    // Adds the descendant CID font, the widths and the /ToUnicode map.
    void finish(PdfObjectTable& objects, bool compress);

    std::string toUnicodeCMap() const;

  private:
    std::shared_ptr<const fonts::FontFace> face_;
    std::string baseFont_;
    std::shared_ptr<PdfDictionary> descriptor_;
    std::map<unsigned, char32_t> used_;  // glyph -> character (0 when written by number)
    std::shared_ptr<PdfDictionary> descendant_;
    std::shared_ptr<PdfStream> toUnicode_;
};

class PdfFont : public PdfFontResource {
  public:
    // The font is made for the family of the key, with the metrics of the face that serves it.
    PdfFont(std::string resourceName, PdfFontKey key, std::shared_ptr<const fonts::FontFace> face,
            PdfObjectTable& objects);

    const PdfFontKey& key() const { return key_; }
    const fonts::FontFace& face() const { return *face_; }
    const std::string& baseFont() const { return baseFont_; }
    int charWidth(unsigned char code) const { return widths_[code]; }  // in 1/1000 em
    void markUsed(unsigned char code) { used_.insert(code); }

    PdfUnicodeFont* companion() const { return companion_.get(); }
    PdfUnicodeFont& makeCompanion(std::string resourceName, PdfObjectTable& objects);

    // Adds /FirstChar, /LastChar and /Widths of the used codes, and completes the companion.
    void finish(PdfObjectTable& objects, bool compress);

  private:
    PdfFontKey key_;
    std::shared_ptr<const fonts::FontFace> face_;
    std::string baseFont_;
    std::shared_ptr<PdfDictionary> descriptor_;
    int widths_[256] = {};
    std::set<unsigned char> used_;
    std::unique_ptr<PdfUnicodeFont> companion_;
};

// The base-font name: the family without characters outside "!".."~", plus ",Bold", ",Italic"
// or ",BoldItalic"; a family with characters above 127 gives the PostScript name instead.
std::string baseFontName(const std::string& family, bool bold, bool italic,
                         const std::string& postScriptName);

}  // namespace zor::pdf
