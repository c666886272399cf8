#include "fonts/font.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace zor::fonts {
namespace {

std::string fileName(const FontFace& face) {
    return std::filesystem::path(face.filePath()).filename().string();
}

unsigned readU16(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return (unsigned(bytes.at(at)) << 8) | bytes.at(at + 1);
}

// A table of the font file, read by FreeType on its own.
std::vector<std::uint8_t> sfntTable(const FontFace& face, FT_ULong tag) {
    FT_Library library = nullptr;
    FT_Face file = nullptr;
    std::vector<std::uint8_t> bytes;
    FT_ULong length = 0;
    if (FT_Init_FreeType(&library) == 0 &&
        FT_New_Face(library, face.filePath().c_str(), 0, &file) == 0 &&
        FT_Load_Sfnt_Table(file, tag, 0, nullptr, &length) == 0) {
        bytes.resize(length);
        FT_Load_Sfnt_Table(file, tag, 0, bytes.data(), &length);
    }
    if (file) FT_Done_Face(file);
    if (library) FT_Done_FreeType(library);
    return bytes;
}

// Advance of a glyph read straight from the font's hhea and hmtx tables.
int hmtxAdvance(const FontFace& face, unsigned glyph) {
    auto hhea = sfntTable(face, FT_MAKE_TAG('h', 'h', 'e', 'a'));
    auto hmtx = sfntTable(face, FT_MAKE_TAG('h', 'm', 't', 'x'));
    unsigned metrics = readU16(hhea, 34);
    unsigned entry = std::min(glyph, metrics - 1);
    return int(readU16(hmtx, entry * 4));
}

TEST(ResolveFont, MetricCompatibleStandInsServeWindowsFamilies) {
    auto calibri = resolveFont({"Calibri"});
    ASSERT_TRUE(calibri);
    EXPECT_EQ(fileName(*calibri), "Carlito-Regular.ttf");
    EXPECT_EQ(calibri->family(), "Carlito");
    EXPECT_EQ(calibri->postScriptName(), "Carlito");

    auto arialBold = resolveFont({"Arial", 700, false});
    ASSERT_TRUE(arialBold);
    EXPECT_EQ(fileName(*arialBold), "LiberationSans-Bold.ttf");

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
        ASSERT_NE(arial->glyphIndex(c), 0u);
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
    EXPECT_GT(arial->xHeight(), 1000);
    auto box = arial->boundingBox();
    EXPECT_LT(box.xMin, 0);
    EXPECT_LT(box.yMin, arial->descender());
    EXPECT_GT(box.yMax, arial->ascender());
    EXPECT_EQ(arial->italicAngle(), 0.0);
    EXPECT_FALSE(arial->isFixedPitch());
}

// The message reaches the test leader when a report is composed or stored as PDF.
TEST(FontFace, UnusableFontFileIsReportedInDutchWithItsNameAndReason) {
    const auto folder = std::filesystem::temp_directory_path() /
                        ("zor-test-fonts-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const std::string missing = (folder / "Weg.ttf").string();
    const std::string notAFont = (folder / "Tekst.ttf").string();
    std::ofstream(notAFont) << "geen lettertype\n";
    const auto messageOf = [](const std::string& file) -> std::string {
        try {
            FontFace face(file, 0);
        } catch (const FontFileError& e) {
            return e.what();
        }
        return "geopend";
    };
    EXPECT_EQ(messageOf(missing),
              "Kan lettertypebestand \"" + missing + "\" niet openen. Het bestand bestaat niet.");
    EXPECT_EQ(messageOf(notAFont), "Kan lettertypebestand \"" + notAFont +
                                       "\" niet openen. Het is geen bruikbaar lettertype.");
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace zor::fonts
