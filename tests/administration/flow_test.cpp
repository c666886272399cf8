#include <gtest/gtest.h>

#include "administration_fixture.h"

namespace zor::administration::testing {
namespace {

struct FlowTest : AdministrationFixture, ::testing::Test {
    void toTest(TIntroduction& intro) {
        intro.ButtonIO.click();
        clock.advance(500);
    }
    // From the test screen's interrupt back down to the entry screen.
    void interruptTestAndIntroduction(TTestPhase& test, TIntroduction& intro) {
        test.ButtonOT.click();
        clock.advance(500);
        ASSERT_EQ(app.activeScreen(), &intro);
        intro.ButtonOT.click();
        clock.advance(500);
    }
    std::vector<ui::Screen*> stack(std::initializer_list<ui::Screen*> above) {
        std::vector<ui::Screen*> out{&main(), &keuze(), &entry()};
        out.insert(out.end(), above);
        return out;
    }
};

TEST_F(FlowTest, ChoiceBackButtonReturnsAtOnceSubtestButtonsAfterTheDeferredStep) {
    main().ButtonNT.click();
    clock.advance(500);
    keuze().ButtonExit.click();
    EXPECT_EQ(app.activeScreen(), &main());

    main().ButtonNT.click();
    clock.advance(500);
    keuze().ButtonFV.click();
    EXPECT_EQ(record().AfnameStatus, 1);
    EXPECT_EQ(keuze().ButtonFV.pictureName(), "BtnFVon.gif");
    EXPECT_FALSE(keuze().ButtonFW.enabled);
    clock.advance(499);
    EXPECT_EQ(app.activeScreen(), &keuze());
    clock.advance(1);
    EXPECT_EQ(app.activeScreen(), &entry());
    EXPECT_EQ(keuze().ChosenSubtest, TZORkeuze::kSwap);
    // The choice's showing has ended: leaving the entry goes to the main menu.
    entry().setModalResult(ui::ModalResult::Cancel);
    EXPECT_EQ(app.modalStack(), std::vector<ui::Screen*>{&main()});
}

TEST_F(FlowTest, ChoiceBackButtonWhileASubtestIsArmedStaysInTheMainMenu) {
    main().ButtonNT.click();
    clock.advance(500);
    keuze().ButtonFV.click();
    clock.advance(100);
    keuze().ButtonExit.click();
    EXPECT_EQ(app.activeScreen(), &main());
    clock.advance(1000);
    EXPECT_EQ(app.modalStack(), std::vector<ui::Screen*>{&main()});
    EXPECT_EQ(app.activeScreen(), &main());

    // The next choice waits its own 500 ms again.
    main().ButtonNT.click();
    clock.advance(500);
    ASSERT_EQ(app.activeScreen(), &keuze());
    keuze().ButtonFW.click();
    clock.advance(499);
    EXPECT_EQ(app.activeScreen(), &keuze());
    clock.advance(1);
    EXPECT_EQ(app.activeScreen(), &entry());
}

TEST_F(FlowTest, InterruptedDeletionTestContinuesAfterResumingFromTheIncompleteFile) {
    startAdministration(true);
    toTest(fwIn());
    for (int step = 1; step <= 3; ++step) deletionStep(1100 * step, true);
    interruptTestAndIntroduction(fwTest(), fwIn());
    ASSERT_EQ(app.activeScreen(), &entry());
    EXPECT_TRUE(entry().ButtonContin.visible);
    EXPECT_FALSE(entry().ButtonST.visible);
    EXPECT_FALSE(fwIn().NotInterrupted);
    EXPECT_EQ(fwIn().ButtonIO.pictureName(), "BtnTHred.gif");
    entry().Filesave.click();
    clock.advance(1000);
    EXPECT_EQ(savedStatus("Jan01_05-03-2011_FW.wda"), "2");
    entry().ButtonNP.click();
    clock.advance(1500);
    ASSERT_EQ(app.activeScreen(), &main());

    const auto zta = incompleteFile("Jan01_05-03-2011.zta");
    dialogs.openAnswers.push_back(zta.string());
    main().ButtonTH.click();
    clock.advance(500);
    ASSERT_EQ(app.activeScreen(), &entry());
    EXPECT_FALSE(std::filesystem::exists(zta));
    EXPECT_EQ(record().CurrentStepFW, 4);

    entry().ButtonContin.click();
    clock.advance(500);
    ASSERT_EQ(app.activeScreen(), &fwIn());
    EXPECT_EQ(record().AfnameStatus, 2);
    EXPECT_EQ(fwIn().ButtonIO.pictureName(), "BtnTHred.gif");
    fwIn().ButtonIO.click();
    EXPECT_EQ(fwIn().ButtonIO.pictureName(), "BtnIOon.gif");
    clock.advance(500);
    ASSERT_EQ(app.activeScreen(), &fwTest());
    EXPECT_EQ(fwTest().Label1.caption, "Zeg item 1a");
    EXPECT_EQ(fwTest().Label2.caption, "Zeg item 1b");
    fwTest().BtnA.click();
    EXPECT_TRUE(sounds.plays().back().nativePath.ends_with("/FW/FWi01a.wav"));
    advanceUntil([&] { return fwTest().BtnB.enabled; });
    fwTest().BtnB.click();
    awaitStopwatch(fwTest());
    clock.advance(900);
    press(U' ');
    press(U'g');
    EXPECT_EQ(record().ElaatsteFW, "4");
    for (int step = 5; step <= 15; ++step) deletionStep(1000, false);
    finishSubtest(fwTest());
    ASSERT_EQ(app.activeScreen(), &fwAft());
    const std::string line = fileText(dataFile("Jan01_05-03-2011_FW.wda"));
    EXPECT_TRUE(
        line.starts_with("Jan01;FW;meisje;10;06;2002;05;03;2011;De Regenboog;4;M. de "
                         "Vries;15;4;11;1;22;1;33;1;9;1;10;0"))
        << line;
}

TEST_F(FlowTest, InterruptedSwapTestResumesAtTheItemAfterTheLastStopped) {
    startAdministration(false);
    toTest(fvIn());
    for (int item = 1; item <= 5; ++item) swapItem(1000, true);
    fvTest().ButtonOT.click();
    clock.advance(500);
    ASSERT_EQ(app.activeScreen(), &fvIn());
    EXPECT_FALSE(fvIn().NotInterrupted);
    // The swap test leaves its interrupt picture to the introduction.
    EXPECT_EQ(fvTest().ButtonOT.pictureName(), "BtnOTon.gif");
    fvIn().ButtonOT.click();
    clock.advance(500);
    ASSERT_EQ(app.activeScreen(), &entry());
    entry().ButtonNP.click();
    clock.advance(1500);
    ASSERT_EQ(app.activeScreen(), &main());
    EXPECT_EQ(savedStatus("Jan01_05-03-2011_FV.vda"), "1");

    dialogs.openAnswers.push_back(incompleteFile("Jan01_05-03-2011.zta").string());
    main().ButtonTH.click();
    clock.advance(500);
    entry().ButtonContin.click();
    clock.advance(500);
    ASSERT_EQ(app.activeScreen(), &fvIn());
    fvIn().ButtonIO.click();
    EXPECT_EQ(fvTest().ButtonOT.pictureName(), "BtnOToff.gif");
    clock.advance(500);
    ASSERT_EQ(app.activeScreen(), &fvTest());
    EXPECT_EQ(fvTest().Label1.caption, "Zeg item 6");
    swapItem(1000, false);
    EXPECT_EQ(record().ELaatsteFV, "6");
    EXPECT_EQ(record().SGRscoreFV.Cell(2, 4), "1");
    EXPECT_EQ(record().SGRscoreFV.Cell(2, 5), "0");
}

TEST_F(FlowTest, InterruptingTheSecondIntroductionAfterSwapUnwindsToTheMainMenu) {
    startAdministration(false);
    toTest(fvIn());
    for (int item = 1; item <= 12; ++item) swapItem(1000, true);
    finishSubtest(fvTest());
    ASSERT_EQ(app.activeScreen(), &fvAft());
    EXPECT_EQ(savedStatus("Jan01_05-03-2011_FV.vda"), "3");
    fvAft().BtnYes.click();
    ASSERT_EQ(app.activeScreen(), &fwIn());
    EXPECT_EQ(record().AfnameStatus, 5);
    EXPECT_TRUE(fwTest().IsSecondSubtest);
    fwIn().ButtonOT.click();
    clock.advance(500);
    EXPECT_EQ(app.modalStack(), std::vector<ui::Screen*>{&main()});
    EXPECT_NE(fileText(dataFile("Jan01_05-03-2011_FV.vda")).find(";12;3;"), std::string::npos);
}

TEST_F(FlowTest, InterruptingTheSecondIntroductionAfterDeletionReturnsToTheEntryScreen) {
    startAdministration(true);
    toTest(fwIn());
    for (int step = 1; step <= 15; ++step) deletionStep(1000, true);
    finishSubtest(fwTest());
    fwAft().BtnYes.click();
    ASSERT_EQ(app.activeScreen(), &fvIn());
    EXPECT_TRUE(fvTest().IsSecondSubtest);
    EXPECT_EQ(record().CurrentStepFV, 1);
    fvIn().ButtonOT.click();
    clock.advance(500);
    EXPECT_EQ(app.activeScreen(), &entry());
    EXPECT_TRUE(entry().ButtonContin.visible);
    // The swap introduction's interrupt leaves its NotInterrupted alone.
    EXPECT_TRUE(fvIn().NotInterrupted);
}

TEST_F(FlowTest, AfterSwapNoGoesToTheFinishScreenWithoutSaving) {
    startAdministration(false);
    toTest(fvIn());
    for (int item = 1; item <= 12; ++item) swapItem(1000, true);
    finishSubtest(fvTest());
    fvAft().BtnNo.click();
    EXPECT_EQ(record().AfnameStatus, 3);
    ASSERT_EQ(app.activeScreen(), &finish());
    clock.advance(2000);
    EXPECT_EQ(savedStatus("Jan01_05-03-2011_FV.vda"), "3");
    EXPECT_EQ(countPlays("/Audio/Save.wav"), 1);
    EXPECT_EQ(finish().Label1.caption, "TESTFASE COMPLEET");
    EXPECT_FALSE(finish().ButtonHM.enabled);
    EXPECT_FALSE(finish().ButtonExit.visible);
    finish().ButtonTR.click();
    EXPECT_EQ(record().AfnameStatus, 3);  // one subtest only
    EXPECT_EQ(finish().Label1.caption, "KLAAR!");
    preview().BackButton.click();
    finish().ButtonHM.click();
    clock.advance(500);
    EXPECT_EQ(app.modalStack(), std::vector<ui::Screen*>{&main()});
}

TEST_F(FlowTest, AfterDeletionNoSavesASecondTime) {
    startAdministration(true);
    toTest(fwIn());
    for (int step = 1; step <= 15; ++step) deletionStep(1000, true);
    finishSubtest(fwTest());
    fwAft().BtnNo.click();
    EXPECT_EQ(record().AfnameStatus, 4);
    clock.advance(1000);
    ASSERT_EQ(app.activeScreen(), &finish());
    EXPECT_EQ(savedStatus("Jan01_05-03-2011_FV.vda"), "4");
    EXPECT_EQ(countPlays("/Audio/Save.wav"), 2);
    EXPECT_FALSE(fwIn().visible());
    EXPECT_FALSE(fwTest().visible());
}

TEST_F(FlowTest, ContinuingByStatus) {
    main().ButtonNT.click();
    clock.advance(500);
    keuze().ButtonFW.click();
    clock.advance(500);
    ASSERT_EQ(app.activeScreen(), &entry());

    auto continueWith = [&](int status) {
        record().AfnameStatus = status;
        app.runEvent([&] { entry().KnContinClick(); });
        clock.advance(500);
    };
    continueWith(7);
    EXPECT_EQ(app.activeScreen(), &entry());

    continueWith(3);
    EXPECT_EQ(app.activeScreen(), &fwIn());
    EXPECT_EQ(record().AfnameStatus, 5);
    EXPECT_TRUE(fwTest().IsSecondSubtest);
    fwIn().ButtonOT.click();
    clock.advance(500);

    continueWith(4);
    EXPECT_EQ(app.activeScreen(), &fvIn());
    EXPECT_EQ(record().AfnameStatus, 6);
    EXPECT_TRUE(fvTest().IsSecondSubtest);
    EXPECT_EQ(fvIn().ButtonIO.pictureName(), "BtnTHred.gif");
}

TEST_F(FlowTest, FinishingTheSecondSubtestOpensTheFinishScreenAndHomeUnwindsEverything) {
    startAdministration(false);
    toTest(fvIn());
    for (int item = 1; item <= 12; ++item) swapItem(1000, true);
    finishSubtest(fvTest());
    fvAft().BtnYes.click();
    toTest(fwIn());
    ASSERT_EQ(app.activeScreen(), &fwTest());
    EXPECT_EQ(fwTest().Label1.caption, "Zeg voorbeeld 1a");
    for (int step = 1; step <= 15; ++step) deletionStep(1000, true);
    finishSubtest(fwTest());
    ASSERT_EQ(app.activeScreen(), &finish());
    EXPECT_EQ(savedStatus("Jan01_05-03-2011_FW.wda"), "5");
    EXPECT_EQ(countPlays("/Audio/Save.wav"), 2);
    finish().ButtonHM.click();  // disabled until the report has been opened
    clock.advance(500);
    EXPECT_EQ(app.activeScreen(), &finish());
    finish().ButtonTR.click();
    EXPECT_EQ(record().AfnameStatus, 7);
    preview().BackButton.click();
    finish().ButtonHM.click();
    EXPECT_EQ(finish().ButtonHM.pictureName(), "BtnHMon.gif");
    clock.advance(500);
    EXPECT_EQ(app.modalStack(), std::vector<ui::Screen*>{&main()});
    for (ui::Screen* s : std::initializer_list<ui::Screen*>{&fvIn(), &fvTest(), &fvAft(), &fwIn(),
                                                            &fwTest(), &finish(), &entry()})
        EXPECT_FALSE(s->visible()) << s->name();
}

TEST_F(FlowTest, ExitFromTheFinishScreenEndsTheProgramAfterConfirmation) {
    startAdministration(false);
    toTest(fvIn());
    for (int item = 1; item <= 12; ++item) swapItem(1000, true);
    finishSubtest(fvTest());
    fvAft().BtnNo.click();
    EXPECT_FALSE(finish().ButtonExit.visible);
    finish().ButtonTR.click();
    preview().BackButton.click();
    ASSERT_TRUE(finish().ButtonExit.visible);
    dialogs.confirmAnswers.push_back(ui::ModalResult::OK);
    finish().ButtonExit.click();
    ASSERT_EQ(dialogs.confirmations.size(), 1u);
    EXPECT_EQ(app.modalStack(), std::vector<ui::Screen*>{&main()});
    for (ui::Screen* s : std::initializer_list<ui::Screen*>{&fvIn(), &fvAft(), &entry(), &finish()})
        EXPECT_FALSE(s->visible()) << s->name();
    clock.advance(1000);
    EXPECT_TRUE(app.terminated());
}

}  // namespace
}  // namespace zor::administration::testing
