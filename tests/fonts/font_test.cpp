#include "fonts/font.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace zor::fonts {
namespace {

std::string fileName(const FontFace& face) {
    return std::filesystem::path(face.filePath()).filename().string();
}

unsigned readU16(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return (unsigned(bytes.at(at)) << 8) | bytes.at(at + 1);
}

// Advance of a glyph read straight from the font's hhea and hmtx tables.
int hmtxAdvance(const FontFace& face, unsigned glyph) {
    auto hhea = face.sfntTable(sfntTag("hhea"));
    auto hmtx = face.sfntTable(sfntTag("hmtx"));
    unsigned metrics = readU16(hhea, 34);
    unsigned entry = std::min(glyph, metrics - 1);
    return int(readU16(hmtx, entry * 4));
}

TEST(ResolveFont, MetricCompatibleStandInsServeWindowsFamilies) {
    auto calibri = resolveFont({"Calibri"});
    ASSERT_TRUE(calibri);
    EXPECT_EQ(fileName(*calibri), "Carlito-Regular.ttf");
    EXPECT_EQ(calibri->requestedFamily(), "Calibri");
    EXPECT_EQ(calibri->family(), "Carlito");
    EXPECT_EQ(calibri->postScriptName(), "Carlito");

    auto arialBold = resolveFont({"Arial", 700, false});
    ASSERT_TRUE(arialBold);
    EXPECT_EQ(fileName(*arialBold), "LiberationSans-Bold.ttf");
    EXPECT_TRUE(arialBold->isBold());
    EXPECT_FALSE(arialBold->isItalic());

    auto timesItalic = resolveFont({"Times New Roman", 400, true});
    ASSERT_TRUE(timesItalic);
    EXPECT_EQ(fileName(*timesItalic), "LiberationSerif-Italic.ttf");
    EXPECT_LT(timesItalic->italicAngle(), 0);

    auto courierBoldItalic = resolveFont({"Courier New", 700, true});
    ASSERT_TRUE(courierBoldItalic);
    EXPECT_EQ(fileName(*courierBoldItalic), "LiberationMono-BoldItalic.ttf");
    EXPECT_TRUE(courierBoldItalic->isFixedPitch());
}

TEST(ResolveFont, SemiBoldCountsAsBoldAndFacesAreCached) {
    auto semi = resolveFont({"Arial", 600, false});
    ASSERT_TRUE(semi);
    EXPECT_EQ(fileName(*semi), "LiberationSans-Bold.ttf");
    EXPECT_EQ(resolveFont({"Calibri"}), resolveFont({"Calibri"}));
}

TEST(ResolveFont, UnknownFamilyIsNotSubstituted) {
    EXPECT_EQ(resolveFont({"No Such Family 123"}), nullptr);
    EXPECT_EQ(resolveFont({"arial"}), nullptr);  // family names are case-sensitive
    EXPECT_FALSE(isFamilyInstalled("No Such Family 123"));
}

TEST(InstalledFamilies, ListsRealAndStandInFamiliesSortedOnce) {
    const auto& families = installedTrueTypeFamilies();
    for (const char* name : {"Arial", "Calibri", "Carlito", "Courier New", "Liberation Sans",
                             "Liberation Serif", "Liberation Mono", "Times New Roman"}) {
        EXPECT_TRUE(isFamilyInstalled(name)) << name;
    }
    EXPECT_TRUE(std::is_sorted(families.begin(), families.end()));
    EXPECT_EQ(std::adjacent_find(families.begin(), families.end()), families.end());
    EXPECT_TRUE(std::none_of(families.begin(), families.end(),
                             [](const std::string& f) { return f.starts_with('@'); }));
}

TEST(FontFace, AdvanceWidthsMatchTheHorizontalMetricsTable) {
    auto arial = resolveFont({"Arial"});
    ASSERT_TRUE(arial);
    EXPECT_EQ(arial->unitsPerEm(), 2048);
    EXPECT_EQ(arial->advanceWidth(U'A'), 1366);
    EXPECT_EQ(arial->advanceWidth(U' '), 569);
    for (char32_t c : {U'A', U'W', U'i', U'0', U'€', U'ł', U'é'}) {
        ASSERT_TRUE(arial->hasGlyph(c));
        EXPECT_EQ(arial->advanceWidth(c), hmtxAdvance(*arial, arial->glyphIndex(c)));
    }
    EXPECT_EQ(arial->advanceWidth(U"AA "), 2 * 1366 + 569);

    auto calibri = resolveFont({"Calibri"});
    ASSERT_TRUE(calibri);
    for (char32_t c : {U'A', U'm', U'1', U'ë'}) {
        EXPECT_EQ(calibri->advanceWidth(c), hmtxAdvance(*calibri, calibri->glyphIndex(c)));
    }
}

TEST(FontFace, MissingGlyphMeasuresAsTheNotdefGlyph) {
    auto arial = resolveFont({"Arial"});
    ASSERT_TRUE(arial);
    EXPECT_FALSE(arial->hasGlyph(U'\U0001F600'));
    EXPECT_EQ(arial->glyphIndex(U'\U0001F600'), 0u);
    EXPECT_EQ(arial->advanceWidth(U'\U0001F600'), arial->glyphAdvance(0));
}

TEST(FontFace, OutlineMetricsComeFromTheFontTables) {
    auto arial = resolveFont({"Arial"});
    ASSERT_TRUE(arial);
    EXPECT_EQ(arial->ascender(), 1491);  // OS/2 typographic values of Liberation Sans
    EXPECT_EQ(arial->descender(), -431);
    EXPECT_EQ(arial->winAscent(), 1854);
    EXPECT_EQ(arial->winDescent(), 434);
    EXPECT_GT(arial->capHeight(), 1300);
    EXPECT_GT(arial->xHeight(), 1000);
    auto box = arial->boundingBox();
    EXPECT_LT(box.xMin, 0);
    EXPECT_LT(box.yMin, arial->descender());
    EXPECT_GT(box.yMax, arial->ascender());
    EXPECT_EQ(arial->italicAngle(), 0.0);
    EXPECT_FALSE(arial->isFixedPitch());
    EXPECT_EQ(arial->weight(), 400);
    EXPECT_TRUE(arial->sfntTable(sfntTag("zzzz")).empty());
    EXPECT_FALSE(arial->sfntTable(sfntTag("name")).empty());
}

}  // namespace
}  // namespace zor::fonts
