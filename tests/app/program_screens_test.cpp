#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "../report/report_screens_fixture.h"
#include "administration_fixture.h"
#include "zor/program_screens.h"

namespace zor::app {
namespace {

namespace fs = std::filesystem;
using administration::testing::AdministrationFixture;

struct ReportServices {
    report::testing::FakePrinting printing;
    report::testing::FakeFolderOpener folders;
};

// The program's own screens, built by the program's builder and driven from
// the main menu to the report on the virtual clock.
struct ProgramScreensTest : ReportServices, AdministrationFixture, ::testing::Test {
    ProgramScreensTest()
        : AdministrationFixture([this](ui::Application& app) {
              return std::make_unique<ProgramScreenBuilder>(app, printing, folders);
          }) {
        fs::create_directories(reports / "PDF");
        std::ofstream(settingsFile, std::ios::binary | std::ios::app)
            << "trpath=" << reports.string() << "\r\n";
    }

    ProgramScreenBuilder& program() { return static_cast<ProgramScreenBuilder&>(builder); }

    fs::path reports = root / "reports";
};

TEST_F(ProgramScreensTest, StartUpLinksEveryRealScreen) {
    const shell::LaterScreens& later = startup->screens().later;
    ASSERT_TRUE(later.complete());
    EXPECT_EQ(later.PP, program().PP);
    EXPECT_EQ(later.TRO, program().TRO);
    EXPECT_EQ(later.Correct, program().Correct);
    EXPECT_EQ(later.ZORinvoer, &entry());
    EXPECT_EQ(&links().preview->screen(), program().PP);
}

TEST_F(ProgramScreensTest, FinishedAdministrationOpensAndStoresTheRealReport) {
    startAdministration(true);
    passIntroduction(fwIn());
    for (int step = 1; step <= 15; ++step) deletionStep(1500, step % 2 == 0);
    finishSubtest(fwTest());
    ASSERT_EQ(app.activeScreen(), &fwAft());
    fwAft().BtnYes.click();
    passIntroduction(fvIn());
    for (int item = 1; item <= 12; ++item) swapItem(3500, item % 3 != 0);
    finishSubtest(fvTest());
    ASSERT_EQ(app.activeScreen(), &finish());

    finish().ButtonTR.click();
    ASSERT_EQ(app.activeScreen(), program().PP);
    clock.advance(100);
    EXPECT_EQ(program().PP->PrintPreview.Store().TotalPages(), 1);

    program().PP->ButtonExit.click();
    // Closing saves the administration, with its notice standing for a second.
    clock.advance(1500);
    ASSERT_EQ(app.activeScreen(), &finish());
    EXPECT_TRUE(fs::is_regular_file(reports / "Jan01 - 05-03-2011.zrp"));
    EXPECT_TRUE(fs::is_regular_file(reports / "PDF" / "ZOR - Jan01_05-03-2011.pdf"));
    // A finished administration leaves no resume file behind.
    EXPECT_FALSE(fs::exists(incompleteFile("Jan01_05-03-2011.zta")));
    EXPECT_TRUE(finish().ButtonHM.enabled);
    EXPECT_TRUE(finish().ButtonExit.visible);
    EXPECT_TRUE(dialogs.messages.empty());

    finish().ButtonHM.click();
    clock.advance(500);
    EXPECT_EQ(app.activeScreen(), &main());
}

}  // namespace
}  // namespace zor::app
