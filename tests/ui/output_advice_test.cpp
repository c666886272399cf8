#include "ui/output_advice.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace zor::ui {
namespace {

// An output whose latency and losses the test sets; a player knows its
// latency once it has played.
struct FakeOutput : SoundSystem {
    std::optional<std::int64_t> latency;
    bool lost = false;
    struct Player : SoundPlayer {
        FakeOutput& out;
        std::string file;
        bool played = false;
        explicit Player(FakeOutput& o) : out(o) {}
        void setFileName(const std::string& f) override { file = f; }
        const std::string& fileName() const override { return file; }
        void open() override {}
        void play() override { played = true; }
        PlayerMode mode() const override { return PlayerMode::Playing; }
        void close() override {}
        std::optional<std::int64_t> outputLatencyMs() const override {
            return played ? out.latency : std::nullopt;
        }
    };
    std::unique_ptr<SoundPlayer> createPlayer(const std::string&) override {
        return std::make_unique<Player>(*this);
    }
    bool takeOutputLost() override { return std::exchange(lost, false); }
};

struct OutputAdviceTest : ::testing::Test {
    FakeOutput output;
    std::vector<std::string> shown;
    OutputAdvice advice{output, [this](const std::string& title, const std::string& text) {
                            EXPECT_EQ(title, "Geluid");
                            shown.push_back(text);
                        }};
    std::unique_ptr<SoundPlayer> click = advice.createPlayer("MP1");
    std::unique_ptr<SoundPlayer> prompt = advice.createPlayer("MPIntro");
};

TEST_F(OutputAdviceTest, ASlowOutputAtTheFirstSoundIsToldOncePerAdministrationBeforeTheNextPlay) {
    output.latency = 240;
    advice.beginAdministration();
    // The click before the first prompt is the first sound; its player is
    // never read, yet the next play request brings the notice.
    click->play();
    prompt->play();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], OutputAdvice::highLatencyText(240));
    EXPECT_NE(shown[0].find("bedrade"), std::string::npos);
    for (int i = 0; i < 5; ++i) {
        prompt->mode();
        prompt->play();
    }
    EXPECT_EQ(shown.size(), 1u);
    // The next administration is checked afresh; 100 ms is no warning.
    advice.beginAdministration();
    prompt->play();
    click->play();
    EXPECT_EQ(shown.size(), 2u);
    output.latency = 100;
    advice.beginAdministration();
    prompt->play();
    prompt->mode();
    prompt->play();
    EXPECT_EQ(shown.size(), 2u);
}

TEST_F(OutputAdviceTest, ALostOutputIsToldOnceAtTheNextPlayRequestNotWhileAPromptIsTimed) {
    output.latency = 20;
    advice.beginAdministration();
    prompt->play();
    output.lost = true;
    EXPECT_EQ(prompt->mode(), PlayerMode::Playing);  // noticed, not shown yet
    EXPECT_TRUE(shown.empty());
    prompt->play();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], OutputAdvice::kLostOutputText);
    output.lost = true;
    prompt->mode();
    prompt->play();
    EXPECT_EQ(shown.size(), 1u);
}

}  // namespace
}  // namespace zor::ui
