#include <gtest/gtest.h>

#include "administration_fixture.h"

namespace zor::administration::testing {
namespace {

struct IntroductionTest : AdministrationFixture, ::testing::Test {
    void SetUp() override { startAdministration(true); }
    TIntroduction& intro() { return fwIn(); }
    std::vector<bool> shown() {
        std::vector<bool> out;
        for (int n = 1; n <= 5; ++n) out.push_back(intro().image(n).visible);
        return out;
    }
    std::int64_t lastPromptEnd() const {
        const auto& play = sounds.plays().back();
        return play.startMs + play.durationMs;
    }
};

TEST_F(IntroductionTest, FreshIntroductionOffersTheIntroductionAndTheInstruction) {
    ASSERT_EQ(app.activeScreen(), &intro());
    EXPECT_EQ(shown(), (std::vector<bool>{true, false, false, false, true}));
    EXPECT_TRUE(intro().Label5.enabled);
    EXPECT_FALSE(intro().Label2.enabled);
    EXPECT_EQ(intro().ButtonIO.pictureName(), "BtnIOoff.gif");
    EXPECT_EQ(intro().Label1.caption, "Inleiding ");
    EXPECT_EQ(intro().Label3.caption, "pot");
}

TEST_F(IntroductionTest, InstructionFirstUnlocksEverythingAndOffersTheStart) {
    intro().Label5.click();
    EXPECT_TRUE(sounds.plays().back().nativePath.ends_with("/Audio/FW/FWn05.wav"));
    EXPECT_EQ(intro().int5.pictureName(), "BtnSpkOn.gif");
    EXPECT_FALSE(intro().Int1.enabled);
    advanceUntil([&] { return intro().ButtonIO.enabled; });
    EXPECT_EQ(shown(), (std::vector<bool>(5, true)));
    EXPECT_TRUE(intro().InstructionHeard);
    EXPECT_EQ(intro().ButtonIO.pictureName(), "BtnSTred.gif");
    EXPECT_EQ(intro().int5.pictureName(), "BtnSpkOff.gif");
    intro().ButtonIO.click();
    EXPECT_EQ(intro().ButtonIO.pictureName(), "BtnSTon.gif");
}

TEST_F(IntroductionTest, NextPromptUnlocksWithinASecondAfterTheEndNeverBefore) {
    intro().Int1.click();
    const std::int64_t end = lastPromptEnd();
    while (clock.nowMs() < end) {
        EXPECT_FALSE(intro().Int2.visible);
        EXPECT_FALSE(intro().ButtonIO.enabled);
        EXPECT_FALSE(intro().ButtonOT.enabled);
        clock.advance(50);
    }
    advanceUntil([&] { return intro().Int2.visible; }, 1);
    EXPECT_LE(clock.nowMs() - end, 1000);
    EXPECT_TRUE(intro().Label2.enabled);
    EXPECT_FALSE(intro().Int3.visible);
    EXPECT_TRUE(intro().ButtonIO.enabled);
    EXPECT_FALSE(intro().Timer.enabled());
}

TEST_F(IntroductionTest, ALaterPromptStartedWhileOnePlaysWins) {
    intro().Int1.click();
    clock.advance(300);
    intro().int5.click();
    EXPECT_TRUE(sounds.plays().back().nativePath.ends_with("/FW/FWn05.wav"));
    EXPECT_FALSE(intro().Int1.enabled);
    advanceUntil([&] { return intro().ButtonIO.enabled; });
    EXPECT_EQ(shown(), (std::vector<bool>(5, true)));
    // The prompt cut short no longer shows a sounding speaker.
    EXPECT_EQ(intro().Int1.pictureName(), "BtnSpkOff.gif");
    EXPECT_EQ(intro().int5.pictureName(), "BtnSpkOff.gif");
}

TEST_F(IntroductionTest, ContinuingBeforeAnyPromptShowsTheGoOnPicture) {
    intro().ButtonIO.click();
    EXPECT_EQ(intro().ButtonIO.pictureName(), "BtnIOon.gif");
    EXPECT_FALSE(intro().ButtonOT.enabled);
    clock.advance(499);
    EXPECT_EQ(app.activeScreen(), &intro());
    clock.advance(1);
    EXPECT_EQ(app.activeScreen(), &fwTest());
}

TEST_F(IntroductionTest, AfterAnInterruptedTestTheInstructionLeavesTheResumePicture) {
    intro().ButtonIO.click();
    clock.advance(500);
    fwTest().ButtonOT.click();
    clock.advance(500);
    ASSERT_EQ(app.activeScreen(), &intro());
    EXPECT_EQ(fwTest().ButtonOT.pictureName(), "BtnOToff.gif");
    EXPECT_EQ(intro().ButtonIO.pictureName(), "BtnTHred.gif");
    intro().int5.click();
    advanceUntil([&] { return intro().ButtonIO.enabled; });
    EXPECT_EQ(intro().ButtonIO.pictureName(), "BtnTHred.gif");
    EXPECT_FALSE(intro().InstructionHeard);
    intro().ButtonIO.click();
    EXPECT_EQ(intro().ButtonIO.pictureName(), "BtnTHon.gif");
}

TEST_F(IntroductionTest, PromptThatCannotBeOpenedLeavesTheButtonsUsable) {
    intro().audioFolder = root / "missing";
    intro().Int1.click();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_TRUE(intro().ButtonIO.enabled);
    EXPECT_TRUE(intro().ButtonOT.enabled);
    EXPECT_FALSE(intro().Timer.enabled());
    EXPECT_FALSE(intro().Int2.visible);
}

TEST(SwapIntroductionLayout, LabelsNameThePracticeNames) {
    struct Fixture : AdministrationFixture {
    } f;
    EXPECT_EQ(f.fvIn().Label2.caption, "vb1 - 'Piet Bos'");
    EXPECT_EQ(f.fvIn().Label3.caption, "vb2 - '[K]ees [D]ijk'");
    EXPECT_EQ(f.fvIn().Label4.caption, "vb3 - '[L]ies [M]ol'");
    EXPECT_EQ(f.fvIn().Int1.bounds, (ui::Bounds{264, 128, 40, 40}));
    EXPECT_EQ(f.fwIn().int5.bounds, (ui::Bounds{280, 307, 40, 40}));
}

}  // namespace
}  // namespace zor::administration::testing
