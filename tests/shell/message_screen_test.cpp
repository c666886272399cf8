#include <gtest/gtest.h>

#include "shell_fixture.h"

namespace zor::shell {
namespace {

struct MessageScreenTest : testing::ShellFixture, ::testing::Test {
    void SetUp() override { startProgram(); }
    int saveSounds() {
        int n = 0;
        for (const auto& p : sounds.plays())
            n += p.player == "MPGeg" && p.nativePath == (program / "Audio" / "Save.wav").string();
        return n;
    }
};

TEST_F(MessageScreenTest, SaveNoticeClosesItselfAfterOneSecondAndPlaysTheSaveSound) {
    auto& notice = *screens().message;
    ui::ModalResult result = ui::ModalResult::None;
    app.runEvent([&] {
        later().ZORinvoer->screen().ShowModal();
        notice.ShowModal([&](ui::ModalResult r) { result = r; });
    });
    EXPECT_EQ(app.activeScreen(), &notice);
    EXPECT_EQ(notice.opacity(), 200);
    EXPECT_TRUE(notice.transparentColorEnabled);
    clock.advance(999);
    EXPECT_TRUE(notice.showingModally());
    EXPECT_EQ(saveSounds(), 0);
    clock.advance(1);
    EXPECT_EQ(result, ui::ModalResult::Cancel);
    EXPECT_EQ(app.activeScreen(), &later().ZORinvoer->screen());
    EXPECT_EQ(saveSounds(), 1);
    // A second notice stands for a full second as well.
    app.runEvent([&] { notice.ShowModal(); });
    clock.advance(999);
    EXPECT_TRUE(notice.showingModally());
    clock.advance(1);
    EXPECT_FALSE(notice.showingModally());
    EXPECT_EQ(saveSounds(), 2);
}

TEST_F(MessageScreenTest, MissingSaveSoundIsReportedAndTheNoticeStillCloses) {
    std::filesystem::remove(program / "Audio" / "Save.wav");
    auto& notice = *screens().message;
    app.runEvent([&] { notice.ShowModal(); });
    clock.advance(1000);
    EXPECT_FALSE(notice.showingModally());
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_NE(dialogs.messages[0].text.find("Save.wav"), std::string::npos);
}

}  // namespace
}  // namespace zor::shell
