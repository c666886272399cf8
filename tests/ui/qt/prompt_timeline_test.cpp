#include <gtest/gtest.h>

#include "ui/qt/prompt_timeline.h"

namespace zor::ui::qt {
namespace {

constexpr auto Playing = PlayerMode::Playing;
constexpr auto Stopped = PlayerMode::Stopped;

TEST(PromptTimeline, EndsTheDurationPlusLatencyAfterTheConfirmedStart) {
    PromptTimeline t(1680);
    EXPECT_EQ(t.mode(0), Stopped);  // opened, not played
    t.playRequested(1000);
    EXPECT_EQ(t.mode(1000), Playing);
    EXPECT_FALSE(t.endMs());
    // The backend confirms late: the duration counts from the confirmation.
    t.startConfirmed(1250, 40);
    EXPECT_EQ(t.endMs(), 1250 + 1680 + 40);
    EXPECT_EQ(t.mode(2969), Playing);
    EXPECT_EQ(t.mode(2970), Stopped);
}

TEST(PromptTimeline, TheBackendsEndCountsOnlyWhenEarlier) {
    PromptTimeline late(1000);
    late.playRequested(0);
    late.startConfirmed(10, 20);
    late.backendEnded(2400);  // a late report does not keep the sound playing
    EXPECT_EQ(late.mode(1030), Stopped);

    PromptTimeline early(1000);
    early.playRequested(0);
    early.startConfirmed(10, 20);
    early.backendEnded(800);
    EXPECT_EQ(early.mode(799), Playing);
    EXPECT_EQ(early.mode(800), Stopped);

    // An end reported before the start was confirmed belongs to nothing.
    PromptTimeline stale(1000);
    stale.playRequested(0);
    stale.backendEnded(5);
    stale.startConfirmed(10, 0);
    EXPECT_EQ(stale.mode(500), Playing);
}

TEST(PromptTimeline, ABackendThatNeverConfirmsDoesNotKeepItPlaying) {
    PromptTimeline t(1680);
    t.playRequested(100);
    const std::int64_t limit = 100 + 1680 + PromptTimeline::kStartGraceMs;
    EXPECT_EQ(t.mode(limit - 1), Playing);
    EXPECT_EQ(t.mode(limit), Stopped);
    EXPECT_EQ(t.mode(limit + 3'600'000), Stopped);
}

TEST(PromptTimeline, AFailureTimesTheSoundAsASilentPlayerWould) {
    // Failing at once: the prompt still lasts its real duration.
    PromptTimeline atOnce(1500);
    atOnce.playRequested(200);
    atOnce.failed(210);
    EXPECT_EQ(atOnce.mode(1699), Playing);
    EXPECT_EQ(atOnce.mode(1700), Stopped);

    // Failing after the duration has passed: stopped from then on.
    PromptTimeline late(1500);
    late.playRequested(0);
    late.failed(5000);
    EXPECT_EQ(late.mode(5000), Stopped);

    // Failing while playing never stretches an end already known.
    PromptTimeline playing(1500);
    playing.playRequested(0);
    playing.startConfirmed(0, 0);
    playing.backendEnded(900);
    playing.failed(950);
    EXPECT_EQ(playing.mode(949), Stopped);

    // A failure without a play request changes nothing.
    PromptTimeline idle(1500);
    idle.failed(10);
    EXPECT_EQ(idle.mode(10), Stopped);
}

TEST(PromptTimeline, StoppingAndPlayingAgainStartsAfresh) {
    PromptTimeline t(1000);
    t.playRequested(0);
    t.startConfirmed(0, 0);
    t.stop();
    EXPECT_EQ(t.mode(10), Stopped);
    t.playRequested(2000);
    EXPECT_EQ(t.mode(2000), Playing);
    t.startConfirmed(2100, 0);
    t.startConfirmed(2500, 0);  // only the first confirmation counts
    EXPECT_EQ(t.endMs(), 3100);
}

}  // namespace
}  // namespace zor::ui::qt
