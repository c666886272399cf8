#include "emf/interpreter.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace zor::emf {
namespace {

// A device that keeps the drawing context it was given at every rectangle and text,
// and refuses pictures by throwing when told to.
class RecordingDevice : public Device {
  public:
    explicit RecordingDevice(Rules rules, bool strict = false) : rules_(rules), strict_(strict) {}

    const Rules& rules() const override { return rules_; }
    void refuse(const std::string& reason) override {
        if (strict_) throw std::runtime_error(reason);
    }
    void rectangle(const Rect&) override { seen.push_back(dc()); }
    double text(const ExtTextOutW&, Point reference) override {
        seen.push_back(dc());
        references.push_back(reference);
        return 100;
    }

    std::vector<DrawingState> seen;
    std::vector<Point> references;

  private:
    Rules rules_;
    bool strict_;
};

Header headerWith(std::uint16_t handles) {
    Header header;
    header.handles = handles;
    return header;
}

ExtTextOutW textAt(Point reference) {
    ExtTextOutW text;
    text.reference = reference;
    text.text = u"a";
    return text;
}

// The drawing contexts a device under the rules saw for the records after a header.
std::vector<DrawingState> seenUnder(Rules rules, const std::function<void(Interpreter&)>& records) {
    RecordingDevice device(rules);
    Interpreter play(device);
    play(headerWith(2));
    records(play);
    return device.seen;
}

void createAndSelectPen(Interpreter& play, std::uint32_t handle, ColorRef color) {
    play(CreatePen{handle, {pen_style::Solid, 3, color}, false});
    play(SelectObject{handle});
}

TEST(Interpreter, RestoredStatesBringBackTheirPenAndCountFromEitherEnd) {
    RecordingDevice device(Rules{});
    Interpreter play(device);
    play(headerWith(4));
    createAndSelectPen(play, 1, 0x0000FF);
    play(SaveDC{});
    createAndSelectPen(play, 2, 0x00FF00);
    play(SaveDC{});
    createAndSelectPen(play, 3, 0xFF0000);
    play(RectangleRecord{});
    play(RestoreDC{1});  // the first saved state, dropping both
    play(RectangleRecord{});
    play(RestoreDC{-1});  // nothing saved any more: passed over
    play(RectangleRecord{});
    ASSERT_EQ(device.seen.size(), 3u);
    EXPECT_EQ(device.seen[0].pen.pen.color, 0xFF0000u);
    EXPECT_EQ(device.seen[1].pen.pen.color, 0x0000FFu);
    EXPECT_EQ(device.seen[2].pen.pen.color, 0x0000FFu);
    EXPECT_TRUE(device.seen[0].pen.created);
}

TEST(Interpreter, AStrictDeviceRefusesTooManySavesAStrayRestoreAndUnknownObjects) {
    Rules rules;
    rules.maxSavedStates = 2;
    rules.growObjectTable = false;
    auto refused = [&](const std::function<void(Interpreter&)>& records) {
        RecordingDevice device(rules, true);
        Interpreter play(device);
        play(headerWith(3));
        try {
            records(play);
        } catch (const std::runtime_error&) {
            return true;
        }
        return false;
    };
    EXPECT_FALSE(refused([](Interpreter& p) { p(SaveDC{}), p(SaveDC{}); }));
    EXPECT_TRUE(refused([](Interpreter& p) { p(SaveDC{}), p(SaveDC{}), p(SaveDC{}); }));
    EXPECT_TRUE(refused([](Interpreter& p) { p(RestoreDC{-1}); }));
    EXPECT_TRUE(refused([](Interpreter& p) { p(SaveDC{}), p(RestoreDC{-2}); }));
    EXPECT_TRUE(refused([](Interpreter& p) { p(SelectObject{3}); }));
    EXPECT_TRUE(refused([](Interpreter& p) { p(CreatePen{0, {}, false}); }));
    EXPECT_TRUE(refused([](Interpreter& p) { p(CreatePen{7, {}, false}); }));
    EXPECT_FALSE(refused([](Interpreter& p) { p(SelectObject{stockHandle(StockObject::NullPen)}); }));
}

TEST(Interpreter, ObjectsBeyondTheHeadersTableLiveOnlyWhereTheTableMayGrow) {
    for (bool grow : {true, false}) {
        Rules rules;
        rules.growObjectTable = grow;
        auto seen = seenUnder(rules, [](Interpreter& play) {
            createAndSelectPen(play, 9, 0x123456);
            play(RectangleRecord{});
        });
        EXPECT_EQ(seen.at(0).pen.pen.color, grow ? 0x123456u : 0u) << grow;
    }
}

TEST(Interpreter, WorldTransformIsComposedInOrderAndKeptOrDroppedOnRestore) {
    for (bool keep : {true, false}) {
        Rules rules;
        rules.restoreKeepsWorldTransform = keep;
        auto seen = seenUnder(rules, [](Interpreter& play) {
            play(SetWorldTransform{{2, 0, 0, 2, 0, 0}});          // scale by 2
            play(ModifyWorldTransform{{1, 0, 0, 1, 10, 20}, 2});  // shift first, then scale
            play(SaveDC{});
            play(ModifyWorldTransform{{}, 1});  // identity
            play(RestoreDC{-1});
            play(RectangleRecord{});
        });
        const auto& world = seen.at(0).worldTransform;
        if (!keep) {
            EXPECT_FALSE(world.has_value());
            continue;
        }
        ASSERT_TRUE(world.has_value());
        EXPECT_EQ(world->m11, 2);
        EXPECT_EQ(world->dx, 20);  // (10, 20) shifted before the doubling
        EXPECT_EQ(world->dy, 40);
    }
}

TEST(Interpreter, StockBrushesAndFontsFollowTheDevicesRules) {
    Rules rules;
    rules.lightGrayBrush = 0xAAAAAA;
    rules.stockFontsSelectDefault = false;
    auto seen = seenUnder(rules, [](Interpreter& play) {
        play(ExtCreateFontIndirectW{1, {}});
        play(SelectObject{1});
        play(SelectObject{stockHandle(StockObject::LightGrayBrush)});
        play(SelectObject{stockHandle(StockObject::DeviceDefaultFont)});
        play(RectangleRecord{});
    });
    EXPECT_EQ(seen.at(0).brush.color, 0xAAAAAAu);
    EXPECT_NE(seen.at(0).font, nullptr);
}

TEST(Interpreter, ToFormsAndPositionUpdatingTextMoveTheCurrentPosition) {
    RecordingDevice device(Rules{});
    Interpreter play(device);
    play(headerWith(1));
    play(Poly{PolyKind::PolylineTo, false, {}, {{5, 5}, {40, 50}}});
    play(SetTextAlign{text_align::UpdateCp});
    play(textAt({1, 1}));
    play(SetTextAlign{text_align::UpdateCp | text_align::Right});
    play(textAt({1, 1}));
    play(RectangleRecord{});
    ASSERT_EQ(device.references.size(), 2u);
    EXPECT_EQ(device.references[0], (Point{40, 50}));
    EXPECT_EQ(device.references[1], (Point{140, 50}));
    EXPECT_EQ(device.seen.back().position, (Point{40, 50}));

    Rules fixed;
    fixed.textUpdatesPosition = false;
    RecordingDevice still(fixed);
    Interpreter replay(still);
    replay(headerWith(1));
    replay(SetTextAlign{text_align::UpdateCp});
    replay(textAt({1, 1}));
    EXPECT_EQ(still.references.at(0), (Point{1, 1}));
}

TEST(TextAlignment, ShiftsAndBaselinesForEveryAlignment) {
    EXPECT_EQ(textStartShift(text_align::Left, 9), 0);
    EXPECT_EQ(textStartShift(text_align::Center, 9), 4);  // whole units
    EXPECT_EQ(textStartShift(text_align::Right, 9), 9);
    EXPECT_EQ(baselineBelowReference(text_align::Top, 8, 2), 8);
    EXPECT_EQ(baselineBelowReference(text_align::Baseline, 8, 2), 0);
    EXPECT_EQ(baselineBelowReference(text_align::Bottom, 8, 2), -2);
}

}  // namespace
}  // namespace zor::emf
