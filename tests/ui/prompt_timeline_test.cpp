#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/output_latency.h"
#include "ui/prompt_timeline.h"

namespace zor::ui {
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
    PromptTimeline playing(900);
    playing.playRequested(0);
    playing.startConfirmed(0, 0);
    playing.failed(950);
    EXPECT_EQ(playing.mode(950), Stopped);
    PromptTimeline lateStart(900);
    lateStart.playRequested(0);
    lateStart.startConfirmed(300, 50);  // would end at 1250
    lateStart.failed(400);
    EXPECT_EQ(lateStart.mode(899), Playing);
    EXPECT_EQ(lateStart.mode(900), Stopped);

    // A sound whose recording ends in silence ends with its last sound when
    // played, but lasts the whole file when timed silently.
    PromptTimeline trimmed(900, 1000);
    trimmed.playRequested(0);
    trimmed.startConfirmed(0, 0);
    EXPECT_EQ(trimmed.mode(899), Playing);
    EXPECT_EQ(trimmed.mode(900), Stopped);
    trimmed.playRequested(2000);
    trimmed.failed(2000);
    EXPECT_EQ(trimmed.mode(2999), Playing);
    EXPECT_EQ(trimmed.mode(3000), Stopped);

    // A later end read before anybody saw the sound stop still holds.
    PromptTimeline unseen(900);
    unseen.playRequested(0);
    unseen.startConfirmed(0, 0);
    unseen.latencyChanged(950, 0);
    EXPECT_EQ(unseen.mode(950), Stopped);
    unseen.latencyChanged(950, 80, true);
    EXPECT_EQ(unseen.mode(979), Playing);
    EXPECT_EQ(unseen.mode(980), Stopped);

    // A failure without a play request changes nothing.
    PromptTimeline idle(1500);
    idle.failed(10);
    EXPECT_EQ(idle.mode(10), Stopped);
}

TEST(PromptTimeline, ALowLatencyFigureCannotEndTheSoundBeforeTheServerHasPlayedItOut) {
    PromptTimeline t(1000);
    t.playRequested(0);
    t.startConfirmed(10, 5, true);
    EXPECT_EQ(t.mode(1015), Playing);  // timed end passed, no report yet
    t.playedOut(1060, 4);                // the output still holds 4 ms
    t.latencyChanged(1061, 0);           // not read any more
    EXPECT_EQ(t.mode(1063), Playing);
    EXPECT_EQ(t.mode(1064), Stopped);
    // A report before the timed end does not cut the latency short.
    PromptTimeline early(1000);
    early.playRequested(0);
    early.startConfirmed(0, 40, true);
    early.playedOut(990, 0);
    EXPECT_EQ(early.mode(1039), Playing);
    EXPECT_EQ(early.mode(1040), Stopped);
    // A report that never comes holds the end back by the grace only.
    PromptTimeline never(1000);
    never.playRequested(0);
    never.startConfirmed(0, 20, true);
    EXPECT_EQ(never.mode(1020 + PromptTimeline::kPlayedOutGraceMs - 1), Playing);
    EXPECT_EQ(never.mode(1020 + PromptTimeline::kPlayedOutGraceMs), Stopped);
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

// A latency source as a sound server is: it answers, has not answered yet,
// or cannot tell; every read is counted.
struct ScriptedLatency : OutputLatencySource {
    LatencyReading next{LatencyReading::State::Known, 0};
    int reads = 0;
    LatencyReading readLatency() override {
        ++reads;
        return next;
    }
};

// The player's way with a latency: read at the confirmed start, read again
// at every mode read while the sound plays.
struct TimedPrompt {
    PromptTimeline timeline;
    OutputLatency latency;
    ScriptedLatency source;
    void start(std::int64_t now) {
        timeline.playRequested(now);
        timeline.startConfirmed(now, latency.read(source).value_or(0));
    }
    PlayerMode modeAt(std::int64_t now) {
        if (timeline.started() && timeline.mode(now) == Playing)
            if (auto ms = latency.read(source)) timeline.latencyChanged(now, *ms);
        return timeline.mode(now);
    }
};

TEST(OutputLatency, TheServersLatencyMovesTheEndAndAChangeWhilePlayingIsFollowed) {
    std::vector<std::string> log;
    TimedPrompt p{PromptTimeline(2000), OutputLatency(std::nullopt, [&](auto& l) { log.push_back(l); }), {}};
    p.source.next = {LatencyReading::State::Known, 180};
    p.start(1000);
    EXPECT_EQ(p.timeline.endMs(), 1000 + 2000 + 180);
    // Headphones reconnected mid-prompt: the server now reports 40 ms.
    p.source.next = {LatencyReading::State::Known, 40};
    EXPECT_EQ(p.modeAt(2500), Playing);
    EXPECT_EQ(p.modeAt(3039), Playing);
    EXPECT_EQ(p.modeAt(3040), Stopped);
    // Once stopped, a larger figure does not bring the sound back.
    p.source.next = {LatencyReading::State::Known, 300};
    EXPECT_EQ(p.modeAt(3041), Stopped);
    // Not answered yet: the figure in use stays.
    TimedPrompt q{PromptTimeline(1000), OutputLatency(std::nullopt, nullptr), {}};
    q.source.next = {LatencyReading::State::Known, 120};
    q.start(0);
    q.source.next = {LatencyReading::State::Pending};
    EXPECT_EQ(q.modeAt(1119), Playing);
    EXPECT_EQ(q.modeAt(1120), Stopped);
    EXPECT_TRUE(log.empty());
}

TEST(OutputLatency, TheTestLeadersSettingWinsOverTheServer) {
    TimedPrompt p{PromptTimeline(1500), OutputLatency(std::int64_t{250}, nullptr), {}};
    p.source.next = {LatencyReading::State::Known, 20};
    p.start(0);
    EXPECT_EQ(p.modeAt(1749), Playing);
    EXPECT_EQ(p.modeAt(1750), Stopped);
    EXPECT_EQ(p.source.reads, 0);
}

TEST(OutputLatency, AServerThatCannotTellCountsAsZeroSaidOnceInTheLog) {
    std::vector<std::string> log;
    TimedPrompt p{PromptTimeline(1000), OutputLatency(std::nullopt, [&](auto& l) { log.push_back(l); }), {}};
    p.source.next = {LatencyReading::State::Unknown};
    p.start(0);
    EXPECT_EQ(p.modeAt(500), Playing);
    EXPECT_EQ(p.modeAt(999), Playing);
    EXPECT_EQ(p.modeAt(1000), Stopped);
    ASSERT_EQ(log.size(), 1u);
    EXPECT_NE(log[0].find("0 ms"), std::string::npos);
    // Known in between, then lost again: said again.
    p.source.next = {LatencyReading::State::Known, 30};
    p.start(2000);
    p.source.next = {LatencyReading::State::Unknown};
    p.modeAt(2100);
    EXPECT_EQ(log.size(), 2u);
}

}  // namespace
}  // namespace zor::ui
