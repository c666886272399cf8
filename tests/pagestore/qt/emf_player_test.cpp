#include "pagestore/qt/emf_player.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <fstream>
#include <iterator>
#include <random>
#include <vector>

#include "emf/types.h"
#include "pagestore/print_preview.h"
#include "qt_app.h"

namespace zor::pagestore::qt {
namespace {

using test::qtApp;

// A4 at 96 dots per inch.
constexpr int PageW = 794;
constexpr int PageH = 1123;

// Logical units (0.01 mm) to pixels of a PageW × PageH rendering.
int px(int hundredthsOfMm) { return hundredthsOfMm * PageW / 21000; }

struct Region {
    int left, top, right, bottom;  // pixels, right and bottom exclusive
};

bool dark(QRgb p) { return qRed(p) < 128 && qGreen(p) < 128 && qBlue(p) < 128; }

int darkPixels(const QImage& image, Region r) {
    int n = 0;
    for (int y = std::max(r.top, 0); y < std::min(r.bottom, image.height()); ++y)
        for (int x = std::max(r.left, 0); x < std::min(r.right, image.width()); ++x)
            n += dark(image.pixel(x, y));
    return n;
}

// Right-most column holding a dark pixel within the rows of r; -1 when none.
int lastDarkColumn(const QImage& image, Region r) {
    for (int x = std::min(r.right, image.width()) - 1; x >= std::max(r.left, 0); --x)
        for (int y = std::max(r.top, 0); y < std::min(r.bottom, image.height()); ++y)
            if (dark(image.pixel(x, y))) return x;
    return -1;
}

QImage render(std::span<const std::uint8_t> picture, QSize size = {PageW, PageH},
              bool* played = nullptr) {
    qtApp();
    QImage image(size, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    const bool ok = playEmf(painter, picture, QRectF(0, 0, size.width(), size.height()));
    painter.end();
    if (played) *played = ok;
    return image;
}

constexpr const char* Line = "Hallo wereld";

// A report-like page: a red block, black text left-aligned and right-aligned.
struct Page {
    std::vector<std::uint8_t> bytes;
    int textWidth = 0;  // of Line, in 0.01 mm
};

Page composePage() {
    TPrintPreview store;
    store.BeginDoc();
    emf::Canvas& canvas = *store.Canvas();
    canvas.setPen({emf::rgb(0, 0, 0), 1, emf::pen_style::Null});
    canvas.setBrush({emf::rgb(255, 0, 0), emf::brush_style::Solid});
    canvas.fillRect({2000, 2000, 6000, 5000});
    emf::Font font = canvas.font();
    font.name = "Calibri";
    font.setSize(20);
    canvas.setFont(font);
    canvas.setBackgroundMode(emf::bk_mode::Transparent);
    canvas.textOut(2000, 10000, Line);
    canvas.setTextAlign(emf::text_align::Right);
    canvas.textOut(19000, 15000, Line);
    Page page;
    page.textWidth = canvas.textWidth(Line);
    store.EndDoc();
    page.bytes = *store.GetPage(1);
    return page;
}

TEST(EmfPlayer, DrawsFilledRectangleAndTextWhereThePageHasThem) {
    const Page page = composePage();
    bool played = false;
    const QImage image = render(page.bytes, {PageW, PageH}, &played);
    EXPECT_TRUE(played);

    EXPECT_EQ(image.pixel(px(4000), px(3500)), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(px(1800), px(3500)), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(px(6200), px(3500)), qRgb(255, 255, 255));

    // The left-aligned line: ink below its top reference, none above it, and
    // ending where the advance array says the text ends.
    const Region line{px(1900), px(10000), PageW, px(10000) + 40};
    EXPECT_GT(darkPixels(image, line), 200);
    EXPECT_EQ(darkPixels(image, {0, px(7000), PageW, px(9900)}), 0);
    const int end = lastDarkColumn(image, {0, line.top, PageW / 2 + 200, line.bottom});
    EXPECT_NEAR(end, px(2000 + page.textWidth), 4);

    // The right-aligned line ends at its reference x.
    const Region right{0, px(15000), PageW, px(15000) + 40};
    EXPECT_GT(darkPixels(image, right), 200);
    EXPECT_NEAR(lastDarkColumn(image, right), px(19000), 3);
    EXPECT_EQ(darkPixels(image, {px(19000) + 3, right.top, PageW, right.bottom}), 0);
    EXPECT_GT(darkPixels(image, {px(19000 - page.textWidth) - 2, right.top,
                                 px(19000 - page.textWidth) + 15, right.bottom}),
              0);
}

TEST(EmfPlayer, ScalesThePageToTheTarget) {
    const Page page = composePage();
    const QImage half = render(page.bytes, {PageW / 2, PageH / 2});
    EXPECT_EQ(half.pixel(px(4000) / 2, px(3500) / 2), qRgb(255, 0, 0));
    EXPECT_EQ(half.pixel(px(6400) / 2, px(3500) / 2), qRgb(255, 255, 255));
}

TEST(EmfPlayer, GreyConversionWeighsTheChannels) {
    qtApp();
    QImage image(2, 1, QImage::Format_ARGB32);
    image.setPixel(0, 0, qRgb(255, 0, 0));
    image.setPixel(1, 0, qRgb(10, 200, 90));
    toGrey(image);
    EXPECT_EQ(image.pixel(0, 0), qRgb(76, 76, 76));
    EXPECT_EQ(image.pixel(1, 0), qRgb(130, 130, 130));  // (300 + 11800 + 990) / 100
}

std::vector<std::uint8_t> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

TEST(EmfPlayer, PlaysAnotherWritersPictureWithPaths) {
    const auto bytes = readFile(std::string(ZOR_TEST_DATA_DIR) + "/emf/inkscape-drawing.emf");
    ASSERT_FALSE(bytes.empty());
    bool played = false;
    const QImage image = render(bytes, {400, 400}, &played);
    EXPECT_TRUE(played);
    int inked = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) inked += image.pixel(x, y) != qRgb(255, 255, 255);
    EXPECT_GT(inked, 1000);
}

TEST(EmfPlayer, BrokenPicturesNeverCrash) {
    const Page page = composePage();
    bool played = true;
    render(std::span(page.bytes).first(40), {100, 100}, &played);
    EXPECT_FALSE(played);
    render(std::span(page.bytes).first(page.bytes.size() / 2), {100, 100}, &played);
    EXPECT_FALSE(played);

    std::mt19937 random(7);
    for (int round = 0; round < 300; ++round) {
        std::vector<std::uint8_t> damaged = page.bytes;
        const int flips = 1 + int(random() % 8);
        for (int i = 0; i < flips; ++i) {
            // Spare the header's signature so that the records themselves are exercised.
            const std::size_t at = 88 + random() % (damaged.size() - 88);
            damaged[at] = std::uint8_t(random());
        }
        render(damaged, {120, 170});
    }
}

}  // namespace
}  // namespace zor::pagestore::qt
