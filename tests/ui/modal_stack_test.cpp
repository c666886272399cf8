#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "ui/screen.h"
#include "ui_fixture.h"

namespace zor::ui {
namespace {

// A screen that logs its lifecycle.
class LoggingScreen : public Screen {
  public:
    LoggingScreen(Application& app, std::string name, std::vector<std::string>& log)
        : Screen(app, std::move(name)), log_(log) {}

    std::vector<int> opacities;

  protected:
    void onShow() override { log_.push_back(name() + ".show"); }
    void onActivate() override {
        opacities.push_back(opacity());
        log_.push_back(name() + ".activate");
    }
    void onHide() override { log_.push_back(name() + ".hide"); }
    void onClose() override { log_.push_back(name() + ".close"); }

  private:
    std::vector<std::string>& log_;
};

struct ModalStackTest : testing::UiFixture, ::testing::Test {
    std::vector<std::string> log;
    LoggingScreen a{app, "A", log}, b{app, "B", log}, c{app, "C", log};
};

TEST_F(ModalStackTest, ClosingRunsTheCodeAfterTheCallWithTheResult) {
    ModalResult got = ModalResult::None;
    a.ShowModal();
    app.runEvent([&] {
        b.ShowModal([&](ModalResult r) {
            got = r;
            log.push_back("after B");
        });
        log.push_back("B opened");
    });
    EXPECT_EQ(app.activeScreen(), &b);
    app.runEvent([&] {
        b.setModalResult(ModalResult::Abort);
        log.push_back("still in handler");
    });
    EXPECT_EQ(got, ModalResult::Abort);
    EXPECT_EQ(log, (std::vector<std::string>{"A.show", "A.activate", "B.show", "B.activate",
                                             "B opened", "still in handler", "B.close", "B.hide",
                                             "A.activate", "after B"}));
    EXPECT_FALSE(b.visible());
    EXPECT_EQ(app.modalStack(), std::vector<Screen*>{&a});
}

TEST_F(ModalStackTest, ShowingsEndedMeanwhileCloseInTurnFromTheTop) {
    std::vector<std::string> order;
    a.ShowModal([&](ModalResult r) { order.push_back("A " + std::to_string(int(r))); });
    b.ShowModal([&](ModalResult r) { order.push_back("B " + std::to_string(int(r))); });
    c.ShowModal([&](ModalResult r) { order.push_back("C " + std::to_string(int(r))); });
    app.runEvent([&] {
        a.setModalResult(ModalResult::OK);
        b.setModalResult(ModalResult::Abort);
        c.setModalResult(ModalResult::Cancel);
    });
    EXPECT_EQ(order, (std::vector<std::string>{"C 2", "B 3", "A 1"}));
    EXPECT_TRUE(app.modalStack().empty());
    // An ended screen below is not activated again on its way out.
    EXPECT_EQ(std::count(log.begin(), log.end(), "A.activate"), 1);
}

TEST_F(ModalStackTest, EndedScreenWaitsForAScreenOpenedAfterItsUpperShowing) {
    bool aClosed = false;
    a.ShowModal([&](ModalResult) { aClosed = true; });
    b.ShowModal([&](ModalResult) { c.ShowModal(); });
    app.runEvent([&] {
        a.setModalResult(ModalResult::Cancel);
        b.setModalResult(ModalResult::Cancel);
    });
    EXPECT_FALSE(aClosed);
    EXPECT_EQ(app.modalStack(), (std::vector<Screen*>{&a, &c}));
    app.runEvent([&] { c.setModalResult(ModalResult::OK); });
    EXPECT_TRUE(aClosed);
}

TEST_F(ModalStackTest, FadingScreenFadesInWheneverItBecomesActive) {
    a.fade = {true, 180, 255};
    a.ShowModal();
    b.ShowModal();
    app.runEvent([&] { b.setModalResult(ModalResult::OK); });
    EXPECT_EQ(a.opacities, (std::vector<int>{255, 255}));
    EXPECT_EQ(fadeInLevels(a.fade), (std::vector<int>{0, 180, 255}));
}

TEST_F(ModalStackTest, FadingOutEndsAtZeroAndAScreenWithoutFadingIsOpaque) {
    a.fade = fades::AfterScreen;
    a.ShowModal();
    app.runEvent([&] { a.Hide(); });
    EXPECT_EQ(a.opacity(), 0);
    a.fade.enabled = false;
    app.runEvent([&] { a.Show(); });
    EXPECT_EQ(a.opacity(), 255);
}

TEST(FadeLevelsTest, FollowTheStepsOfEachScreen) {
    EXPECT_EQ(fadeInLevels(fades::SubjectEntry), (std::vector<int>{0, 180, 255}));
    EXPECT_EQ(fadeInLevels(fades::TestScreen), (std::vector<int>{0, 250, 255}));
    EXPECT_EQ(fadeInLevels(fades::Message), (std::vector<int>{0, 190, 200}));
    EXPECT_EQ(fadeOutLevels(fades::AfterScreen), (std::vector<int>{255, 25, 0}));
    EXPECT_EQ(fadeOutLevels(fades::Message), (std::vector<int>{200, 10, 0}));
    EXPECT_EQ(fadeInLevels(fades::ProgramInformation).size(), 116u);
    EXPECT_EQ(fadeInLevels(fades::ProgramInformation).back(), 230);
}

TEST_F(ModalStackTest, ErrorInAHandlerIsShownAndTheStackStaysUsable) {
    a.ShowModal();
    app.title = "Klomperix Test";
    app.runEvent([] { throw std::runtime_error("kapot"); });
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].title, "Klomperix Test");
    EXPECT_EQ(dialogs.messages[0].text, "kapot");
    app.runEvent([&] { a.setModalResult(ModalResult::OK); });
    EXPECT_TRUE(app.modalStack().empty());
}

TEST_F(ModalStackTest, KeysGoToTheActiveScreen) {
    struct KeyScreen : Screen {
        using Screen::Screen;
        std::vector<int> keys;
        void onKeyDown(int& key, Shift) override {
            keys.push_back(key);
            if (key == keys::Space) key = 0;  // swallowed, as the test screens do
        }
    } k1(app, "K1"), k2(app, "K2");
    k1.ShowModal();
    k2.ShowModal();
    EXPECT_EQ(app.keyDown(keys::Return, {}), keys::Return);
    EXPECT_EQ(app.keyDown(keys::Space, {}), 0);
    app.runEvent([&] { k2.setModalResult(ModalResult::OK); });
    app.keyDown(keys::Escape, {});
    EXPECT_EQ(k2.keys, (std::vector<int>{keys::Return, keys::Space}));
    EXPECT_EQ(k1.keys, std::vector<int>{keys::Escape});
}

TEST_F(ModalStackTest, CloseOfAModalScreenEndsItsShowingWithCancel) {
    ModalResult got = ModalResult::None;
    a.ShowModal([&](ModalResult r) { got = r; });
    app.runEvent([&] { a.Close(); });
    EXPECT_EQ(got, ModalResult::Cancel);
}

}  // namespace
}  // namespace zor::ui
