#include "emf/canvas.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>

#include "emf/reader.h"
#include "fonts/font.h"
#include "record_lists.h"

namespace zor::emf {
namespace {

using testing::only;

// An A4 page in 0.01 mm on a 96 dpi screen, set up as the page store does.
Canvas a4Page() {
    Canvas c(Rect{0, 0, 21008, 29713}, ReferenceDevice::screen(96));
    c.setMapping({21000, 29700}, {794, 1123}, {0, 0});
    Font f;
    f.name = "Calibri";
    f.pixelsPerInch = 2539;
    f.setSize(12);
    c.setFont(f);
    return c;
}

std::vector<Record> records(Canvas& c) { return testing::readAll(c.finish()); }


// Plays the object records against a table the way a drawing context does and
// fails on anything a drawing context would refuse: selecting or deleting an
// object that does not exist, deleting an object that is selected, reusing an
// occupied slot, or leaving objects behind at the end.
void expectObjectDiscipline(const std::vector<Record>& records) {
    std::map<std::uint32_t, char> table;  // handle -> 'p'en, 'b'rush, 'f'ont
    std::map<char, std::uint32_t> selected;
    std::vector<std::map<char, std::uint32_t>> saved;
    for (const Record& r : records) {
        if (auto* p = std::get_if<CreatePen>(&r)) {
            EXPECT_FALSE(table.count(p->handle));
            table[p->handle] = 'p';
        } else if (auto* b = std::get_if<CreateBrushIndirect>(&r)) {
            EXPECT_FALSE(table.count(b->handle));
            table[b->handle] = 'b';
        } else if (auto* f = std::get_if<ExtCreateFontIndirectW>(&r)) {
            EXPECT_FALSE(table.count(f->handle));
            table[f->handle] = 'f';
        } else if (auto* s = std::get_if<SelectObject>(&r)) {
            if (s->isStock()) {
                const auto stock = *s->stock();
                const char kind = stock <= StockObject::NullBrush ? 'b'
                                  : stock <= StockObject::NullPen ? 'p'
                                                                  : 'f';
                selected[kind] = s->handle;
            } else {
                ASSERT_TRUE(table.count(s->handle)) << "selects missing object " << s->handle;
                selected[table[s->handle]] = s->handle;
            }
        } else if (auto* d = std::get_if<DeleteObject>(&r)) {
            ASSERT_TRUE(table.count(d->handle)) << "deletes missing object " << d->handle;
            for (const auto& [kind, handle] : selected)
                EXPECT_NE(handle, d->handle) << "deletes a selected object";
            for (const auto& state : saved)
                for (const auto& [kind, handle] : state) EXPECT_NE(handle, d->handle);
            table.erase(d->handle);
        } else if (std::holds_alternative<SaveDC>(r)) {
            saved.push_back(selected);
        } else if (std::holds_alternative<RestoreDC>(r)) {
            ASSERT_FALSE(saved.empty());
            selected = saved.back();
            saved.pop_back();
        }
    }
    EXPECT_TRUE(table.empty()) << table.size() << " objects left at the end";
}

TEST(Canvas, ObjectsAreMadeWhenNeededAndDeletedWhenReplaced) {
    Canvas c = a4Page();
    c.moveTo(0, 0);  // no drawing yet: no pen
    Pen silver{rgb(192, 192, 192), 30, pen_style::Solid};
    c.setPen(silver);
    c.lineTo(100, 100);
    c.lineTo(200, 100);  // same pen: no new object
    c.setPen(Pen{rgb(0, 0, 0), 10, pen_style::Dot});
    c.rectangle({0, 0, 500, 500});
    c.setBrush(Brush{rgb(0, 0, 0), brush_style::Null});
    c.rectangle({0, 0, 600, 600});
    c.setPen(Pen{0, 1, pen_style::Null});
    c.polygon(std::vector<Point>{{0, 0}, {10, 0}, {0, 10}});
    c.textOut(100, 100, "A");
    const auto recs = records(c);
    const auto pens = only<CreatePen>(recs);
    ASSERT_EQ(pens.size(), 2u);
    EXPECT_EQ(pens[0].pen.width, 30);
    EXPECT_EQ(pens[0].pen.color, rgb(192, 192, 192));
    EXPECT_EQ(pens[1].pen.style, pen_style::Dot);
    // The hollow brush and the null pen are the stock objects.
    std::set<std::uint32_t> stocks;
    for (const auto& s : only<SelectObject>(recs))
        if (s.isStock()) stocks.insert(s.handle);
    EXPECT_TRUE(stocks.count(stockHandle(StockObject::NullBrush)));
    EXPECT_TRUE(stocks.count(stockHandle(StockObject::NullPen)));
    EXPECT_LE(std::get<Header>(recs.front()).handles, 4);
    expectObjectDiscipline(recs);
}

TEST(Canvas, FontRecordCarriesFaceHeightAndStyle) {
    Canvas c = a4Page();
    Font f = c.font();
    f.setSize(28);
    f.bold = true;
    f.italic = true;
    f.underline = true;
    f.strikeOut = true;
    c.setFont(f);
    c.textOut(0, 0, "TESTRAPPORT");
    const auto fonts = only<ExtCreateFontIndirectW>(records(c));
    ASSERT_EQ(fonts.size(), 1u);
    EXPECT_EQ(fonts[0].font.faceName, u"Calibri");
    EXPECT_EQ(fonts[0].font.height, -987);  // 28 pt at 2539 units per inch
    EXPECT_EQ(fonts[0].font.weight, 700);
    EXPECT_EQ(fonts[0].font.italic, 1);
    EXPECT_EQ(fonts[0].font.underline, 1);
    EXPECT_EQ(fonts[0].font.strikeOut, 1);
}

TEST(Canvas, TextAdvancesComeFromTheFontsOwnMetrics) {
    Canvas c = a4Page();
    const std::string text = "Personalia é";
    const int width = c.textWidth(text);
    c.textOut(1300, 6900, text);
    const auto recs = records(c);
    const auto out = only<ExtTextOutW>(recs).at(0);
    EXPECT_EQ(out.text, u"Personalia é");
    EXPECT_EQ(out.reference, (Point{1300, 6900}));
    ASSERT_EQ(out.dx.size(), out.text.size());

    const auto carlito = fonts::resolveFont({"Calibri"});
    ASSERT_TRUE(carlito);
    const double scale = 423.0 / carlito->unitsPerEm();  // 12 pt em height in 0.01 mm
    int sum = 0;
    for (std::size_t i = 0; i < out.dx.size(); ++i) {
        EXPECT_EQ(out.dx[i], std::lround(carlito->advanceWidth(out.text[i]) * scale)) << i;
        sum += out.dx[i];
    }
    EXPECT_EQ(sum, width);
    // The pen stands at the end of the text afterwards.
    EXPECT_EQ(only<MoveToEx>(recs).back().point, (Point{1300 + width, 6900}));
    EXPECT_EQ(only<SetTextColor>(recs).at(0).color, rgb(0, 0, 0));
}

TEST(Canvas, TextHeightIsTheFontCellHeight) {
    Canvas c = a4Page();
    const auto carlito = fonts::resolveFont({"Calibri"});
    const double scale = 423.0 / carlito->unitsPerEm();
    EXPECT_EQ(c.textHeight("A"), std::lround(carlito->winAscent() * scale) +
                                     std::lround(carlito->winDescent() * scale));
    EXPECT_GT(c.textHeight("A"), 423);
}

TEST(Canvas, ClippedTextIsOpaqueOnlyWithASolidBrush) {
    Canvas c = a4Page();
    const Rect clip{1300, 5900, 19000, 28200};
    c.textRect(clip, 1300, 5900, "  Datum afdruk : 01-02-2026");
    c.setBrush(Brush{0, brush_style::Null});
    c.textRect(clip, 1300, 5900, "x");
    const auto texts = only<ExtTextOutW>(records(c));
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].options, eto::Clipped | eto::Opaque);
    EXPECT_EQ(texts[0].rectangle, clip);
    EXPECT_EQ(texts[1].options, eto::Clipped);
}

TEST(Canvas, AlignmentBackgroundAndColourAreRecorded) {
    Canvas c = a4Page();
    c.setBackgroundMode(bk_mode::Transparent);
    c.setTextAlign(text_align::Right | text_align::Baseline);
    c.setTextAlign(text_align::Right | text_align::Baseline);  // unchanged: once
    Font f = c.font();
    f.color = rgb(255, 0, 0);
    c.setFont(f);
    c.textOut(5000, 5000, "Rechts");
    const auto recs = records(c);
    EXPECT_EQ(only<SetBkMode>(recs).at(0).mode, bk_mode::Transparent);
    EXPECT_EQ(only<SetTextAlign>(recs).size(), 1u);
    EXPECT_EQ(only<SetTextColor>(recs).at(0).color, rgb(255, 0, 0));
    // Right-aligned text ends at the reference point: its bounds end there too.
    const auto text = only<ExtTextOutW>(recs).at(0);
    EXPECT_NEAR(text.bounds.right, 5000 * 794 / 21000, 1);
}

TEST(Canvas, SavedStatesKeepTheirObjectsAlive) {
    Canvas c = a4Page();
    c.setPen(Pen{rgb(1, 1, 1), 5, pen_style::Solid});
    c.lineTo(10, 10);
    c.saveState();
    c.setPen(Pen{rgb(2, 2, 2), 5, pen_style::Solid});
    c.lineTo(20, 20);
    c.setPen(Pen{rgb(3, 3, 3), 5, pen_style::Solid});
    c.lineTo(30, 30);
    c.saveState();
    c.setFont(Font{});
    c.textOut(0, 0, "x");
    c.restoreState();
    c.restoreState();
    c.lineTo(40, 40);  // the first pen is current again
    c.saveState();     // left open: finish restores it
    c.setBrush(Brush{rgb(9, 9, 9), brush_style::Solid});
    c.fillRect({0, 0, 10, 10});
    const auto recs = records(c);
    expectObjectDiscipline(recs);
    EXPECT_EQ(only<CreatePen>(recs).size(), 3u);
}

TEST(Canvas, BitmapIsStoredAsA24BitDeviceIndependentBitmap) {
    Canvas c = a4Page();
    Bitmap bitmap{3, 2, {}};
    for (int i = 0; i < 6; ++i) bitmap.rgb.insert(bitmap.rgb.end(), {std::uint8_t(i * 40), 7, 200});
    c.stretchDraw({1300, 1600, 7300, 5400}, bitmap);
    const auto dib = only<StretchDIBits>(records(c)).at(0);
    EXPECT_EQ(dib.dest, (Point{1300, 1600}));
    EXPECT_EQ(dib.destSize, (Size{6000, 3800}));
    EXPECT_EQ(dib.srcSize, (Size{3, 2}));
    ASSERT_TRUE(dib.bitmap);
    EXPECT_EQ(dib.bitmap->bitCount, 24);
    const auto image = decodeDib(*dib.bitmap);
    ASSERT_TRUE(image);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(image->pixels[4 * i], bitmap.rgb[3 * i]);
        EXPECT_EQ(image->pixels[4 * i + 2], 200);
    }
}

TEST(Font, SizeAndHeightFollowThePixelsPerInch) {
    Font f;  // Arial 8 at 96 dpi
    EXPECT_EQ(f.height, -11);
    EXPECT_EQ(f.size(), 8);
    f.setPixelsPerInchKeepingSize(2539);
    EXPECT_EQ(f.size(), 8);
    EXPECT_EQ(f.height, -282);
    f.setSize(12);
    EXPECT_EQ(f.height, -423);
}

}  // namespace
}  // namespace zor::emf
