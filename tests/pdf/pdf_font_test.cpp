#include <gtest/gtest.h>

#include <regex>

#include "pdf/pdf_document.h"
#include "pdf/pdf_errors.h"
#include "pdf_test_support.h"

namespace zor::pdf {
namespace {

using testing::fixedClock;
using testing::TempPdf;

std::string objectBody(const std::string& pdf, int n) {
    std::string head = "\n" + std::to_string(n) + " 0 obj\n";
    auto start = pdf.find(head);
    if (start == std::string::npos) return {};
    start += head.size();
    return pdf.substr(start, pdf.find("\nendobj", start) - start);
}

void showLine(TPdfDocument& document, PdfFont& font, double y, std::u32string_view text) {
    auto& canvas = document.canvas();
    canvas.beginText();
    canvas.moveText(72, y);
    canvas.showText(font, 12, text);
    canvas.endText();
}

TEST(PdfFonts, BaseFontNamesDropBlanksAndCarryTheStyle) {
    EXPECT_EQ(baseFontName("Times New Roman", false, false, "X"), "TimesNewRoman");
    EXPECT_EQ(baseFontName("Arial", true, false, "X"), "Arial,Bold");
    EXPECT_EQ(baseFontName("Arial", false, true, "X"), "Arial,Italic");
    EXPECT_EQ(baseFontName("Courier New", true, true, "X"), "CourierNew,BoldItalic");
    EXPECT_EQ(baseFontName("Caf\xC3\xA9 Sans", true, false, "CafeSans-Bold"), "CafeSans-Bold");
}

TEST(PdfFonts, LookupFallsBackToTheInstalledStandardFamilies) {
    EXPECT_EQ(TPdfDocument::lookupFamily("Calibri"), "Calibri");
    EXPECT_EQ(TPdfDocument::lookupFamily("Helvetica"), "Arial");
    EXPECT_EQ(TPdfDocument::lookupFamily("Courier"), "Courier New");
    EXPECT_EQ(TPdfDocument::lookupFamily("Times"), "Times New Roman");
    EXPECT_EQ(TPdfDocument::lookupFamily("Geen Bestaand Lettertype"), "Arial");
    EXPECT_EQ(TPdfDocument::lookupFamily("calibri"), "Arial");  // names are case-sensitive
}

TEST(PdfFonts, FontsAreNamedInOrderOfFirstUseAndSharedPerStyle) {
    TPdfDocument document(fixedClock());
    document.addPage();
    auto& arial = document.font("Arial", false, false);
    EXPECT_EQ(arial.resourceName(), "F0");
    EXPECT_EQ(&document.font("Helvetica", false, false), &arial);
    EXPECT_EQ(document.unicodeFont(arial).resourceName(), "F1");
    auto& bold = document.font("Arial", true, false);
    EXPECT_EQ(bold.resourceName(), "F2");
    EXPECT_EQ(bold.baseFont(), "Arial,Bold");
    EXPECT_EQ(document.font("Unknown Family", false, false).baseFont(), "Arial");
}

TEST(PdfFonts, OnlyTheUsedCodesGetWidths) {
    TPdfDocument document(fixedClock());
    document.setCompression(false);
    document.addPage();
    auto& arial = document.font("Arial", false, false);
    showLine(document, arial, 700, U"ABBA");
    std::string pdf = testing::saveToString(document);
    std::string font = objectBody(pdf, 6);
    EXPECT_NE(font.find("/FirstChar 65\n/LastChar 66\n/Widths [667 667 ]"), std::string::npos)
        << font;
    EXPECT_TRUE(
        font.starts_with("<<\n/Type /Font\n/BaseFont /Arial\n/Subtype /TrueType\n"
                         "/Encoding /WinAnsiEncoding\n/FontDescriptor 7 0 R\n/Name /F0\n"))
        << font;
    EXPECT_NE(pdf.find("/F0 12 Tf\n(ABBA) Tj"), std::string::npos);
}

TEST(PdfFonts, TextRunsEscapeOnlyDelimitersAndBackslashes) {
    TPdfDocument document(fixedClock());
    document.addPage();
    auto& arial = document.font("Arial", false, false);
    showLine(document, arial, 700, U"(a)\\b\r\n\tc\u00A0d");
    EXPECT_EQ(document.pages()[0].contents->data(),
              "BT\n72 700 Td\n/F0 12 Tf\n(\\(a\\)\\\\b\r\n\tc d) Tj\nET\n");
}

TEST(PdfFonts, DescriptorCarriesTheOutlineMetricsOfTheFaceUsed) {
    TPdfDocument document(fixedClock());
    document.addPage();
    auto& calibri = document.font("Calibri", false, true);
    showLine(document, calibri, 700, U"x");
    std::string descriptor = objectBody(testing::saveToString(document), 7);
    EXPECT_EQ(calibri.baseFont(), "Calibri,Italic");
    // Carlito Italic: 2048 units per em, typographic ascender 1536, descender -512.
    std::regex expected(
        "<<\n/Type /FontDescriptor\n/FontName /Calibri,Italic\n/Ascent 750\n/Descent -250\n"
        "/CapHeight 666\n/ItalicAngle -1?\\d(\\.\\d+)?\n/StemV 87\n/Flags 32\n"
        "/FontBBox \\[-?\\d+ -\\d+ \\d+ \\d+ \\]\n>>");
    EXPECT_TRUE(std::regex_match(descriptor, expected)) << descriptor;
}

TEST(PdfFonts, FixedPitchFontsGiveEveryCodeTheWidthOfTheSpace) {
    TPdfDocument document(fixedClock());
    document.addPage();
    auto& courier = document.font("Courier New", false, false);
    EXPECT_EQ(courier.charWidth('i'), courier.charWidth(' '));
    EXPECT_EQ(courier.charWidth('W'), 600);
}

TEST(PdfFonts, CharactersOutsideWinAnsiGoThroughTheUnicodeCompanion) {
    TPdfDocument document(fixedClock());
    document.addPage();
    auto& calibri = document.font("Calibri", false, false);
    auto& arialBold = document.font("Arial", true, false);
    showLine(document, calibri, 700, U"Bedrag: 12 \u20AC, naam: Micha\u0142 \u0141ukasz");
    showLine(document, arialBold, 650, U"Co\u00EBffici\u00EBnt\u00A0\u2264 3");

    TempPdf file;
    ASSERT_NO_THROW(file.write(document));
    auto check = testing::qpdfCheck(file);
    EXPECT_EQ(check.exitCode, 0) << check.output;
    std::string text = testing::pdfToText(file);
    EXPECT_NE(text.find("Bedrag: 12 \u20AC, naam: Micha\u0142 \u0141ukasz"), std::string::npos)
        << text;
    EXPECT_NE(text.find("Co\u00EBffici\u00EBnt \u2264 3"), std::string::npos) << text;

    std::string fonts = testing::pdfFonts(file);
    EXPECT_TRUE(std::regex_search(fonts, std::regex("\nCalibri +TrueType +WinAnsi +no")));
    EXPECT_TRUE(std::regex_search(fonts, std::regex("\nCalibri +CID TrueType +Identity-H +no")));
    EXPECT_TRUE(std::regex_search(fonts, std::regex("\nArial,Bold +TrueType +WinAnsi +no")));
    EXPECT_TRUE(std::regex_search(fonts, std::regex("\nArial,Bold +CID TrueType +Identity-H")));
}

TEST(PdfFonts, SpacesBetweenCompanionCharactersStayInTheGlyphRun) {
    TPdfDocument document(fixedClock());
    document.addPage();
    auto& arial = document.font("Arial", false, false);
    showLine(document, arial, 700, U"\u041F\u0440\u0438 \u043C\u0438\u0440 ok");
    EXPECT_TRUE(std::regex_search(document.pages()[0].contents->data(),
                                  std::regex("Td\n/F1 12 Tf\n<[0-9A-F]{28}> Tj\n"
                                             "/F0 12 Tf\n\\( ok\\) Tj\nET\n$")))
        << document.pages()[0].contents->data();

    TempPdf file;
    ASSERT_NO_THROW(file.write(document));
    std::string text = testing::pdfToText(file);
    EXPECT_NE(text.find("\u041F\u0440\u0438 \u043C\u0438\u0440 ok"), std::string::npos) << text;
}

TEST(PdfFonts, ToUnicodeMapsComeInBlocksOfAHundred) {
    TPdfDocument document(fixedClock());
    document.addPage();
    auto& arial = document.font("Arial", false, false);
    std::u32string cyrillic;
    for (char32_t c = 0x410; c < 0x410 + 150; ++c) cyrillic += c;
    showLine(document, arial, 700, cyrillic);
    std::string cmap = document.unicodeFont(arial).toUnicodeCMap();
    EXPECT_NE(cmap.find("100 beginbfchar\n"), std::string::npos);
    EXPECT_NE(cmap.find("50 beginbfchar\n"), std::string::npos);
    EXPECT_NE(cmap.find("> <0410>\n"), std::string::npos);
    EXPECT_TRUE(
        cmap.ends_with("endbfchar\nendcmap\nCMapName currentdict /CMap defineresource "
                       "pop\nend\nend\n"));

    TempPdf file;
    ASSERT_NO_THROW(file.write(document));
    EXPECT_EQ(testing::qpdfCheck(file).exitCode, 0);
    std::string text = testing::pdfToText(file);
    EXPECT_NE(text.find("\u0410\u0411\u0412"), std::string::npos) << text;
}

TEST(PdfFonts, TheDescendantFontIsWrittenInItsFixedForm) {
    TPdfDocument document(fixedClock());
    document.addPage();
    auto& arial = document.font("Arial", false, false);
    auto& canvas = document.canvas();
    canvas.beginText();
    canvas.showGlyphs(arial, 10, {37, 36});
    canvas.endText();
    auto& companion = document.unicodeFont(arial);
    std::string pdf = testing::saveToString(document);
    // Objects 5 (content), 6 font, 7 descriptor, 8 companion, then the descendant and its map.
    std::string descendant = objectBody(pdf, 9);
    std::string expected =
        "<<\n/Type /Font\n/Subtype /CIDFontType2\n/BaseFont /Arial\n"
        "/CIDSystemInfo << /Ordering(Identity)/Registry(Adobe)/Supplement 0 >>\n"
        "/DW " +
        std::to_string(companion.glyphWidth(0)) + "\n/W [36[" +
        std::to_string(companion.glyphWidth(36)) + "]37[" +
        std::to_string(companion.glyphWidth(37)) + "]]\n/FontDescriptor 7 0 R\n>>";
    EXPECT_EQ(descendant, expected);
    EXPECT_NE(objectBody(pdf, 8).find("/DescendantFonts [9 0 R ]\n/ToUnicode 10 0 R\n>>"),
              std::string::npos)
        << objectBody(pdf, 8);
}

TEST(PdfFonts, GlyphNumbersAreShownInTheCompanion) {
    TPdfDocument document(fixedClock());
    document.addPage();
    auto& arial = document.font("Arial", false, false);
    auto& canvas = document.canvas();
    canvas.beginText();
    canvas.showGlyphs(arial, 10, {36, 37});
    canvas.endText();
    EXPECT_EQ(document.pages()[0].contents->data(), "BT\n/F1 10 Tf\n<00240025> Tj\nET\n");
    TempPdf file;
    ASSERT_NO_THROW(file.write(document));
    EXPECT_EQ(testing::qpdfCheck(file).exitCode, 0);
}

}  // namespace
}  // namespace zor::pdf
