#include <gtest/gtest.h>

#include "shell_fixture.h"

namespace zor::shell {
namespace {

struct ExitTest : testing::ShellFixture, ::testing::Test {
    void SetUp() override { startProgram(); }

    // A new administration in its test phase: main screen, subtest choice,
    // subject entry, introduction and test screen.
    void openAdministration() {
        main().ButtonNT.click();
        clock.advance(500);
        app.runEvent([&] {
            later().ZORinvoer->screen().ShowModal();
            later().FWin->ShowModal();
            later().FWtfase->ShowModal();
        });
        ASSERT_EQ(app.modalStack().size(), 5u);
    }
    void chooseSluiten() { main().PopupMenu1.choose(2); }
};

TEST_F(ExitTest, SluitenAnsweredWithCancelChangesNothing) {
    openAdministration();
    const auto stack = app.modalStack();
    dialogs.confirmAnswers.push_back(ui::ModalResult::Cancel);
    chooseSluiten();
    ASSERT_EQ(dialogs.confirmations.size(), 1u);
    EXPECT_EQ(dialogs.confirmations[0].text, "Hiermee sluit u het ZOR-afnameprogramma. Doorgaan?");
    EXPECT_EQ(dialogs.confirmations[0].buttons, ui::ConfirmButtons::OKCancel);
    clock.advance(5000);
    EXPECT_EQ(app.modalStack(), stack);
    for (ui::Screen* s : stack) EXPECT_TRUE(s->visible()) << s->name();
    EXPECT_TRUE(main().ButtonNT.visible);
    EXPECT_FALSE(main().Label1.visible);
    EXPECT_FALSE(app.terminated());
}

TEST_F(ExitTest, ConfirmedExitFromDeepInTheStackClosesEveryScreenAfterTheFarewell) {
    openAdministration();
    dialogs.confirmAnswers.push_back(ui::ModalResult::OK);
    chooseSluiten();
    // Every screen above the main screen has closed; the farewell shows.
    EXPECT_EQ(app.modalStack(), std::vector<ui::Screen*>{&main()});
    for (ui::Screen* s :
         {later().ZORkeuze, &later().ZORinvoer->screen(), later().FWin, later().FWtfase})
        EXPECT_FALSE(s->visible()) << s->name();
    EXPECT_TRUE(main().Label1.visible);
    EXPECT_EQ(main().Label1.caption, "TOT ZIENS!");
    EXPECT_FALSE(main().ButtonNT.visible || main().ButtonTH.visible || main().ButtonTRO.visible ||
                 main().ButtonExit.visible || main().About.visible);
    EXPECT_EQ(main().Background.pictureName(), "ZORsplash.jpg");
    EXPECT_EQ(app.cursor, ui::Cursor::HourGlass);
    clock.advance(999);
    EXPECT_FALSE(app.terminated());
    EXPECT_TRUE(main().Background.visible);
    clock.advance(1);
    EXPECT_TRUE(app.terminated());
    EXPECT_TRUE(app.modalStack().empty());
    EXPECT_FALSE(main().visible());
    EXPECT_FALSE(main().icon.registered);
    EXPECT_FALSE(screens().splash->visible());
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(ExitTest, ExitButtonEndsWithoutAskingAfterOneSecond) {
    main().ButtonExit.click();
    EXPECT_TRUE(dialogs.confirmations.empty());
    clock.advance(999);
    EXPECT_FALSE(app.terminated());
    clock.advance(1);
    EXPECT_TRUE(app.terminated());
}

TEST_F(ExitTest, ConfirmedExitAlsoEndsShowingsOutsideTheListedScreens) {
    main().ButtonTRO.click();
    clock.advance(500);
    app.runEvent([&] { later().Correct->ShowModal(); });
    dialogs.confirmAnswers.push_back(ui::ModalResult::OK);
    chooseSluiten();
    clock.advance(1000);
    EXPECT_TRUE(app.terminated());
    EXPECT_TRUE(app.modalStack().empty());
}

TEST_F(ExitTest, TrayRightClickPopsUpTheMenuWhoseOnlyActiveItemIsSluiten) {
    struct Observer : ui::ApplicationObserver {
        ui::PopupMenu* shown = nullptr;
        void popup(ui::PopupMenu& m) override { shown = &m; }
    } observer;
    app.observer = &observer;
    main().TrayIconCallback(513);
    EXPECT_EQ(observer.shown, nullptr);
    main().TrayIconCallback(kRightButtonDown);
    EXPECT_EQ(observer.shown, &main().PopupMenu1);
    main().PopupMenu1.choose(0);
    main().TaskBarMenu1.choose(1);
    EXPECT_TRUE(dialogs.confirmations.empty());
    EXPECT_EQ(main().TaskBarMenu1.items[2].caption, "&Sluiten");
    app.observer = nullptr;
}

}  // namespace
}  // namespace zor::shell

namespace zor::shell {
namespace {

TEST_F(ExitTest, AltF4OnTheMainMenuAsksBeforeEnding) {
    dialogs.confirmAnswers.push_back(ui::ModalResult::OK);
    app.keyDown(ui::keys::F4, {.alt = true});
    EXPECT_EQ(dialogs.confirmations.size(), 1u);
    clock.advance(1000);
    EXPECT_TRUE(app.terminated());
}

}  // namespace
}  // namespace zor::shell

namespace zor::shell {
namespace {

TEST(ExitDuringStartupTest, SluitenWhileTheScreensAreBeingMadeIsIgnored) {
    struct Fixture : testing::ShellFixture {
    } f;
    f.launch(f.program.string() + "/");
    f.clock.advance(1000);  // the loading screen runs; the later screens are not all made
    ASSERT_FALSE(f.later().complete());
    f.main().PopupMenu1.choose(2);
    EXPECT_TRUE(f.dialogs.confirmations.empty());
    f.clock.advance(1000);
    EXPECT_TRUE(f.later().complete());
    EXPECT_EQ(f.app.activeScreen(), &f.main());
}

}  // namespace
}  // namespace zor::shell
