#include "pdf/emf_replay.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <random>
#include <regex>

#include "emf/canvas.h"
#include "emf/recorder.h"
#include "pdf/pdf_errors.h"
#include "pdf_test_support.h"

namespace zor::pdf {
namespace {

using emf::Point;
using emf::Rect;
using testing::fixedClock;

constexpr Rect kA4Frame{0, 0, 21000, 29700};  // 0.01 mm
constexpr emf::Size kA4Pixels{794, 1123};     // at 96 dots per inch

// A page image recorded like a report page: 0.01 mm logical units on an A4 sheet.
std::vector<std::uint8_t> pageImage(const std::function<void(emf::Recorder&)>& draw) {
    emf::Recorder recorder(kA4Frame, emf::ReferenceDevice::screen(96));
    recorder.setMapMode(emf::map_mode::Anisotropic);
    recorder.setWindowExt({21000, 29700});
    recorder.setViewportExt(kA4Pixels);
    draw(recorder);
    return recorder.finish();
}

std::string replayed(const std::vector<std::uint8_t>& image) {
    TPdfDocument document(fixedClock());
    document.addPage();
    replayPageImage(document, image);
    return document.pages()[0].contents->data();
}

std::string replayed(const std::function<void(emf::Recorder&)>& draw) {
    return replayed(pageImage(draw));
}

std::size_t count(const std::string& text, const std::string& piece) {
    std::size_t n = 0;
    for (auto at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1)) ++n;
    return n;
}

std::uint32_t solidPen(emf::Recorder& r, int width, emf::ColorRef color = 0) {
    auto pen = r.createPen({emf::pen_style::Solid, width, color});
    r.selectObject(pen);
    return pen;
}

std::uint32_t solidBrush(emf::Recorder& r, emf::ColorRef color) {
    auto brush = r.createBrush({emf::brush_style::Solid, color, 0});
    r.selectObject(brush);
    return brush;
}

std::uint32_t font(emf::Recorder& r, int height, std::u16string face = u"Arial") {
    emf::LogFont f;
    f.height = height;
    f.faceName = std::move(face);
    auto handle = r.createFont(f);
    r.selectObject(handle);
    return handle;
}

// The numbers of the first content line that ends in the operator.
std::vector<double> operands(const std::string& content, const std::string& op) {
    std::smatch m;
    std::regex line("(^|\n)([-0-9. ]*) " + op + "\n");
    if (!std::regex_search(content, m, line)) return {};
    std::vector<double> values;
    std::istringstream in(m[2].str());
    for (double v; in >> v;) values.push_back(v);
    return values;
}

// The byte offsets of the records of a picture with the given type.
std::vector<std::size_t> recordsOfType(const std::vector<std::uint8_t>& image, std::uint32_t type) {
    auto u32 = [&](std::size_t at) {
        return std::uint32_t(image[at]) | (std::uint32_t(image[at + 1]) << 8) |
               (std::uint32_t(image[at + 2]) << 16) | (std::uint32_t(image[at + 3]) << 24);
    };
    std::vector<std::size_t> found;
    for (std::size_t at = 0; at + 8 <= image.size() && u32(at + 4) >= 8; at += u32(at + 4)) {
        if (u32(at) == type) found.push_back(at);
    }
    return found;
}

void putU32(std::vector<std::uint8_t>& image, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) image[at + i] = std::uint8_t(value >> (8 * i));
}

TEST(Replay, ReportUnitsMapOntoTheA4PageWithTheTopEdgeAtZero) {
    std::string content = replayed([](emf::Recorder& r) {
        solidPen(r, 10);
        r.moveTo({0, 0});
        r.lineTo({21000, 29700});
    });
    EXPECT_TRUE(content.starts_with("q\n"));
    EXPECT_TRUE(content.ends_with("S\nQ\n"));
    auto start = operands(content, "m");
    auto end = operands(content, "l");
    ASSERT_EQ(start.size(), 2u);
    ASSERT_EQ(end.size(), 2u);
    EXPECT_EQ(start[0], 0);
    EXPECT_EQ(start[1], 842);  // y = 0 is the page's top edge
    EXPECT_NEAR(end[0], 595, 1);
    EXPECT_NEAR(end[1], 0, 1);
    EXPECT_EQ(operands(content, "w"), std::vector<double>{0.28});  // 0.1 mm
}

TEST(Replay, APageRecordedOnAnotherScreenKeepsItsSize) {
    emf::Recorder recorder(kA4Frame, emf::ReferenceDevice::screen(144));
    recorder.setMapMode(emf::map_mode::Anisotropic);
    recorder.setWindowExt({21000, 29700});
    recorder.setViewportExt({1191, 1684});  // A4 at 144 dots per inch
    solidPen(recorder, 10);
    recorder.moveTo({0, 0});
    recorder.lineTo({21000, 29700});
    auto end = operands(replayed(recorder.finish()), "l");
    ASSERT_EQ(end.size(), 2u);
    EXPECT_NEAR(end[0], 595, 1);
    EXPECT_NEAR(end[1], 0, 1);
}

TEST(Replay, ConsecutiveLinesFormOnePathStrokedOnce) {
    std::string content = replayed([](emf::Recorder& r) {
        solidPen(r, 10);
        r.moveTo({1000, 1000});
        r.lineTo({2000, 1000});
        r.lineTo({2000, 2000});
        r.setTextColor(0);  // any other record ends the path
        r.lineTo({3000, 3000});
    });
    std::regex path("m\n[^\n]* l\n[^\n]* l\nS\n[^\n]* m\n[^\n]* l\nS\nQ\n$");
    EXPECT_TRUE(std::regex_search(content, path)) << content;
    EXPECT_EQ(count(content, " l\n"), 3u);
}

TEST(Replay, AZeroWidthPenSuppressesStrokesUntilAnotherPenIsSelected) {
    std::string content = replayed([](emf::Recorder& r) {
        solidPen(r, 0);
        solidBrush(r, emf::rgb(255, 0, 0));
        r.moveTo({100, 100});
        r.lineTo({5000, 100});
        r.rectangle({1000, 1000, 2000, 2000});
        r.polyline(std::vector<Point>{{0, 0}, {100, 100}});
        solidPen(r, 20, emf::rgb(0, 0, 255));
        r.rectangle({3000, 3000, 4000, 4000});
    });
    std::regex expected("1 0 0 rg\n[^\n]* re\nf\n0 0 1 RG\n\\[\\] 0 d\n0.57 w\n[^\n]* re\nB\n");
    EXPECT_TRUE(std::regex_search(content, expected)) << content;
    EXPECT_EQ(count(content, "S\n"), 0u);
    EXPECT_EQ(count(content, " l\n"), 0u);
}

TEST(Replay, AHollowBrushPolygonIsStrokedNotFilled) {
    std::string content = replayed([](emf::Recorder& r) {
        solidPen(r, 10, emf::rgb(0, 128, 0));
        r.selectObject(emf::stockHandle(emf::StockObject::NullBrush));
        r.polygon(std::vector<Point>{{100, 100}, {2000, 100}, {1000, 2000}});
    });
    EXPECT_TRUE(std::regex_search(content, std::regex(" m\n[^\n]* l\n[^\n]* l\nh\nS\n")))
        << content;
    EXPECT_EQ(count(content, "rg\n"), 0u);
    EXPECT_EQ(count(content, "f\n") + count(content, "B\n"), 0u);
}

TEST(Replay, PenStylesBecomeDashPatternsAndRepeatedValuesAreWrittenOnce) {
    std::string content = replayed([](emf::Recorder& r) {
        auto dashed = r.createPen({emf::pen_style::DashDot, 10, emf::rgb(0, 0, 0)});
        r.selectObject(dashed);
        solidBrush(r, emf::rgb(10, 20, 30));
        r.rectangle({0, 0, 100, 100});
        auto sameColour = r.createBrush({emf::brush_style::Solid, emf::rgb(10, 20, 30), 0});
        r.selectObject(sameColour);
        r.ellipse({200, 200, 400, 400});
        r.selectObject(emf::stockHandle(emf::StockObject::BlackPen));
        r.rectangle({500, 500, 600, 600});
    });
    EXPECT_EQ(count(content, "rg\n"), 1u) << content;
    EXPECT_EQ(count(content, "RG\n"), 1u);
    EXPECT_NE(content.find("[4 1 1 1 ] 0 d\n"), std::string::npos);
    EXPECT_NE(content.find("[] 0 d\n0 w\n"), std::string::npos);  // the stock pen: solid, thin
    EXPECT_EQ(count(content, " c\n"), 4u);                        // the ellipse
}

TEST(Replay, AdvanceArraysAndAlignmentPositionText) {
    const std::vector<std::int32_t> dx = {300, 300, 401};
    auto textAt = [&](std::uint32_t align) {
        return replayed([&](emf::Recorder& r) {
            font(r, -400);
            r.setTextAlign(align);
            r.extTextOut({10000, 5000}, 0, {}, u"ABC", dx, {0, 0, 1, 1});
        });
    };
    auto left = operands(textAt(emf::text_align::Left | emf::text_align::Baseline), "Td");
    auto right = operands(textAt(emf::text_align::Right | emf::text_align::Baseline), "Td");
    auto centre = operands(textAt(emf::text_align::Center | emf::text_align::Baseline), "Td");
    double scale = 794.0 / 21000 * 0.75;
    ASSERT_EQ(left.size(), 2u);
    ASSERT_EQ(right.size(), 2u);
    ASSERT_EQ(centre.size(), 2u);
    EXPECT_NEAR(left[0], 10000 * scale, 0.01);
    EXPECT_NEAR(right[0], (10000 - 1001) * scale, 0.01);
    EXPECT_NEAR(centre[0], (10000 - 500) * scale, 0.01);
    EXPECT_NEAR(left[1], 842 - 5000 * (1123.0 / 29700 * 0.75), 0.01);
    EXPECT_EQ(right[1], left[1]);
}

TEST(Replay, TopAlignedTextStandsOnItsBaselineAndUsesTheEmHeightAsSize) {
    std::string content = replayed([](emf::Recorder& r) {
        font(r, -400);
        r.setTextColor(emf::rgb(0, 0, 255));
        r.extTextOut({1000, 1000}, 0, {}, u"Naam", {}, {0, 0, 1, 1});
    });
    double scaleY = 1123.0 / 29700 * 0.75;
    auto td = operands(content, "Td");
    ASSERT_EQ(td.size(), 2u);
    // Liberation Sans: ascent 1854 of 2048 units per em.
    EXPECT_NEAR(td[1], 842 - (1000 + std::lround(400 * 1854 / 2048.0)) * scaleY, 0.01);
    EXPECT_TRUE(std::regex_search(content, std::regex("/F0 11.34 Tf\n0 0 1 rg\nBT\n[^\n]* Td\n"
                                                      "\\(Naam\\) Tj\nET\n")))
        << content;
}

TEST(Replay, TheFontIsSetBeforeTheClipSoItOutlastsIt) {
    std::string content = replayed([](emf::Recorder& r) {
        font(r, -300);
        r.extTextOut({1000, 1000}, emf::eto::Clipped, {900, 900, 3000, 1400}, u"Een", {},
                     {900, 900, 3000, 1400});
        r.extTextOut({1000, 2000}, emf::eto::Clipped, {900, 1900, 3000, 2400}, u"Twee", {},
                     {900, 1900, 3000, 2400});
    });
    EXPECT_EQ(count(content, " Tf\n"), 1u) << content;
    EXPECT_TRUE(std::regex_search(content, std::regex("/F0 [0-9.]+ Tf\n0 0 0 rg\nq\n"))) << content;
}

TEST(Replay, ClipRectanglesClipAndEmptyOnesDoNot) {
    std::string clipped = replayed([](emf::Recorder& r) {
        font(r, -300);
        r.extTextOut({1000, 1000}, emf::eto::Clipped, {900, 900, 3000, 1400}, u"Te lang", {},
                     {900, 900, 3000, 1400});
    });
    EXPECT_TRUE(std::regex_search(clipped, std::regex("q\n[^\n]* m\n[^\n]* l\n[^\n]* l\n[^\n]* "
                                                      "l\nh\nW\nn\nBT\n[^Q]*ET\nQ\n")))
        << clipped;
    std::string unclipped = replayed([](emf::Recorder& r) {
        font(r, -300);
        r.extTextOut({1000, 1000}, emf::eto::Clipped, {900, 900, 900, 1400}, u"Leeg", {},
                     {900, 900, 900, 1400});
    });
    EXPECT_EQ(count(unclipped, "W\n"), 0u);
    EXPECT_EQ(count(unclipped, "q\n"), 1u);  // the replay's own
}

TEST(Replay, OpaqueTextFillsItsRectangleWithTheBrushColour) {
    std::string content = replayed([](emf::Recorder& r) {
        solidBrush(r, emf::rgb(255, 255, 0));
        font(r, -300);
        r.extTextOut({1000, 1000}, emf::eto::Opaque | emf::eto::Clipped, {900, 900, 3000, 1400},
                     u"Geel", {}, {900, 900, 3000, 1400});
    });
    EXPECT_TRUE(std::regex_search(content, std::regex("n\n1 1 0 rg\n[^\n]* re\nf\n0 0 0 rg\nq\n")))
        << content;
}

TEST(Replay, UnderlineAndStrikeOutAreLinesInTheTextColour) {
    std::string content = replayed([](emf::Recorder& r) {
        emf::LogFont f;
        f.height = -400;
        f.faceName = u"Arial";
        f.underline = 1;
        f.strikeOut = 1;
        r.selectObject(r.createFont(f));
        r.setTextColor(emf::rgb(255, 0, 0));
        r.setTextAlign(emf::text_align::Baseline);
        r.extTextOut({1000, 1000}, 0, {}, u"Streep", std::vector<std::int32_t>(6, 200),
                     {0, 0, 1, 1});
    });
    EXPECT_EQ(count(content, "S\n"), 2u) << content;
    EXPECT_NE(content.find("1 0 0 RG\n[] 0 d\n0.76 w\n"), std::string::npos) << content;
    auto from = operands(content, "m");
    ASSERT_EQ(from.size(), 2u);
    double scaleX = 794.0 / 21000 * 0.75;
    EXPECT_NEAR(from[0], 1000 * scaleX, 0.01);
}

TEST(Replay, TextWithoutAWinAnsiCodeUsesTheUnicodeCompanion) {
    std::string content = replayed([](emf::Recorder& r) {
        font(r, -300, u"Calibri");
        r.extTextOut({1000, 1000}, 0, {}, u"\u20AC 5, Micha\u0142", {}, {0, 0, 1, 1});
    });
    EXPECT_TRUE(std::regex_search(
        content, std::regex("/F0 [0-9.]+ Tf\n0 0 0 rg\nBT\n[^\n]* Td\n\\(\x80 5, Micha\\) Tj\n"
                            "/F1 [0-9.]+ Tf\n<[0-9A-F]{4}> Tj\n")))
        << content;
}

TEST(Replay, BitmapsBecomeImagesPlacedInTheirDestination) {
    TPdfDocument document(fixedClock());
    document.addPage();
    emf::Bitmap bitmap{3, 2, {255, 0, 0, 0, 255, 0, 0, 0, 255, 9, 9, 9, 8, 8, 8, 7, 7, 7}};
    replayPageImage(document, pageImage([&](emf::Recorder& r) {
                        r.stretchDIBits({2100, 2970, 4200, 5940}, bitmap);
                    }));
    std::string content = document.pages()[0].contents->data();
    double sx = 794.0 / 21000 * 0.75, sy = 1123.0 / 29700 * 0.75;
    auto cm = operands(content, "cm");
    ASSERT_EQ(cm.size(), 6u) << content;
    EXPECT_NEAR(cm[0], 2100 * sx, 0.01);
    EXPECT_NEAR(cm[3], 2970 * sy, 0.01);
    EXPECT_NEAR(cm[4], 2100 * sx, 0.01);
    EXPECT_NEAR(cm[5], 842 - 5940 * sy, 0.01);
    EXPECT_NE(content.find("/Syn1 Do\nQ\n"), std::string::npos);
    auto image = document.xObject("Syn1");
    ASSERT_TRUE(image);
    EXPECT_EQ(image->data(), std::string(bitmap.rgb.begin(), bitmap.rgb.end()));
}

TEST(Replay, BrokenPageImagesFailWithAnError) {
    auto valid = pageImage([](emf::Recorder& r) {
        solidPen(r, 10);
        r.saveDC();
        r.restoreDC(-1);
        r.rectangle({0, 0, 100, 100});
    });
    EXPECT_NO_THROW(replayed(valid));

    auto badSize = valid;
    putU32(badSize, recordsOfType(badSize, emf::rec::Rectangle).at(0) + 4, 0xFFFFFF00);
    EXPECT_THROW(replayed(badSize), std::runtime_error);

    auto oddSize = valid;
    putU32(oddSize, recordsOfType(oddSize, emf::rec::Rectangle).at(0) + 4, 13);
    EXPECT_THROW(replayed(oddSize), std::runtime_error);

    auto badHandle = valid;
    putU32(badHandle, recordsOfType(badHandle, emf::rec::SelectObject).at(0) + 8, 99);
    EXPECT_THROW(replayed(badHandle), PageImageError);

    auto restoreWithoutSave = valid;
    putU32(restoreWithoutSave, recordsOfType(restoreWithoutSave, emf::rec::SaveDC).at(0), 0x7F);
    EXPECT_THROW(replayed(restoreWithoutSave), PageImageError);

    auto tenSaves = pageImage([](emf::Recorder& r) {
        for (int i = 0; i < 10; ++i) r.saveDC();
    });
    EXPECT_NO_THROW(replayed(tenSaves));
    auto elevenSaves = pageImage([](emf::Recorder& r) {
        for (int i = 0; i < 11; ++i) r.saveDC();
    });
    EXPECT_THROW(replayed(elevenSaves), PageImageError);

    std::vector<std::uint8_t> truncated(valid.begin(), valid.begin() + 40);
    EXPECT_THROW(replayed(truncated), std::runtime_error);
}

// A damaged font height turns into a size the writer refuses: the export ends with the writer's
// error rather than writing an unreadable font size.
TEST(Replay, TextTooLargeForThePdfFailsWithTheWritersError) {
    auto textOfHeight = [](int height) {
        return pageImage([height](emf::Recorder& r) {
            font(r, -height);
            r.extTextOut({1000, 1000}, 0, {}, u"Naam", {}, {0, 0, 1, 1});
        });
    };
    EXPECT_NO_THROW(replayed(textOfHeight(10000)));  // 283 points
    try {
        replayed(textOfHeight(20000));  // 567 points
        ADD_FAILURE() << "a font of 567 points was written";
    } catch (const PdfInvalidValue& e) {
        EXPECT_STREQ(e.what(), "SetFontSize");
    }
}

TEST(Replay, RestoringAStateBringsBackItsPenAndMapping) {
    std::string content = replayed([](emf::Recorder& r) {
        solidPen(r, 10, emf::rgb(255, 0, 0));
        r.saveDC();
        r.setWindowExt({42000, 59400});  // half the scale
        solidPen(r, 10, emf::rgb(0, 255, 0));
        r.rectangle({0, 0, 2100, 2970});
        r.restoreDC(-1);
        r.rectangle({0, 0, 2100, 2970});
    });
    auto first = operands(content, "re");
    ASSERT_EQ(first.size(), 4u);
    EXPECT_NEAR(first[2], 29.78, 0.02);
    auto second = content.substr(content.find(" re\n") + 4);
    EXPECT_NE(second.find("1 0 0 RG\n"), std::string::npos) << content;
    EXPECT_NEAR(operands(second, "re").at(2), 59.55, 0.02);
}

TEST(Replay, OriginsAndWorldTransformsMoveAndScaleTheDrawing) {
    std::string shifted = replayed([](emf::Recorder& r) {
        solidPen(r, 10);
        r.setWindowOrg({1000, 2000});  // logical (1000, 2000) is the corner...
        r.setViewportOrg({10, 20});    // ...drawn 10, 20 pixels into the page
        r.rectangle({1000, 2000, 1100, 2100});
    });
    auto box = operands(shifted, "re");
    ASSERT_EQ(box.size(), 4u);
    double sy = 1123.0 / 29700 * 0.75;
    EXPECT_NEAR(box[0], 7.5, 0.01);
    EXPECT_NEAR(box[1], 842 - 15 - 100 * sy, 0.01);

    std::vector<std::uint8_t> image = pageImage([](emf::Recorder& r) {
        solidPen(r, 10);
        r.rectangle({0, 0, 100, 100});
    });
    // Put a world transform (scale 2, move 1000 units right) before the rectangle.
    auto at = recordsOfType(image, emf::rec::Rectangle).at(0);
    std::vector<std::uint8_t> transform(32, 0);
    putU32(transform, 0, emf::rec::SetWorldTransform);
    putU32(transform, 4, 32);
    float values[6] = {2, 0, 0, 2, 1000, 0};
    std::memcpy(transform.data() + 8, values, sizeof values);
    image.insert(image.begin() + std::ptrdiff_t(at), transform.begin(), transform.end());
    putU32(image, 48, std::uint32_t(image.size()));  // header: picture size
    std::string scaled = replayed(image);
    auto big = operands(scaled, "re");
    ASSERT_EQ(big.size(), 4u) << scaled;
    double sx = 794.0 / 21000 * 0.75;
    EXPECT_NEAR(big[0], 1000 * sx, 0.01);
    EXPECT_NEAR(big[2], 200 * sx, 0.01);
}

TEST(Replay, StockBrushesAndPatternFills) {
    std::string content = replayed([](emf::Recorder& r) {
        r.selectObject(emf::stockHandle(emf::StockObject::NullPen));
        r.selectObject(emf::stockHandle(emf::StockObject::LightGrayBrush));
        r.rectangle({0, 0, 100, 100});
        r.selectObject(emf::stockHandle(emf::StockObject::DarkGrayBrush));
        r.fillRect({200, 200, 300, 300});
    });
    EXPECT_TRUE(std::regex_search(
        content, std::regex("0.67 0.67 0.67 rg\n[^\n]* re\nf\nn\n0.4 0.4 0.4 rg\n[^\n]* re\nf\n")))
        << content;
}

TEST(Replay, RotatedTextIsPlacedWithATextMatrix) {
    std::string content = replayed([](emf::Recorder& r) {
        emf::LogFont f;
        f.height = -400;
        f.escapement = 900;
        f.faceName = u"Arial";
        r.selectObject(r.createFont(f));
        r.setTextAlign(emf::text_align::Baseline);
        r.extTextOut({1000, 5000}, 0, {}, u"Omhoog", {}, {0, 0, 1, 1});
    });
    auto tm = operands(content, "Tm");
    ASSERT_EQ(tm.size(), 6u) << content;
    EXPECT_EQ(tm[0], 0);
    EXPECT_EQ(tm[1], 1);
    EXPECT_EQ(tm[2], -1);
    EXPECT_EQ(tm[3], 0);
    EXPECT_NEAR(tm[4], 1000 * 794.0 / 21000 * 0.75, 0.01);
}

TEST(Replay, DamagedPageImagesNeverCrash) {
    auto valid = pageImage([](emf::Recorder& r) {
        solidPen(r, 10);
        solidBrush(r, emf::rgb(200, 200, 200));
        font(r, -300);
        r.rectangle({0, 0, 1000, 1000});
        r.polygon(std::vector<Point>{{0, 0}, {500, 500}, {0, 500}});
        r.extTextOut({100, 100}, emf::eto::Clipped | emf::eto::Opaque, {0, 0, 2000, 400}, u"Tekst",
                     std::vector<std::int32_t>(5, 100), {0, 0, 2000, 400});
        r.stretchDIBits({0, 0, 100, 100}, emf::Bitmap{2, 2, std::vector<std::uint8_t>(12, 9)});
        r.saveDC();
        r.moveTo({10, 10});
        r.lineTo({20, 20});
        r.restoreDC(-1);
    });
    std::mt19937 random(20261209);
    int failures = 0;
    for (int round = 0; round < 1000; ++round) {
        auto image = valid;
        int changes = 1 + int(random() % 4);
        for (int i = 0; i < changes; ++i) {
            std::size_t at = 88 + random() % (image.size() - 88);  // keep most of the header
            image[at] = std::uint8_t(random());
        }
        try {
            replayed(image);
        } catch (const std::exception&) {
            ++failures;
        }
    }
    EXPECT_GT(failures, 0);  // damage is noticed, and reported as an error
}

}  // namespace
}  // namespace zor::pdf
