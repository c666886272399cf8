#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fstream>

#include "ui/errors.h"
#include "ui/wav_pcm.h"
#include "ui_fixture.h"
#include "wav_file.h"

namespace zor::ui {
namespace {

struct SoundTest : testing::UiFixture, ::testing::Test {
    std::filesystem::path dir = testing::freshFolder("sound");
};

TEST_F(SoundTest, WavDurationComesFromTheHeader) {
    testing::writeWav((dir / "a.wav").string(), 1250);
    EXPECT_EQ(wavDurationMs((dir / "a.wav").string()), 1250);
    std::ofstream(dir / "bad.wav") << "RIFF....WAVEjunk";
    EXPECT_FALSE(wavDurationMs((dir / "bad.wav").string()));
    EXPECT_FALSE(wavDurationMs((dir / "none.wav").string()));
}

TEST_F(SoundTest, SilentPlayerPlaysForTheFilesDurationOnTheClock) {
    testing::writeWav((dir / "Save.wav").string(), 700);
    auto player = sounds.createPlayer("MPGeg");
    player->setFileName((dir / "Save.wav").string());
    player->open();
    EXPECT_EQ(player->mode(), PlayerMode::Stopped);
    player->play();
    EXPECT_EQ(player->mode(), PlayerMode::Playing);
    clock.advance(699);
    EXPECT_EQ(player->mode(), PlayerMode::Playing);
    clock.advance(1);
    EXPECT_EQ(player->mode(), PlayerMode::Stopped);
    ASSERT_EQ(sounds.plays().size(), 1u);
    EXPECT_EQ(sounds.plays()[0].player, "MPGeg");
    EXPECT_EQ(sounds.plays()[0].nativePath, (dir / "Save.wav").string());
}

TEST_F(SoundTest, OpeningAnotherFileOrClosingSilencesThePlayer) {
    testing::writeWav((dir / "a.wav").string(), 2000);
    auto player = sounds.createPlayer("MP1");
    player->setFileName((dir / "a.wav").string());
    player->open();
    player->play();
    player->open();
    EXPECT_EQ(player->mode(), PlayerMode::Stopped);
    player->play();
    player->close();
    EXPECT_EQ(player->mode(), PlayerMode::Stopped);
    player->close();
}

TEST_F(SoundTest, MissingSoundFailsAtOpenNamingTheFile) {
    auto player = sounds.createPlayer("MP1");
    player->setFileName((dir / "Audio" / "start.wav").string());
    try {
        player->open();
        FAIL() << "open of a missing file succeeded";
    } catch (const FileLoadError& e) {
        EXPECT_EQ(e.file(), (dir / "Audio/start.wav").string());
        EXPECT_NE(std::string(e.what()).find(e.file()), std::string::npos);
    }
    EXPECT_THROW(player->play(), FileLoadError);
}

TEST_F(SoundTest, WavSamplesAreReadWithTheirFormat) {
    testing::writeWav((dir / "a.wav").string(), 1250);
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
    // A pipe under a sound's name is refused, not waited on.
    ASSERT_EQ(::mkfifo((dir / "pipe.wav").c_str(), 0600), 0);
    EXPECT_FALSE(readWavPcm((dir / "pipe.wav").string()));
}

TEST_F(SoundTest, AFileCutShortKeepsTheWholeFramesItHas) {
    testing::writeWav((dir / "a.wav").string(), 1000);
    std::filesystem::resize_file(dir / "a.wav", 44 + 4000);
    auto pcm = readWavPcm((dir / "a.wav").string());
    ASSERT_TRUE(pcm);
    EXPECT_EQ(pcm->durationMs(), 500);

    // A damaged header that claims 4 GB of samples: the file's own samples.
    {
        std::fstream file(dir / "a.wav", std::ios::in | std::ios::out | std::ios::binary);
        file.seekp(40);
        file.write("\xF0\xFF\xFF\xFF", 4);
    }
    pcm = readWavPcm((dir / "a.wav").string());
    ASSERT_TRUE(pcm);
    EXPECT_EQ(pcm->durationMs(), 500);
}

}  // namespace
}  // namespace zor::ui
