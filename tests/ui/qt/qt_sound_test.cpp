#include <gtest/gtest.h>

#include <fstream>

#include "qt_test_app.h"
#include "ui/errors.h"
#include "ui/qt/prompt_timeline.h"
#include "ui/qt/qt_sound.h"
#include "ui/wav_pcm.h"
#include "ui_fixture.h"
#include "wav_file.h"

namespace zor::ui::qt {
namespace {

struct QtSoundTest : ::testing::Test {
    QApplication& qapp = testing::qtApp();
    std::filesystem::path dir = ui::testing::freshFolder("qt-sound");
    VirtualClock clock;
    QtSoundSystem sounds{clock};
};

TEST_F(QtSoundTest, WavSamplesAreReadWithTheirFormat) {
    ui::testing::writeWav((dir / "a.wav").string(), 1250);
    auto pcm = readWavPcm((dir / "a.wav").string());
    ASSERT_TRUE(pcm);
    EXPECT_EQ(pcm->channels, 1);
    EXPECT_EQ(pcm->sampleRate, 8000);
    EXPECT_EQ(pcm->bitsPerSample, 8);
    EXPECT_EQ(pcm->data.size(), 10000u);
    EXPECT_EQ(pcm->durationMs(), 1250);

    auto prompt = readWavPcm(std::string(ZOR_SOURCE_DIR) + "/assets/Audio/FW/FWn01.wav");
    ASSERT_TRUE(prompt);
    EXPECT_EQ(prompt->bitsPerSample, 16);
    EXPECT_GT(prompt->durationMs(), 0);

    std::ofstream(dir / "bad.wav") << "RIFF....WAVEjunk";
    EXPECT_FALSE(readWavPcm((dir / "bad.wav").string()));
    EXPECT_FALSE(readWavPcm((dir / "none.wav").string()));
}

TEST_F(QtSoundTest, AFileCutShortKeepsTheWholeFramesItHas) {
    ui::testing::writeWav((dir / "a.wav").string(), 1000);
    std::filesystem::resize_file(dir / "a.wav", 44 + 4000);
    auto pcm = readWavPcm((dir / "a.wav").string());
    ASSERT_TRUE(pcm);
    EXPECT_EQ(pcm->durationMs(), 500);
}

// With or without an audio output here, a played prompt reads "playing"
// and ends stopped on the clock, never stuck.
TEST_F(QtSoundTest, APlayedPromptEndsStoppedOnTheClock) {
    ui::testing::writeWav((dir / "p.wav").string(), 700);
    auto player = sounds.createPlayer("MP1");
    player->setFileName(dir.string() + "\\p.wav");
    player->open();
    EXPECT_EQ(player->mode(), PlayerMode::Stopped);
    player->play();
    EXPECT_EQ(player->mode(), PlayerMode::Playing);
    clock.advance(700 + PromptTimeline::kStartGraceMs + 100);
    EXPECT_EQ(player->mode(), PlayerMode::Stopped);
    player->close();
    EXPECT_EQ(player->mode(), PlayerMode::Stopped);
    player->close();  // closing twice is harmless
}

TEST_F(QtSoundTest, OpeningAMissingFileNamesIt) {
    auto player = sounds.createPlayer("MP2");
    player->setFileName(dir.string() + "\\FV\\FVi13.wav");
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
}  // namespace zor::ui::qt
