#include "pdf/pdf_font.h"

#include <cmath>
#include <cstdio>

#include "text/encoding.h"

namespace zor::pdf {
namespace {

// Font units to the 1000-units-per-em scale of PDF font metrics.
int perMille(int fontUnits, int unitsPerEm) {
    return int(std::lround(fontUnits * 1000.0 / unitsPerEm));
}

std::string hex4(unsigned value) {
    char text[8];
    std::snprintf(text, sizeof text, "%04X", value & 0xFFFFu);
    return text;
}

// A Unicode value as UTF-16 code units in hex (a surrogate pair above U+FFFF).
std::string utf16Hex(char32_t c) {
    if (c < 0x10000) return hex4(unsigned(c));
    char32_t v = c - 0x10000;
    return hex4(0xD800 + unsigned(v >> 10)) + hex4(0xDC00 + unsigned(v & 0x3FF));
}

std::shared_ptr<PdfDictionary> makeDescriptor(const std::string& baseFont,
                                              const fonts::FontFace& face) {
    int upem = face.unitsPerEm();
    auto box = face.boundingBox();
    auto d = std::make_shared<PdfDictionary>();
    d->set("Type", makeName("FontDescriptor"));
    d->set("FontName", makeName(baseFont));
    d->set("Ascent", makeNumber(perMille(face.ascender(), upem)));
    d->set("Descent", makeNumber(perMille(face.descender(), upem)));
    d->set("CapHeight", makeNumber(666));
    d->set("ItalicAngle", makeReal(face.italicAngle()));
    d->set("StemV", makeNumber(87));
    d->set("Flags", makeNumber(32));
    d->set("FontBBox",
           std::make_shared<PdfArray>(std::vector<PdfObjectPtr>{
               makeNumber(perMille(box.xMin, upem)), makeNumber(perMille(box.yMin, upem)),
               makeNumber(perMille(box.xMax, upem)), makeNumber(perMille(box.yMax, upem))}));
    return d;
}

}  // namespace

std::string baseFontName(const std::string& family, bool bold, bool italic,
                         const std::string& postScriptName) {
    std::string name;
    for (char c : family) {
        auto u = static_cast<unsigned char>(c);
        if (u > 127) return postScriptName;
        if (u >= 33 && u <= 126) name += c;
    }
    if (bold && italic) return name + ",BoldItalic";
    if (bold) return name + ",Bold";
    if (italic) return name + ",Italic";
    return name;
}

PdfFont::PdfFont(std::string resourceName, PdfFontKey key,
                 std::shared_ptr<const fonts::FontFace> face, PdfObjectTable& objects)
    : PdfFontResource(resourceName, std::make_shared<PdfDictionary>()),
      key_(std::move(key)),
      face_(std::move(face)),
      baseFont_(baseFontName(key_.family, key_.bold, key_.italic, face_->postScriptName())) {
    int upem = face_->unitsPerEm();
    int spaceWidth = perMille(face_->advanceWidth(U' '), upem);
    for (int code = 0; code < 256; ++code) {
        widths_[code] = face_->isFixedPitch()
                            ? spaceWidth
                            : perMille(face_->advanceWidth(text::cp1252ToCodePoint(code)), upem);
    }

    auto& font = *dictionary();
    objects.add(dictionary());
    descriptor_ = objects.add(makeDescriptor(baseFont_, *face_));
    font.set("Type", makeName("Font"));
    font.set("BaseFont", makeName(baseFont_));
    font.set("Subtype", makeName("TrueType"));
    font.set("Encoding", makeName("WinAnsiEncoding"));
    font.set("FontDescriptor", descriptor_);
    font.set("Name", makeName(resourceName));
}

PdfUnicodeFont& PdfFont::makeCompanion(std::string resourceName, PdfObjectTable& objects) {
    companion_ =
        std::make_unique<PdfUnicodeFont>(std::move(resourceName), baseFont_, face_, descriptor_);
    objects.add(companion_->dictionary());
    return *companion_;
}

void PdfFont::finish(PdfObjectTable& objects, bool compress) {
    // A font selected but never written with still needs a valid width table.
    unsigned first = used_.empty() ? 32 : *used_.begin();
    unsigned last = used_.empty() ? 32 : *used_.rbegin();
    auto widths = std::make_shared<PdfArray>();
    for (unsigned code = first; code <= last; ++code) {
        bool used = used_.empty() || used_.contains(static_cast<unsigned char>(code));
        widths->add(makeNumber(used ? widths_[code] : 0));
    }
    dictionary()->set("FirstChar", makeNumber(int(first)));
    dictionary()->set("LastChar", makeNumber(int(last)));
    dictionary()->set("Widths", widths);
    if (companion_) companion_->finish(objects, compress);
}

PdfUnicodeFont::PdfUnicodeFont(std::string resourceName, const std::string& baseFont,
                               std::shared_ptr<const fonts::FontFace> face,
                               std::shared_ptr<PdfDictionary> descriptor)
    : PdfFontResource(resourceName, std::make_shared<PdfDictionary>()),
      face_(std::move(face)),
      baseFont_(baseFont),
      descriptor_(std::move(descriptor)) {
    auto& font = *dictionary();
    font.set("Type", makeName("Font"));
    font.set("BaseFont", makeName(baseFont_));
    font.set("Subtype", makeName("Type0"));
    font.set("Encoding", makeName("Identity-H"));
    font.set("Name", makeName(resourceName));
}

unsigned PdfUnicodeFont::useCharacter(char32_t c) {
    unsigned glyph = face_->glyphIndex(c);
    auto [it, inserted] = used_.emplace(glyph, c);
    if (!inserted && it->second == 0) it->second = c;
    return glyph;
}

void PdfUnicodeFont::useGlyph(unsigned glyph) { used_.emplace(glyph, char32_t(0)); }

int PdfUnicodeFont::glyphWidth(unsigned glyph) const {
    return perMille(face_->glyphAdvance(glyph), face_->unitsPerEm());
}

std::string PdfUnicodeFont::toUnicodeCMap() const {
    std::string cmap =
        "/CIDInit /ProcSet findresource begin\n"
        "12 dict begin\n"
        "begincmap\n"
        "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n"
        "/CMapName /Adobe-Identity-UCS def\n"
        "/CMapType 2 def\n"
        "1 begincodespacerange\n";
    unsigned lowest = used_.empty() ? 0 : used_.begin()->first;
    unsigned highest = used_.empty() ? 0 : used_.rbegin()->first;
    cmap.append("<").append(hex4(lowest)).append("> <").append(hex4(highest));
    cmap += ">\nendcodespacerange\n";

    std::vector<std::pair<unsigned, char32_t>> mapped;
    for (auto [glyph, c] : used_) {
        if (c != 0) mapped.emplace_back(glyph, c);
    }
    constexpr std::size_t kBlock = 100;
    for (std::size_t start = 0; start < mapped.size(); start += kBlock) {
        std::size_t end = std::min(mapped.size(), start + kBlock);
        cmap += std::to_string(end - start) + " beginbfchar\n";
        for (std::size_t i = start; i < end; ++i) {
            cmap.append("<").append(hex4(mapped[i].first)).append("> <");
            cmap.append(utf16Hex(mapped[i].second)).append(">\n");
        }
        cmap += "endbfchar\n";
    }
    cmap +=
        "endcmap\n"
        "CMapName currentdict /CMap defineresource pop\n"
        "end\n"
        "end\n";
    return cmap;
}

void PdfUnicodeFont::finish(PdfObjectTable& objects, bool compress) {
    std::string widths = "[";
    for (const auto& entry : used_) {
        widths += std::to_string(entry.first) + "[" + std::to_string(glyphWidth(entry.first)) + "]";
    }
    widths += "]";

    if (!descendant_) {
        descendant_ = objects.add(std::make_shared<PdfDictionary>());
        toUnicode_ = objects.add(std::make_shared<PdfStream>(compress));
    }
    auto& cid = descendant_;
    cid->set("Type", makeName("Font"));
    cid->set("Subtype", makeName("CIDFontType2"));
    cid->set("BaseFont", makeName(baseFont_));
    cid->set("CIDSystemInfo", makeRaw("<< /Ordering(Identity)/Registry(Adobe)/Supplement 0 >>"));
    cid->set("DW", makeNumber(glyphWidth(0)));
    cid->set("W", makeRaw(widths));
    cid->set("FontDescriptor", descriptor_);

    toUnicode_->data() = toUnicodeCMap();

    dictionary()->set("DescendantFonts",
                      std::make_shared<PdfArray>(std::vector<PdfObjectPtr>{cid}));
    dictionary()->set("ToUnicode", toUnicode_);
}

}  // namespace zor::pdf
