#include <gtest/gtest.h>

#include "shell_fixture.h"

namespace zor::shell {
namespace {

struct StartupTest : testing::ShellFixture, ::testing::Test {};

std::vector<std::string> namesOf(const std::vector<ui::Screen*>& screens) {
    std::vector<std::string> out;
    for (auto* s : screens) out.push_back(s->name());
    return out;
}

TEST_F(StartupTest, CreatesEveryScreenOnceInOrderAndEndsOnTheMainMenu) {
    launch(program.string() + "/");
    EXPECT_EQ(namesOf(app.screens()), (std::vector<std::string>{"ZORsplash", "Loader"}));
    EXPECT_TRUE(screens().splash->visible());
    EXPECT_EQ(screens().splash->Image1.pictureName(), "ZORsplash.jpg");
    clock.advance(999);
    EXPECT_EQ(app.screens().size(), 2u);
    clock.advance(1);
    // Main screen, program information and the first screens exist; the
    // loading screen runs.
    EXPECT_EQ(app.activeScreen(), screens().loader.get());
    EXPECT_EQ(screens().loader->Label1.caption, "Laden... even geduld s.v.p.");
    clock.advance(98);
    EXPECT_TRUE(screens().loader->showingModally());
    clock.advance(2);
    EXPECT_EQ(screens().loader->ProgressBar1.position, 100);
    EXPECT_FALSE(screens().loader->showingModally());
    EXPECT_EQ(namesOf(app.screens()),
              (std::vector<std::string>{"ZORsplash", "Loader", "ZORMAINForm", "AboutBox", "TFWin",
                                        "TFWtfase", "TZORinvoer", "TAfterFW", "TAfterFV",
                                        "Tcorrect", "TFVtfase", "TFVin", "TFinish", "TPP", "TTRO",
                                        "message", "TZORkeuze", "Backblack"}));
    EXPECT_EQ(app.modalStack(), std::vector<ui::Screen*>{&main()});
    EXPECT_EQ(main().caption, "Klomperix Test");
    EXPECT_TRUE(main().stayOnTop);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(StartupTest, MissingSettingsFileDoesNotStopTheProgram) {
    std::filesystem::remove(settingsFile);
    startProgram();
    EXPECT_EQ(main().Datapath(), "");
    EXPECT_EQ(main().reportFolder(), "");
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(app.activeScreen(), &main());
}

}  // namespace
}  // namespace zor::shell

namespace zor::shell {
namespace {

TEST_F(StartupTest, RunsOnTheProgramsOwnPicturesAndSoundsWithoutAnError) {
    launch(ZOR_SOURCE_DIR "/assets/");
    clock.advance(2000);
    main().About.click();
    screens().about->OKButton.click();
    app.runEvent([&] { screens().message->ShowModal(); });
    clock.advance(1000);
    main().ButtonExit.click();
    clock.advance(1000);
    EXPECT_TRUE(app.terminated());
    for (const auto& m : dialogs.messages) ADD_FAILURE() << m.text;
    EXPECT_GE(sounds.plays().size(), 4u);
}

}  // namespace
}  // namespace zor::shell
