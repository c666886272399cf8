#include <gtest/gtest.h>

#include "administration_fixture.h"
#include "ui/silent_sound.h"

namespace zor::administration::testing {
namespace {

struct DeletionPhaseTest : AdministrationFixture, ::testing::Test {
    void SetUp() override {
        startAdministration(true);
        fwIn().ButtonIO.click();
        clock.advance(500);
        ASSERT_EQ(app.activeScreen(), &fwTest());
    }
    const ui::SilentSoundSystem::Play& lastPlay() const { return sounds.plays().back(); }
    const std::string& cell(int col, int row) { return record().SGRscoreFW.Cell(col, row); }
};

TEST_F(DeletionPhaseTest, StopwatchStartsBetween100And200msAfterPromptBAndShowsZero) {
    fwTest().BtnA.click();
    EXPECT_FALSE(fwTest().BtnB.enabled);
    EXPECT_TRUE(lastPlay().nativePath.ends_with("/Audio/FW/FWv01a.wav"));
    const auto promptA = lastPlay();
    advanceUntil([&] { return fwTest().BtnB.enabled; }, 1);
    // Prompt B is offered at the first poll after prompt A has ended.
    EXPECT_GE(clock.nowMs(), promptA.startMs + promptA.durationMs);
    EXPECT_LT(clock.nowMs(), promptA.startMs + promptA.durationMs + 100);
    EXPECT_FALSE(fwTest().Chrono.ChronoOn);

    fwTest().BtnB.click();
    const auto promptB = lastPlay();
    EXPECT_TRUE(promptB.nativePath.ends_with("/Audio/FW/FWv01b.wav"));
    const std::int64_t promptEnd = promptB.startMs + promptB.durationMs;
    while (clock.nowMs() < promptEnd) {
        EXPECT_FALSE(fwTest().Chrono.ChronoOn) << "running during prompt B";
        EXPECT_FALSE(fwTest().ButtonStptime.enabled);
        clock.advance(10);
    }
    awaitStopwatch(fwTest());
    EXPECT_GE(clock.nowMs() - promptEnd, 100);
    EXPECT_LT(clock.nowMs() - promptEnd, 200);
    EXPECT_EQ(fwTest().Label5.caption, "Tijd: 0,0 sec.");
    EXPECT_TRUE(fwTest().Label5.visible);
    EXPECT_EQ(fwTest().ButtonStptime.pictureName(), "BtnSTPred.gif");
    EXPECT_EQ(fwTest().keyMode, KeyMode::Stopwatch);

    clock.advance(1234);
    EXPECT_EQ(fwTest().Label5.caption, "Tijd: 1,2 sec.");
    EXPECT_EQ(fwTest().MP1().mode(), ui::PlayerMode::Stopped);
    fwTest().ButtonStptime.click();
    EXPECT_TRUE(lastPlay().nativePath.ends_with("/Audio/Tstop.wav"));
    EXPECT_EQ(fwTest().TimeText, "12");
    EXPECT_FALSE(fwTest().Label5.visible);
    EXPECT_EQ(record().ElaatsteFW, "vb1");
    EXPECT_EQ(record().CurrentStepFW, 2);
    clock.advance(5000);
    EXPECT_EQ(fwTest().Label5.caption, "Tijd: 1,2 sec.");
}

TEST_F(DeletionPhaseTest, SpaceThreeTimesPlaysAThenBThenStops) {
    press(U' ');
    EXPECT_TRUE(lastPlay().nativePath.ends_with("FWv01a.wav"));
    const std::size_t playsSoFar = sounds.plays().size();
    clock.advance(100);
    press(U' ');  // prompt A still plays: nothing happens
    EXPECT_EQ(sounds.plays().size(), playsSoFar);
    advanceUntil([&] { return fwTest().BtnB.enabled; });
    press(U' ');
    EXPECT_TRUE(lastPlay().nativePath.ends_with("FWv01b.wav"));
    awaitStopwatch(fwTest());
    clock.advance(800);
    press(U' ');
    EXPECT_FALSE(fwTest().Chrono.ChronoOn);
    EXPECT_EQ(fwTest().TimeText, "8");
    EXPECT_EQ(fwTest().keyMode, KeyMode::Scoring);
}

TEST_F(DeletionPhaseTest, CapitalsDoNotMarkLowerCaseDo) {
    deletionStep(2000, true);
    EXPECT_EQ(cell(1, 0), "20");
    EXPECT_EQ(cell(2, 0), "1");
    press(U' ');
    advanceUntil([&] { return fwTest().BtnB.enabled; });
    press(U' ');
    awaitStopwatch(fwTest());
    clock.advance(3000);
    press(U' ');
    press(U'G');
    press(U'F');
    press(U'x');
    EXPECT_EQ(cell(1, 1), "");
    EXPECT_EQ(cell(2, 1), "");
    EXPECT_TRUE(fwTest().GoedBt.visible);
    press(U'f');
    EXPECT_EQ(cell(1, 1), "30");
    EXPECT_EQ(cell(2, 1), "0");
    EXPECT_FALSE(fwTest().GoedBt.visible);
    EXPECT_EQ(fwTest().Label1.caption, "Zeg voorbeeld 3a");
    EXPECT_EQ(fwTest().Label2.caption, "Zeg voorbeeld 3b");
}

TEST_F(DeletionPhaseTest, DoubleStopRecordsTheStepOnce) {
    fwTest().BtnA.click();
    advanceUntil([&] { return fwTest().BtnB.enabled; });
    fwTest().BtnB.click();
    awaitStopwatch(fwTest());
    clock.advance(1500);
    fwTest().ButtonStptime.click();
    clock.advance(30);
    fwTest().ButtonStptime.click();
    EXPECT_EQ(countPlays("/Audio/Tstop.wav"), 2);
    EXPECT_EQ(fwTest().TimeText, "15");
    EXPECT_EQ(record().CurrentStepFW, 2);
    EXPECT_EQ(record().ElaatsteFW, "vb1");
    clock.advance(100);
    EXPECT_FALSE(fwTest().ButtonStptime.enabled);
    fwTest().GoedBt.click();
    EXPECT_EQ(record().SGRscoreFW.Cell(1, 0), "15");
    EXPECT_EQ(record().SGRscoreFW.Cell(1, 1), "");
}

TEST_F(DeletionPhaseTest, AfterTheLastStepOnlyFinishingIsOfferedAndMarksAreFinal) {
    for (int step = 1; step <= 15; ++step) deletionStep(1000, true);
    EXPECT_EQ(record().CurrentStepFW, 16);
    EXPECT_EQ(record().SGRscoreFW.Cell(2, 14), "1");
    EXPECT_TRUE(fwTest().ButtonFinish.visible);
    EXPECT_TRUE(fwTest().ButtonFinish.enabled);
    EXPECT_EQ(fwTest().ButtonFinish.pictureName(), "BtnFINred.gif");
    for (ui::Control* c : std::initializer_list<ui::Control*>{
             &fwTest().BtnA, &fwTest().BtnB, &fwTest().Label1, &fwTest().Label2,
             &fwTest().ButtonStptime, &fwTest().ButtonOT})
        EXPECT_FALSE(c->visible) << c->name();
    press(U'f');
    press(U' ');
    EXPECT_EQ(record().SGRscoreFW.Cell(2, 14), "1");
    EXPECT_EQ(record().CurrentStepFW, 16);
}

TEST_F(DeletionPhaseTest, NoPromptStartsWhileAnInterruptIsUnderWay) {
    fwTest().ButtonOT.click();
    fwTest().Label1.click();
    press(U' ');
    EXPECT_FALSE(fwTest().BtnA.enabled);
    EXPECT_FALSE(fwTest().PromptAPlayed);
    clock.advance(500);
    ASSERT_EQ(app.activeScreen(), &fwIn());
    fwIn().ButtonIO.click();
    clock.advance(500);
    ASSERT_EQ(app.activeScreen(), &fwTest());
    clock.advance(300);
    // Back at the step's prompt A: prompt B waits for it.
    EXPECT_TRUE(fwTest().BtnA.enabled);
    EXPECT_FALSE(fwTest().BtnB.enabled);
    deletionStep(1200, false);
    EXPECT_EQ(cell(1, 0), "12");
    EXPECT_EQ(cell(2, 0), "0");
}

TEST_F(DeletionPhaseTest, PromptThatCannotBeOpenedIsReportedAndTheScreenStaysUsable) {
    const std::filesystem::path folder = fwTest().audioFolder;
    fwTest().audioFolder = root / "missing";
    fwTest().BtnA.click();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_NE(dialogs.messages[0].text.find("FWv01a.wav"), std::string::npos);
    EXPECT_TRUE(fwTest().BtnA.enabled);
    EXPECT_TRUE(fwTest().Label1.enabled);
    EXPECT_TRUE(fwTest().ButtonOT.enabled);
    EXPECT_EQ(fwTest().BtnA.pictureName(), "BtnSpkOff.gif");
    fwTest().audioFolder = folder;
    fwTest().BtnA.click();
    EXPECT_TRUE(lastPlay().nativePath.ends_with("FWv01a.wav"));
    EXPECT_EQ(dialogs.messages.size(), 1u);
}

struct SwapPhaseTest : AdministrationFixture, ::testing::Test {
    void SetUp() override {
        startAdministration(false);
        fvIn().ButtonIO.click();
        clock.advance(500);
        ASSERT_EQ(app.activeScreen(), &fvTest());
    }
};

TEST_F(SwapPhaseTest, DoubleClickOnTheItemRestartsThePromptAndTimingWaitsForItsEnd) {
    fvTest().ButtonItem.click();
    clock.advance(40);
    ASSERT_TRUE(fvTest().ButtonItem.enabled);  // until the next poll
    fvTest().ButtonItem.click();
    const auto& play = sounds.plays().back();
    EXPECT_TRUE(play.nativePath.ends_with("/Audio/FV/FVi01.wav"));
    const std::int64_t end = play.startMs + play.durationMs;
    clock.advance(100);
    EXPECT_FALSE(fvTest().ButtonItem.enabled);
    awaitStopwatch(fvTest());
    EXPECT_GE(clock.nowMs() - end, 100);
    EXPECT_LT(clock.nowMs() - end, 200);
    EXPECT_EQ(fvTest().Label4.caption, "Tijd: 0,0 sec.");
    clock.advance(2250);
    fvTest().ButtonStptime.click();
    fvTest().ButtonStptime.click();
    EXPECT_EQ(record().ELaatsteFV, "1");
    EXPECT_EQ(record().CurrentStepFV, 2);
    fvTest().Label2.click();  // "Goed"
    EXPECT_EQ(record().SGRscoreFV.Cell(1, 0), "23");
    EXPECT_EQ(record().SGRscoreFV.Cell(2, 0), "1");
    EXPECT_EQ(fvTest().Label1.caption, "Zeg item 2");
    EXPECT_EQ(fvTest().TimerPhase, TTestPhase::kStopped);
    EXPECT_TRUE(fvTest().ButtonOT.enabled);
}

TEST_F(SwapPhaseTest, NoItemStartsWhileAnInterruptIsUnderWaySoTheNextRunTimesFromItsOwnPrompt) {
    fvTest().ButtonOT.click();
    fvTest().ButtonItem.click();
    press(U' ');
    EXPECT_FALSE(fvTest().ButtonItem.enabled);
    clock.advance(500);
    ASSERT_EQ(app.activeScreen(), &fvIn());
    clock.advance(3000);
    EXPECT_FALSE(fvTest().Chrono.ChronoOn);
    fvIn().ButtonIO.click();
    clock.advance(500);
    ASSERT_EQ(app.activeScreen(), &fvTest());
    EXPECT_TRUE(fvTest().ButtonItem.enabled);
    swapItem(1000, true);
    EXPECT_EQ(record().SGRscoreFV.Cell(1, 0), "10");
    EXPECT_EQ(record().ELaatsteFV, "1");
}

TEST_F(SwapPhaseTest, ItemTwelveMarkedLeavesOnlyFinishing) {
    for (int item = 1; item <= 12; ++item) swapItem(1500, item % 2 == 0);
    EXPECT_EQ(record().ELaatsteFV, "12");
    EXPECT_EQ(record().SGRscoreFV.Cell(2, 11), "1");
    EXPECT_TRUE(fvTest().ButtonFinish.visible);
    EXPECT_FALSE(fvTest().ButtonItem.visible);
    EXPECT_FALSE(fvTest().ButtonOT.visible);
}

}  // namespace
}  // namespace zor::administration::testing
