#include "emf/reader.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "emf/bytes.h"
#include "emf/recorder.h"
#include "record_lists.h"

namespace zor::emf {
namespace {

using bytes::putF32;
using testing::only;
using testing::readAll;
using bytes::putI32;
using bytes::putU16;
using bytes::putU32;



// Builds a picture by hand from raw records, to feed the reader what our own
// recorder never writes.
class HandBuilt {
  public:
    HandBuilt() {
        bytes_.resize(88);
        count_ = 1;
    }
    void record(std::uint32_t type, const std::vector<std::uint8_t>& payload) {
        putU32(bytes_, type);
        putU32(bytes_, std::uint32_t(8 + payload.size()));
        bytes_.insert(bytes_.end(), payload.begin(), payload.end());
        ++count_;
    }
    std::vector<std::uint8_t> finish(bool withEof = true) {
        if (withEof) record(rec::Eof, {0, 0, 0, 0, 16, 0, 0, 0, 20, 0, 0, 0});
        std::vector<std::uint8_t> h;
        putU32(h, rec::Header);
        putU32(h, 88);
        for (int v : {0, 0, 99, 99, 0, 0, 2000, 2000}) putI32(h, v);
        putU32(h, HeaderSignature);
        putU32(h, FormatVersion);
        putU32(h, std::uint32_t(bytes_.size()));
        putU32(h, count_);
        putU16(h, 1);
        putU16(h, 0);
        for (int i = 0; i < 3; ++i) putU32(h, 0);
        for (int v : {800, 600, 211, 158}) putI32(h, v);
        std::copy(h.begin(), h.end(), bytes_.begin());
        return bytes_;
    }

  private:
    std::vector<std::uint8_t> bytes_;
    std::uint32_t count_;
};

std::vector<std::uint8_t> le(std::initializer_list<std::int32_t> values) {
    std::vector<std::uint8_t> out;
    for (auto v : values) putI32(out, v);
    return out;
}

TEST(Reader, ReadsBackEveryRecordTheRecorderWrites) {
    Recorder r(Rect{0, 0, 21000, 29700}, ReferenceDevice::screen(96));
    r.setMapMode(map_mode::Anisotropic);
    r.setWindowExt({21000, 29700});
    r.setViewportExt({794, 1123});
    r.setViewportOrg({0, 0});
    r.setBkMode(bk_mode::Transparent);
    r.setBkColor(rgb(1, 2, 3));
    r.setTextAlign(text_align::Baseline | text_align::Center);
    r.setTextColor(rgb(10, 20, 30));
    const auto pen = r.createPen({pen_style::Dash, 30, rgb(192, 192, 192)});
    const auto brush = r.createBrush({brush_style::Solid, rgb(255, 0, 0), 0});
    LogFont lf;
    lf.height = -423;
    lf.weight = 700;
    lf.italic = 1;
    lf.underline = 1;
    lf.strikeOut = 1;
    lf.faceName = u"Calibri";
    const auto font = r.createFont(lf);
    r.selectObject(pen);
    r.selectObject(brush);
    r.selectObject(font);
    r.moveTo({100, 200});
    r.lineTo({300, 400});
    r.rectangle({800, 7000, 20200, 14000});
    r.fillRect({10, 20, 30, 40});
    const Point triangle[] = {{0, 0}, {100, 0}, {50, 80}};
    r.polygon(triangle);
    r.polyline(triangle);
    const std::int32_t dx[] = {50, 60};
    r.extTextOut({1000, 2000}, eto::Clipped, {0, 0, 5000, 5000}, u"Hé", dx,
                 {1000, 2000, 1110, 2400});
    Bitmap bitmap{2, 1, {255, 0, 0, 0, 0, 255}};
    r.stretchDIBits({0, 0, 600, 300}, bitmap);
    r.saveDC();
    r.restoreDC(-1);
    r.selectObject(stockHandle(StockObject::NullBrush));
    r.deleteObject(brush);
    const auto bytes = r.finish();

    const auto records = readAll(bytes);
    const auto header = std::get<Header>(records.front());
    EXPECT_EQ(header.bytes, bytes.size());
    EXPECT_EQ(header.records, records.size());
    EXPECT_EQ(header.handles, 4);  // slot 0 plus three objects
    EXPECT_EQ(header.frame, (Rect{0, 0, 21000, 29700}));
    EXPECT_EQ(header.device, (Size{1920, 1080}));
    EXPECT_EQ(header.millimeters, (Size{508, 286}));
    ASSERT_TRUE(header.micrometers);
    EXPECT_EQ(*header.micrometers, (Size{508000, 285750}));
    EXPECT_TRUE(std::holds_alternative<Eof>(records.back()));

    EXPECT_EQ(only<SetMapMode>(records).at(0).mode, map_mode::Anisotropic);
    EXPECT_EQ(only<SetWindowExtEx>(records).at(0).extent, (Size{21000, 29700}));
    EXPECT_EQ(only<SetViewportExtEx>(records).at(0).extent, (Size{794, 1123}));
    EXPECT_EQ(only<SetBkMode>(records).at(0).mode, bk_mode::Transparent);
    EXPECT_EQ(only<SetBkColor>(records).at(0).color, rgb(1, 2, 3));
    EXPECT_EQ(only<SetTextAlign>(records).at(0).mode, 30u);
    EXPECT_EQ(only<SetTextColor>(records).at(0).color, rgb(10, 20, 30));
    const auto pens = only<CreatePen>(records);
    ASSERT_EQ(pens.size(), 1u);
    EXPECT_EQ(pens[0].pen.style, pen_style::Dash);
    EXPECT_EQ(pens[0].pen.width, 30);
    EXPECT_EQ(pens[0].pen.color, rgb(192, 192, 192));
    EXPECT_EQ(only<CreateBrushIndirect>(records).at(0).brush.color, rgb(255, 0, 0));
    const auto fonts = only<ExtCreateFontIndirectW>(records);
    ASSERT_EQ(fonts.size(), 1u);
    EXPECT_EQ(fonts[0].font.faceName, u"Calibri");
    EXPECT_EQ(fonts[0].font.height, -423);
    EXPECT_EQ(fonts[0].font.weight, 700);
    EXPECT_EQ(fonts[0].font.italic + fonts[0].font.underline + fonts[0].font.strikeOut, 3);
    EXPECT_EQ(only<MoveToEx>(records).at(0).point, (Point{100, 200}));
    EXPECT_EQ(only<LineTo>(records).at(0).point, (Point{300, 400}));
    EXPECT_EQ(only<RectangleRecord>(records).at(0).box, (Rect{800, 7000, 20200, 14000}));
    const auto blt = only<BitBlt>(records).at(0);
    EXPECT_EQ(blt.rop, rop::PatCopy);
    EXPECT_FALSE(blt.bitmap);
    EXPECT_EQ(blt.dest, (Point{10, 20}));
    EXPECT_EQ(blt.destSize, (Size{20, 20}));
    const auto polys = only<Poly>(records);
    ASSERT_EQ(polys.size(), 2u);
    EXPECT_EQ(polys[0].kind, PolyKind::Polygon);
    EXPECT_EQ(polys[1].kind, PolyKind::Polyline);
    EXPECT_EQ(polys[0].points, std::vector<Point>(std::begin(triangle), std::end(triangle)));
    const auto text = only<ExtTextOutW>(records).at(0);
    EXPECT_EQ(text.text, u"Hé");
    EXPECT_EQ(text.dx, (std::vector<std::int32_t>{50, 60}));
    EXPECT_EQ(text.reference, (Point{1000, 2000}));
    EXPECT_EQ(text.options, eto::Clipped);
    EXPECT_EQ(text.rectangle, (Rect{0, 0, 5000, 5000}));
    const auto dib = only<StretchDIBits>(records).at(0);
    ASSERT_TRUE(dib.bitmap);
    EXPECT_EQ(dib.destSize, (Size{600, 300}));
    const auto decoded = decodeDib(*dib.bitmap);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->pixels, (std::vector<std::uint8_t>{255, 0, 0, 255, 0, 0, 255, 255}));
    EXPECT_EQ(only<SaveDC>(records).size(), 1u);
    EXPECT_EQ(only<RestoreDC>(records).at(0).savedDC, -1);
    const auto selects = only<SelectObject>(records);
    EXPECT_EQ(selects.back().stock(), StockObject::NullBrush);
    EXPECT_EQ(only<DeleteObject>(records).at(0).handle, brush);
}

TEST(Reader, HeaderBoundsCoverTheDrawingInDevicePixels) {
    Recorder r(Rect{0, 0, 21000, 29700}, ReferenceDevice::screen(96));
    r.setMapMode(map_mode::Anisotropic);
    r.setWindowExt({21000, 29700});
    r.setViewportExt({794, 1123});
    r.moveTo({0, 0});
    r.lineTo({21000, 29700});
    Reader reader(r.finish());
    EXPECT_EQ(reader.header().bounds, (Rect{0, 0, 794, 1123}));
}

TEST(Reader, EmptyPictureHasEmptyBoundsAndOnlyHeaderAndEnd) {
    Recorder r(Rect{0, 0, 100, 100}, ReferenceDevice::screen(96));
    const auto bytes = r.finish();
    EXPECT_EQ(bytes.size(), 108u + 20u);
    const auto records = readAll(bytes);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(std::get<Header>(records[0]).bounds, (Rect{0, 0, -1, -1}));
}

TEST(Reader, PassesOverRecordsOurRecorderNeverWrites) {
    HandBuilt b;
    b.record(rec::PolyBezier16, {0, 0, 0, 0, 0, 0, 0, 0, 9, 0, 0, 0, 9, 0, 0,    0,    4, 0,
                                 0, 0, 1, 0, 2, 0, 3, 0, 4, 0, 5, 0, 6, 0, 0xF9, 0xFF, 8, 0});
    std::vector<std::uint8_t> xf;
    for (float f : {2.0f, 0.5f, -0.5f, 3.0f, 10.0f, 20.0f}) putF32(xf, f);
    b.record(rec::SetWorldTransform, xf);
    b.record(rec::GdiComment, {4, 0, 0, 0, 'z', 'o', 'r', '!'});
    b.record(200, {1, 2, 3, 4});
    b.record(rec::RoundRect, le({1, 2, 3, 4, 5, 6}));
    b.record(rec::Ellipse, le({10, 20, 30, 40}));
    const auto records = readAll(b.finish());
    ASSERT_EQ(records.size(), 8u);
    const auto bezier = std::get<Poly>(records[1]);
    EXPECT_EQ(bezier.kind, PolyKind::PolyBezier);
    EXPECT_TRUE(bezier.shortPoints);
    EXPECT_EQ(bezier.points, (std::vector<Point>{{1, 2}, {3, 4}, {5, 6}, {-7, 8}}));
    EXPECT_EQ(std::get<SetWorldTransform>(records[2]).xform,
              (XForm{2.0f, 0.5f, -0.5f, 3.0f, 10.0f, 20.0f}));
    const auto comment = std::get<UnknownRecord>(records[3]);
    EXPECT_EQ(comment.type, rec::GdiComment);
    EXPECT_EQ(comment.payload.size(), 8u);
    EXPECT_EQ(std::get<UnknownRecord>(records[4]).type, 200u);
    EXPECT_EQ(std::get<RoundRect>(records[5]).corner, (Size{5, 6}));
    EXPECT_EQ(std::get<EllipseRecord>(records[6]).box, (Rect{10, 20, 30, 40}));
}

TEST(Reader, ReadsAPictureMadeByAnotherProgram) {
    std::ifstream in(ZOR_TEST_DATA_DIR "/emf/inkscape-drawing.emf", std::ios::binary);
    ASSERT_TRUE(in);
    const std::vector<std::uint8_t> data{std::istreambuf_iterator<char>(in), {}};
    const auto records = readAll(data);
    const auto header = std::get<Header>(records.front());
    EXPECT_EQ(header.records, records.size());
    EXPECT_TRUE(std::holds_alternative<Eof>(records.back()));
    // The drawing's pens are extended pens, its curves poly-Bézier-to records.
    const auto pens = only<CreatePen>(records);
    ASSERT_FALSE(pens.empty());
    EXPECT_TRUE(pens.front().extended);
    bool curves = false;
    for (const auto& p : only<Poly>(records)) curves |= p.kind == PolyKind::PolyBezierTo;
    EXPECT_TRUE(curves);
    EXPECT_FALSE(only<CreateBrushIndirect>(records).empty());
}

// --- Damaged pictures -----------------------------------------------------------

std::vector<std::uint8_t> onePolygon() {
    Recorder r(Rect{0, 0, 100, 100}, ReferenceDevice::screen(96));
    const Point pts[] = {{0, 0}, {10, 0}, {5, 5}};
    r.polygon(pts);
    return r.finish();
}

void expectRejected(const std::vector<std::uint8_t>& data) {
    EXPECT_THROW(readAll(data), FormatError);
}

TEST(ReaderDamaged, RejectsBadHeaders) {
    auto good = onePolygon();
    expectRejected({});
    expectRejected(std::vector<std::uint8_t>(good.begin(), good.begin() + 60));
    auto badSignature = good;
    badSignature[40] = 'X';
    expectRejected(badSignature);
    auto truncated = good;
    truncated.resize(good.size() - 4);  // header still claims the full size
    expectRejected(truncated);
    auto hugeHeader = good;
    bytes::patchU32(hugeHeader, 4, 0x7FFFFFF0);
    expectRejected(hugeHeader);
}

TEST(ReaderDamaged, RejectsRecordsOfImpossibleSize) {
    const auto good = onePolygon();
    const std::size_t polygonAt = 108;
    for (std::uint32_t size : {0u, 4u, 13u, 0xFFFFFFF0u}) {
        auto bad = good;
        bytes::patchU32(bad, polygonAt + 4, size);
        expectRejected(bad);
    }
}

TEST(ReaderDamaged, RejectsCountsAndOffsetsOutsideTheirRecord) {
    const auto good = onePolygon();
    auto manyPoints = good;
    bytes::patchU32(manyPoints, 108 + 24, 0x40000000);
    expectRejected(manyPoints);

    HandBuilt text;
    std::vector<std::uint8_t> payload(68, 0);
    bytes::patchU32(payload, 36, 0xFFFFFFFF);  // characters
    bytes::patchU32(payload, 40, 76);          // string offset
    text.record(rec::ExtTextOutW, payload);
    expectRejected(text.finish());

    HandBuilt dib;
    std::vector<std::uint8_t> stretch(72, 0);
    bytes::patchU32(stretch, 40, 80);  // bitmap info offset
    bytes::patchU32(stretch, 44, 40);  // bitmap info size: beyond the record
    dib.record(rec::StretchDIBits, stretch);
    expectRejected(dib.finish());

    HandBuilt shortFont;
    shortFont.record(rec::ExtCreateFontIndirectW, std::vector<std::uint8_t>(40, 0));
    expectRejected(shortFont.finish());
}

TEST(ReaderDamaged, RejectsAPictureWithoutEndRecord) {
    HandBuilt b;
    b.record(rec::SaveDC, {});
    expectRejected(b.finish(false));
}

TEST(ReaderDamaged, RecordsBeforeTheDamageAreDelivered) {
    HandBuilt b;
    b.record(rec::MoveToEx, le({1, 2}));
    b.record(rec::LineTo, le({3}));  // one coordinate short
    auto data = b.finish();
    Reader reader(data);
    EXPECT_TRUE(std::holds_alternative<Header>(*reader.next()));
    EXPECT_TRUE(std::holds_alternative<MoveToEx>(*reader.next()));
    EXPECT_THROW(reader.next(), FormatError);
}

TEST(ReaderDamaged, PictureSizeFindsTheEndInsideLongerData) {
    auto data = onePolygon();
    const std::size_t size = data.size();
    data.insert(data.end(), 100, 0xAB);
    EXPECT_EQ(pictureSize(data), size);
    EXPECT_EQ(readAll(data).size(), 3u);
}

TEST(DecodeDib, PalettedBitmapAndShortBits) {
    Dib dib;
    dib.width = 3;
    dib.height = -1;  // top-down
    dib.bitCount = 1;
    dib.colors = {0x000000, 0xFFFFFF};
    dib.bits = {0b10100000, 0, 0, 0};
    const auto image = decodeDib(dib);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->pixels,
              (std::vector<std::uint8_t>{255, 255, 255, 255, 0, 0, 0, 255, 255, 255, 255, 255}));
    dib.height = 2;  // two rows wanted, one row of bits there
    EXPECT_FALSE(decodeDib(dib));
    dib.height = 1;
    dib.compression = 1;  // run-length encoded: not decoded
    EXPECT_FALSE(decodeDib(dib));
}

}  // namespace
}  // namespace zor::emf
