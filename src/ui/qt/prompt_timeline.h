#pragma once

#include <cstdint>
#include <optional>

#include "ui/sound.h"

namespace zor::ui::qt {

// When a played sound counts as finished. An audio backend reports the end
// of a sound late and unevenly, and sometimes never, so the end is derived
// from what is known exactly: the sound's duration, counted from the moment
// the backend confirms that playback has started, plus the output's latency.
// The backend's own end counts only when it comes earlier. A backend that
// fails, or never confirms the start, lets the sound last its real duration
// from the play request, as a silent player would: the player never gets
// stuck in "playing". Times are milliseconds on one monotonic clock.
class PromptTimeline {
public:
    // How long a backend may take to confirm the start before the sound is
    // timed as if it played silently from the request.
    static constexpr std::int64_t kStartGraceMs = 1000;

    explicit PromptTimeline(std::int64_t durationMs = 0) : durationMs_(durationMs) {}

    std::int64_t durationMs() const { return durationMs_; }

    void playRequested(std::int64_t nowMs);
    void startConfirmed(std::int64_t nowMs, std::int64_t latencyMs);
    void backendEnded(std::int64_t nowMs);
    void failed(std::int64_t nowMs);
    // Silences the sound: it reads stopped from now on.
    void stop();

    PlayerMode mode(std::int64_t nowMs) const;
    // When the sound counts as finished, if that is known yet.
    std::optional<std::int64_t> endMs() const;
    bool started() const { return startedMs_.has_value(); }

private:
    std::int64_t durationMs_;
    std::optional<std::int64_t> requestedMs_;
    std::optional<std::int64_t> startedMs_;
    std::int64_t latencyMs_ = 0;
    std::optional<std::int64_t> backendEndMs_;
    std::optional<std::int64_t> failedEndMs_;
};

}  // namespace zor::ui::qt
