#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <vector>

#include "ui/errors.h"
#include "ui/pulse/pulse_sound.h"
#include "ui/wav_pcm.h"
#include "ui_fixture.h"
#include "wav_file.h"

namespace zor::ui::pulse {
namespace {

// Without a sound server: the client library is pointed at a socket that
// does not exist.
struct PulseSoundTest : ::testing::Test {
    PulseSoundTest() { ::setenv("PULSE_SERVER", "unix:/nonexistent/zor-no-server", 1); }
    std::filesystem::path dir = ui::testing::freshFolder("pulse-sound");
    VirtualClock clock;
    std::vector<std::string> log;
    PulseSoundSystem sounds{clock, {std::nullopt, [this](auto& line) { log.push_back(line); }, 1000, {}}};
};

// No sound server: a played prompt lasts exactly its duration on the
// clock, as the silent player times it, and the log says why once.
TEST_F(PulseSoundTest, WithoutASoundServerAPromptIsTimedAsASilentOne) {
    EXPECT_FALSE(sounds.connected());
    EXPECT_FALSE(sounds.defaultOutput());
    ui::testing::writeWav((dir / "p.wav").string(), 700);
    auto player = sounds.createPlayer("MP1");
    player->setFileName((dir / "p.wav").string());
    player->open();
    EXPECT_EQ(player->mode(), PlayerMode::Stopped);
    for (int round = 0; round < 2; ++round) {
        player->play();
        EXPECT_EQ(player->mode(), PlayerMode::Playing);
        clock.advance(699);
        EXPECT_EQ(player->mode(), PlayerMode::Playing);
        clock.advance(1);
        EXPECT_EQ(player->mode(), PlayerMode::Stopped);
        EXPECT_FALSE(player->outputLatencyMs());
    }
    EXPECT_EQ(log.size(), 1u);
    EXPECT_FALSE(sounds.takeOutputLost());
    player->close();
    EXPECT_EQ(player->mode(), PlayerMode::Stopped);
    player->close();  // closing twice is harmless
}

TEST_F(PulseSoundTest, OpeningAMissingFileNamesIt) {
    auto player = sounds.createPlayer("MP2");
    player->setFileName((dir / "FV" / "FVi13.wav").string());
    try {
        player->open();
        FAIL() << "no error";
    } catch (const FileLoadError& e) {
        EXPECT_EQ(e.file(), (dir / "FV" / "FVi13.wav").string());
        EXPECT_NE(std::string(e.what()).find("FVi13.wav"), std::string::npos);
    }
    EXPECT_THROW(player->play(), FileLoadError);
    EXPECT_EQ(player->mode(), PlayerMode::Stopped);
}

}  // namespace
}  // namespace zor::ui::pulse
