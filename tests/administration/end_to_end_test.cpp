#include <gtest/gtest.h>

#include "administration_fixture.h"

namespace zor::administration::testing {
namespace {

struct EndToEndTest : AdministrationFixture, ::testing::Test {};

// Answer time of step s (1-based) in ms, and its mark.
int deletionAnswerMs(int step) { return 1000 + 250 * step; }
bool deletionRight(int step) { return step % 3 != 0; }
int swapAnswerMs(int item) { return 3000 + 340 * item; }
bool swapRight(int item) { return item % 4 != 0; }

std::string expectedPairs(int count, int (*answerMs)(int), bool (*right)(int)) {
    std::string out;
    for (int s = 1; s <= count; ++s) {
        // The stored time: the answer time in whole tenths, halves up.
        const int tenths = (answerMs(s) + 50) / 100;
        out += ";" + std::to_string(tenths) + ";" + (right(s) ? "1" : "0");
    }
    return out;
}

TEST_F(EndToEndTest, CompleteAdministrationDeletionFirst) {
    startAdministration(true);
    passIntroduction(fwIn());
    ASSERT_EQ(app.activeScreen(), &fwTest());
    for (int step = 1; step <= 15; ++step)
        deletionStep(deletionAnswerMs(step), deletionRight(step));
    EXPECT_EQ(record().ElaatsteFW, "15");
    EXPECT_TRUE(fwTest().ButtonFinish.visible);
    finishSubtest(fwTest());
    ASSERT_EQ(app.activeScreen(), &fwAft());
    EXPECT_EQ(savedStatus("Jan01_05-03-2011_FW.wda"), "4");
    EXPECT_EQ(savedStatus("Jan01_05-03-2011_FV.vda"), "4");
    EXPECT_EQ(countPlays("/Audio/Save.wav"), 1);

    fwAft().BtnYes.click();
    EXPECT_EQ(record().AfnameStatus, 6);
    passIntroduction(fvIn());
    ASSERT_EQ(app.activeScreen(), &fvTest());
    for (int item = 1; item <= 12; ++item) swapItem(swapAnswerMs(item), swapRight(item));
    EXPECT_EQ(record().ELaatsteFV, "12");
    finishSubtest(fvTest());
    ASSERT_EQ(app.activeScreen(), &finish());
    EXPECT_EQ(savedStatus("Jan01_05-03-2011_FV.vda"), "6");
    EXPECT_EQ(countPlays("/Audio/Save.wav"), 2);

    const std::string fwLine =
        "Jan01;FW;meisje;10;06;2002;05;03;2011;De Regenboog;4;M. de Vries;15;6" +
        expectedPairs(15, deletionAnswerMs, deletionRight) + ";" + "7,2";
    const std::string fvLine =
        "Jan01;FV;meisje;10;06;2002;05;03;2011;De Regenboog;4;M. de Vries;12;6" +
        expectedPairs(12, swapAnswerMs, swapRight);
    EXPECT_EQ(fileText(dataFile("Jan01_05-03-2011_FW.wda")), fwLine + "\r\n");
    EXPECT_EQ(fileText(dataFile("Jan01_05-03-2011_FV.vda")), fvLine + "\r\n");
    EXPECT_EQ(fileText(incompleteFile("Jan01_05-03-2011.zta")), "Jan01_05-03-2011\r\n0\r\n");

    finish().ButtonTR.click();
    EXPECT_EQ(record().AfnameStatus, 7);
    ASSERT_EQ(app.activeScreen(), &preview());
    preview().BackButton.click();
    ASSERT_EQ(app.activeScreen(), &finish());
    EXPECT_TRUE(finish().ButtonHM.enabled);
    EXPECT_TRUE(finish().ButtonExit.visible);
    finish().ButtonHM.click();
    // Going home composes the report page afresh for the next administration.
    EXPECT_EQ(preview().recreateCount, 1);
    clock.advance(500);
    EXPECT_EQ(app.modalStack(), std::vector<ui::Screen*>{&main()});
    EXPECT_EQ(app.activeScreen(), &main());
    EXPECT_TRUE(dialogs.messages.empty());
}

}  // namespace
}  // namespace zor::administration::testing
