#include <gtest/gtest.h>

#include "ui/screen.h"
#include "ui_fixture.h"

namespace zor::ui {
namespace {

// A screen with one image button that opens another screen from its
// deferred step.
class ArmedScreen : public Screen {
  public:
    ArmedScreen(Application& app, Screen* next = nullptr)
        : Screen(app, "ArmedScreen"), next_(next) {
        Button.onClick = [this] {
            ++clicks;
            Latency();
        };
    }
    ImageButton Button{*this, "Button", {10, 10, 100, 50}};
    int clicks = 0;
    int steps = 0;

  protected:
    void LatencyStep() override {
        ++steps;
        if (next_) next_->ShowModal();
    }

  private:
    Screen* next_;
};

struct LatencyTest : testing::UiFixture, ::testing::Test {};

TEST_F(LatencyTest, OneClickFiresAtTheTickHalfASecondLater) {
    ArmedScreen s(app);
    s.ShowModal();
    s.Button.click();
    EXPECT_EQ(s.LatencyState, 1);
    EXPECT_TRUE(s.LatencyTimer.enabled());
    clock.advance(499);
    EXPECT_EQ(s.steps, 0);
    clock.advance(1);
    EXPECT_EQ(s.steps, 1);
    EXPECT_EQ(s.LatencyState, 2);
    EXPECT_FALSE(s.LatencyTimer.enabled());
    clock.advance(5000);
    EXPECT_EQ(s.steps, 1);
}

TEST_F(LatencyTest, SecondClickWithinHalfASecondFiresOnceAtTheSecondClick) {
    ArmedScreen s(app);
    s.ShowModal();
    s.Button.click();
    clock.advance(200);
    s.Button.click();
    EXPECT_EQ(s.steps, 1);
    EXPECT_FALSE(s.LatencyTimer.enabled());
    // The tick that would have come finds the timer disabled.
    clock.advance(300);
    EXPECT_EQ(s.steps, 1);
    EXPECT_EQ(s.PrevLatencyState, 2);
}

TEST_F(LatencyTest, AfterFiringTheNextClickArmsAgain) {
    ArmedScreen s(app);
    s.ShowModal();
    s.Button.click();
    clock.advance(500);
    s.Button.click();
    EXPECT_EQ(s.LatencyState, 1);
    EXPECT_EQ(s.steps, 1);
    clock.advance(500);
    EXPECT_EQ(s.steps, 2);
}

TEST_F(LatencyTest, ResetLeavesPrevLatencyStateSoAnArmedScreenFiresAtOnce) {
    // A reset sets only LatencyState to 0; a screen reset while armed fires at
    // its next click.
    ArmedScreen s(app);
    s.ShowModal();
    s.Button.click();
    s.LatencyState = 0;
    s.LatencyTimer.setEnabled(false);
    s.Button.click();
    EXPECT_EQ(s.steps, 1);
}

TEST_F(LatencyTest, ScreenOpenedFromTheStepDoesNotBlockTheTimerBelow) {
    ArmedScreen top(app);
    ArmedScreen below(app, &top);
    below.ShowModal();
    below.Button.click();
    clock.advance(500);
    ASSERT_EQ(below.steps, 1);
    EXPECT_EQ(app.modalStack().back(), &top);
    EXPECT_FALSE(below.LatencyTimer.enabled());
    // The upper screen's own deferred step runs normally.
    top.Button.click();
    clock.advance(500);
    EXPECT_EQ(top.steps, 1);
    EXPECT_EQ(below.steps, 1);
}

TEST_F(LatencyTest, ScreensBeneathAModalShowingTakeNoInput) {
    ArmedScreen below(app), top(app);
    below.ShowModal();
    top.ShowModal();
    below.Button.click();
    EXPECT_EQ(below.clicks, 0);
    app.runEvent([&] { top.setModalResult(ModalResult::OK); });
    below.Button.click();
    EXPECT_EQ(below.clicks, 1);
    app.runEvent([&] { below.Hide(); });
    below.Button.click();
    EXPECT_EQ(below.clicks, 1);
}

TEST_F(LatencyTest, DisabledOrHiddenButtonIgnoresClicks) {
    ArmedScreen s(app);
    s.ShowModal();
    s.Button.enabled = false;
    s.Button.click();
    s.Button.enabled = true;
    s.Button.visible = false;
    s.Button.click();
    EXPECT_EQ(s.clicks, 0);
    EXPECT_FALSE(s.LatencyTimer.enabled());
}

}  // namespace
}  // namespace zor::ui
