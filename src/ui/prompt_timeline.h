#pragma once

#include <cstdint>
#include <optional>

#include "ui/sound.h"

namespace zor::ui {

// When a played sound counts as finished. An audio backend reports the end
// of a sound late and unevenly, and sometimes never, so the end is derived
// from what is known exactly: the sound's duration, counted from the moment
// the backend confirms that playback has started, plus the output's latency
// (the time from handing a sample over to hearing it), which may change
// while the sound plays. A backend that fails, or never confirms the start,
// lets the sound last its real duration from the play request, as a silent
// player would: the player never gets stuck in "playing". A backend that
// reports when the server has played the sound out makes that report a
// further condition: the sound never reads stopped before it (nor before
// the output's remaining delay after it), so a latency figure that was
// read too low cannot end it early; a report that never comes holds the
// end back by kPlayedOutGraceMs at most. Times are milliseconds on one
// monotonic clock.
class PromptTimeline {
public:
    // How long a backend may take to confirm the start before the sound is
    // timed as if it played silently from the request.
    static constexpr std::int64_t kStartGraceMs = 1000;
    static constexpr std::int64_t kPlayedOutGraceMs = 500;

    // `silentDurationMs`: how long the sound lasts when timed as a silent
    // player times it (the whole file, where `durationMs` may stop at its
    // last sound); the same as `durationMs` when not given.
    explicit PromptTimeline(std::int64_t durationMs = 0,
                            std::optional<std::int64_t> silentDurationMs = std::nullopt)
        : durationMs_(durationMs), silentDurationMs_(silentDurationMs.value_or(durationMs)) {}

    std::int64_t durationMs() const { return durationMs_; }

    void playRequested(std::int64_t nowMs);
    void startConfirmed(std::int64_t nowMs, std::int64_t latencyMs,
                        bool reportsPlayedOut = false);
    // The output's latency as read again while the sound plays. A sound that
    // already reads stopped stays stopped, unless `stopUnseen`: the caller
    // knows that nobody has been told it stopped, so a later end still holds.
    void latencyChanged(std::int64_t nowMs, std::int64_t latencyMs, bool stopUnseen = false);
    // The server has played everything out; the output still holds it for
    // `remainingMs`. The latency is not read again after this.
    void playedOut(std::int64_t nowMs, std::int64_t remainingMs);
    void failed(std::int64_t nowMs);
    // Silences the sound: it reads stopped from now on.
    void stop();

    PlayerMode mode(std::int64_t nowMs) const;
    // When the sound counts as finished, if that is known yet.
    std::optional<std::int64_t> endMs() const;
    bool started() const { return startedMs_.has_value(); }
    // When the backend confirmed the start.
    std::optional<std::int64_t> startedMs() const { return startedMs_; }
    bool hasFailed() const { return failedEndMs_.has_value(); }
    std::int64_t latencyMs() const { return latencyMs_; }

private:
    std::int64_t durationMs_;
    std::int64_t silentDurationMs_;
    std::optional<std::int64_t> requestedMs_;
    std::optional<std::int64_t> startedMs_;
    std::int64_t latencyMs_ = 0;
    bool awaitsPlayedOut_ = false;
    std::optional<std::int64_t> playedOutEndMs_;
    std::optional<std::int64_t> failedEndMs_;
};

}  // namespace zor::ui
