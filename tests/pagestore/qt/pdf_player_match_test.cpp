// The report page drawn two ways at 96 dots per inch: exported as PDF and
// rasterised by poppler (pdftoppm), and played by the program's own EMF player
// onto a QImage. Both must show the same page: the same texts, lines, boxes,
// shades and pictures in the same places. The renderers differ in how they draw
// edges (poppler hints glyphs and snaps thin lines to the pixel grid, Qt draws
// them unhinted with anti-aliasing; the PDF places glyphs by the font's own
// widths where the player follows the page image's rounded advances; the two
// scale pictures with different filters), so the comparison blurs both
// renderings a little, lets every pixel find its match one pixel away, and then
// counts the pixels that still differ, over the whole page and within every
// small tile of it.
//
// Set ZOR_WRITE_RENDERINGS=<folder> to keep both renderings and a picture of
// their differences there.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "emf/records.h"
#include "pagestore/print_preview.h"
#include "pagestore/qt/emf_player.h"
#include "qt_app.h"
#include "report/report_documents.h"
#include "report_page_fixture.h"
#include "text/encoding.h"

namespace zor::pagestore::qt {
namespace {

namespace fs = std::filesystem;
using test::qtApp;

// A4 at 96 dots per inch, as pdftoppm rounds the page up to whole pixels.
constexpr int PageW = 794;
constexpr int PageH = 1123;
// Tiles of Tile × Tile pixels: a missing digit or a moved score box fills part of one.
constexpr int Tile = 24;

// Limits that the two renderings of the report page keep with room to spare
// (measured: 3.4, 6930 and 46), and that a missing word, a box one millimetre
// off, a wrong shade or a picture with red and blue swapped exceeds.
constexpr double MaxMeanDifference = 4.5;
constexpr int MaxFaintDifferences = 8500;   // over 16 after a 3 × 3 blur, whole page
constexpr int MaxClearDifferencesInATile = 60;  // over 24 after a 5 × 5 blur, per tile

class Rgb {
  public:
    explicit Rgb(const QImage& image) : w_(image.width()), h_(image.height()), p_(std::size_t(w_) * h_) {
        const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
        for (int y = 0; y < h_; ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
            for (int x = 0; x < w_; ++x)
                at(x, y) = {std::uint8_t(qRed(line[x])), std::uint8_t(qGreen(line[x])),
                            std::uint8_t(qBlue(line[x]))};
        }
    }
    Rgb(int w, int h) : w_(w), h_(h), p_(std::size_t(w) * h) {}

    int width() const { return w_; }
    int height() const { return h_; }
    std::array<std::uint8_t, 3>& at(int x, int y) { return p_[std::size_t(y) * w_ + x]; }
    const std::array<std::uint8_t, 3>& at(int x, int y) const { return p_[std::size_t(y) * w_ + x]; }

    // Every channel averaged over the (2r + 1) × (2r + 1) square around each pixel, edges
    // repeated: a horizontal pass, then a vertical one.
    Rgb blurred(int r) const {
        auto pass = [r](const Rgb& in, int dx, int dy) {
            Rgb out(in.w_, in.h_);
            for (int y = 0; y < in.h_; ++y) {
                for (int x = 0; x < in.w_; ++x) {
                    std::array<int, 3> sum{};
                    for (int k = -r; k <= r; ++k) {
                        const auto& p = in.at(std::clamp(x + k * dx, 0, in.w_ - 1),
                                              std::clamp(y + k * dy, 0, in.h_ - 1));
                        for (int c = 0; c < 3; ++c) sum[c] += p[c];
                    }
                    for (int c = 0; c < 3; ++c) out.at(x, y)[c] = std::uint8_t(sum[c] / (2 * r + 1));
                }
            }
            return out;
        };
        return pass(pass(*this, 1, 0), 0, 1);
    }

  private:
    int w_, h_;
    std::vector<std::array<std::uint8_t, 3>> p_;
};

int distance(const std::array<std::uint8_t, 3>& a, const std::array<std::uint8_t, 3>& b) {
    int d = 0;
    for (int c = 0; c < 3; ++c) d = std::max(d, std::abs(int(a[c]) - int(b[c])));
    return d;
}

// The smallest distance from a's pixel at (x, y) to b's pixels within one pixel.
int nearest(const Rgb& a, const Rgb& b, int x, int y) {
    int best = 255;
    for (int v = std::max(y - 1, 0); v <= std::min(y + 1, b.height() - 1); ++v)
        for (int u = std::max(x - 1, 0); u <= std::min(x + 1, b.width() - 1); ++u)
            best = std::min(best, distance(a.at(x, y), b.at(u, v)));
    return best;
}

// Whether the pixels at (x, y) differ by more than limit even when each may find its match one
// pixel away, both ways round: a pixel only one rendering has counts as well as one it lacks.
bool differs(const Rgb& a, const Rgb& b, int x, int y, int limit) {
    if (distance(a.at(x, y), b.at(x, y)) <= limit) return false;  // the nearest is no farther
    return std::max(nearest(a, b, x, y), nearest(b, a, x, y)) > limit;
}

struct Comparison {
    double meanDifference = 0;  // mean |a - b| over all pixels and channels, 0..255, unblurred
    int sharpDifferences = 0;   // pixels differing by over 96 with 1-px tolerance, unblurred
    int faintDifferences = 0;   // over 16 after a 3 × 3 blur, with 1-px tolerance
    int clearDifferencesInWorstTile = 0;  // over 24 after a 5 × 5 blur, with 1-px tolerance
    QImage differences;  // faint differences grey, clear ones black, on white

    bool matches() const {
        return meanDifference <= MaxMeanDifference && faintDifferences <= MaxFaintDifferences &&
               clearDifferencesInWorstTile <= MaxClearDifferencesInATile;
    }
};

Comparison compare(const QImage& first, const QImage& second) {
    const Rgb a(first), b(second);
    const Rgb a1 = a.blurred(1), b1 = b.blurred(1), a2 = a.blurred(2), b2 = b.blurred(2);
    Comparison c;
    c.differences = QImage(a.width(), a.height(), QImage::Format_RGB32);
    c.differences.fill(Qt::white);
    const int tilesPerRow = (a.width() + Tile - 1) / Tile;
    std::vector<int> tiles(std::size_t(tilesPerRow) * ((a.height() + Tile - 1) / Tile));
    double total = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            for (int ch = 0; ch < 3; ++ch) total += std::abs(int(a.at(x, y)[ch]) - int(b.at(x, y)[ch]));
            if (differs(a, b, x, y, 96)) ++c.sharpDifferences;
            if (differs(a1, b1, x, y, 16)) {
                ++c.faintDifferences;
                c.differences.setPixel(x, y, qRgb(170, 170, 170));
            }
            if (differs(a2, b2, x, y, 24)) {
                ++tiles[std::size_t(y / Tile) * tilesPerRow + std::size_t(x / Tile)];
                c.differences.setPixel(x, y, qRgb(0, 0, 0));
            }
        }
    }
    c.meanDifference = total / (double(a.width()) * a.height() * 3);
    c.clearDifferencesInWorstTile = *std::max_element(tiles.begin(), tiles.end());
    return c;
}

std::string describe(const Comparison& c) {
    char text[400];
    std::snprintf(text, sizeof text,
                  "mean absolute difference %.2f / 255; %d pixels (%.3f %%) differ by over 96 with "
                  "1-px tolerance; after a 3x3 blur %d pixels (%.2f %%) by over 16; after a 5x5 "
                  "blur the worst %dx%d tile has %d pixels over 24",
                  c.meanDifference, c.sharpDifferences, 100.0 * c.sharpDifferences / (PageW * PageH),
                  c.faintDifferences, 100.0 * c.faintDifferences / (PageW * PageH), Tile, Tile,
                  c.clearDifferencesInWorstTile);
    return text;
}

struct ReportPage {
    std::vector<std::uint8_t> image;
    fs::path pdf;
};

// The preview's report page with its pictures, and its PDF export.
ReportPage composeReportPage(const fs::path& work) {
    record::AdministrationRecord r = report::testing::MakeRecord(50, 9, 208, 7);
    r.SGRscoreFV.SetCell(record::AdministrationRecord::kTimeColumn, 0, "212");
    const report::ReportPictures pictures = report::LoadReportPictures(
        fs::path(ZOR_SOURCE_DIR) / "assets" / "Graphics", report::ReportKind::Preview);
    TPrintPreview store;
    report::BuildPreviewReport(store, r, record::Date{2010, 8, 15}, pictures);
    ReportPage page{*store.GetPage(1), work / "page.pdf"};
    store.SaveAsPDF(page.pdf, report::ClockOfDate(record::Date{2011, 3, 5}));
    return page;
}

QImage throughPoppler(const fs::path& pdf, const fs::path& work) {
    const fs::path stem = work / "poppler";
    const std::string command =
        "pdftoppm -r 96 -png -singlefile '" + pdf.string() + "' '" + stem.string() + "'";
    if (std::system(command.c_str()) != 0) return {};
    return QImage(QString::fromStdString(stem.string() + ".png"));
}

QImage throughPlayer(std::span<const std::uint8_t> picture) {
    qtApp();
    QImage image(PageW, PageH, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    playEmf(painter, picture, QRectF(0, 0, PageW, PageH));
    painter.end();
    return image;
}

// Page-image surgery for the faults below. Offsets are those of the EMF records.
std::uint32_t u32At(const std::vector<std::uint8_t>& b, std::size_t at) {
    return std::uint32_t(b[at]) | (std::uint32_t(b[at + 1]) << 8) | (std::uint32_t(b[at + 2]) << 16) |
           (std::uint32_t(b[at + 3]) << 24);
}

void putU32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = std::uint8_t(v >> (8 * i));
}

std::vector<std::size_t> recordsOfType(const std::vector<std::uint8_t>& picture, std::uint32_t type) {
    std::vector<std::size_t> found;
    for (std::size_t at = 0; at + 8 <= picture.size() && u32At(picture, at + 4) >= 8;
         at += u32At(picture, at + 4))
        if (u32At(picture, at) == type) found.push_back(at);
    return found;
}

// The text-out record that draws exactly text; its characters at offString (48), count at 44.
std::size_t textRecord(const std::vector<std::uint8_t>& picture, const std::string& text) {
    const std::u16string wanted = text::utf8ToUtf16(text);
    for (std::size_t at : recordsOfType(picture, emf::rec::ExtTextOutW)) {
        const std::uint32_t count = u32At(picture, at + 44), offset = u32At(picture, at + 48);
        std::u16string drawn;
        for (std::uint32_t k = 0; k < count; ++k)
            drawn += char16_t(picture[at + offset + 2 * k] | (picture[at + offset + 2 * k + 1] << 8));
        if (drawn == wanted) return at;
    }
    return 0;
}

std::vector<std::uint8_t> withoutText(std::vector<std::uint8_t> picture, const std::string& text) {
    const std::size_t at = textRecord(picture, text);
    EXPECT_NE(at, 0u) << text;
    const std::uint32_t count = u32At(picture, at + 44), offset = u32At(picture, at + 48);
    for (std::uint32_t k = 0; k < count; ++k) putU32(picture, at + offset + 2 * k, 0x20);  // spaces
    return picture;
}

// The rectangle record's box (left, top, right, bottom at 8) moved by dx, dy logical units.
std::vector<std::uint8_t> withBoxMoved(std::vector<std::uint8_t> picture, std::size_t index, int dx,
                                       int dy) {
    const std::size_t at = recordsOfType(picture, emf::rec::Rectangle).at(index);
    for (int side = 0; side < 4; ++side)
        putU32(picture, at + 8 + 4 * side, u32At(picture, at + 8 + 4 * side) + (side % 2 ? dy : dx));
    return picture;
}

// The solid brush of the given colour (colour at 16 of its record) made another colour.
std::vector<std::uint8_t> withBrushColour(std::vector<std::uint8_t> picture, emf::ColorRef from,
                                          emf::ColorRef to) {
    for (std::size_t at : recordsOfType(picture, emf::rec::CreateBrushIndirect))
        if (u32At(picture, at + 16) == from) putU32(picture, at + 16, to);
    return picture;
}

// The first picture's 24-bit pixels with red and blue swapped.
std::vector<std::uint8_t> withPictureChannelsSwapped(std::vector<std::uint8_t> picture) {
    const std::size_t at = recordsOfType(picture, emf::rec::StretchDIBits).at(0);
    const std::size_t header = at + u32At(picture, at + 48), bits = at + u32At(picture, at + 56);
    EXPECT_EQ(picture[header + 14], 24);
    const std::size_t width = u32At(picture, header + 4), stride = (width * 3 + 3) / 4 * 4;
    for (std::size_t row = 0; row + stride <= u32At(picture, at + 60); row += stride)
        for (std::size_t x = 0; x < width; ++x)
            std::swap(picture[bits + row + 3 * x], picture[bits + row + 3 * x + 2]);
    return picture;
}

class PdfAndPlayer : public ::testing::Test {
  protected:
    void SetUp() override {
        work_ = fs::temp_directory_path() / ("zor-pdf-player-" + std::to_string(::getpid()));
        fs::create_directories(work_);
        page_ = composeReportPage(work_);
        poppler_ = throughPoppler(page_.pdf, work_);
        ASSERT_EQ(poppler_.size(), QSize(PageW, PageH)) << "pdftoppm failed or changed the size";
    }
    void TearDown() override { fs::remove_all(work_); }

    fs::path work_;
    ReportPage page_;
    QImage poppler_;
};

TEST_F(PdfAndPlayer, TheReportPageLooksTheSameBothWays) {
    const QImage player = throughPlayer(page_.image);
    const Comparison c = compare(poppler_, player);
    std::printf("PDF through pdftoppm at 96 dpi against the EMF player, %dx%d: %s\n", PageW, PageH,
                describe(c).c_str());
    if (const char* folder = std::getenv("ZOR_WRITE_RENDERINGS")) {
        fs::create_directories(folder);
        auto save = [&](const QImage& image, const char* name) {
            image.save(QString::fromStdString((fs::path(folder) / name).string()));
        };
        save(poppler_, "report-poppler.png");
        save(player, "report-player.png");
        save(c.differences, "report-differences.png");
    }
    EXPECT_LE(c.meanDifference, MaxMeanDifference);
    EXPECT_LE(c.faintDifferences, MaxFaintDifferences);
    EXPECT_LE(c.clearDifferencesInWorstTile, MaxClearDifferencesInATile);
}

// The comparison itself notices the faults a renderer makes: the player draws a
// damaged page, poppler the true one.
TEST_F(PdfAndPlayer, AMissingWordAMovedBoxAndAWrongColourAreNoticed) {
    struct Fault {
        const char* name;
        std::vector<std::uint8_t> image;
    };
    const Fault faults[] = {
        {"the code K123 missing", withoutText(page_.image, "K123")},
        {"one digit missing", withoutText(page_.image, "9")},
        {"the personal-data frame 1 mm lower", withBoxMoved(page_.image, 0, 0, 100)},
        {"the first score box 1 mm to the right", withBoxMoved(page_.image, 2, 100, 0)},
        {"the dark table header a shade lighter", withBrushColour(page_.image, 0x808080, 0xA0A0A0)},
        {"the logo with red and blue swapped", withPictureChannelsSwapped(page_.image)},
    };
    for (const Fault& fault : faults) {
        const Comparison c = compare(poppler_, throughPlayer(fault.image));
        std::printf("%s: %s\n", fault.name, describe(c).c_str());
        EXPECT_FALSE(c.matches()) << fault.name;
    }
}

}  // namespace
}  // namespace zor::pagestore::qt
