#include "ui/prompt_timeline.h"

#include <algorithm>

namespace zor::ui {

void PromptTimeline::playRequested(std::int64_t nowMs) {
    requestedMs_ = nowMs;
    startedMs_.reset();
    failedEndMs_.reset();
    playedOutEndMs_.reset();
    awaitsPlayedOut_ = false;
    latencyMs_ = 0;
}

void PromptTimeline::startConfirmed(std::int64_t nowMs, std::int64_t latencyMs,
                                    bool reportsPlayedOut) {
    if (!requestedMs_ || startedMs_ || failedEndMs_) return;
    startedMs_ = nowMs;
    latencyMs_ = std::max<std::int64_t>(0, latencyMs);
    awaitsPlayedOut_ = reportsPlayedOut;
}

void PromptTimeline::playedOut(std::int64_t nowMs, std::int64_t remainingMs) {
    if (!startedMs_ || failedEndMs_ || playedOutEndMs_) return;
    playedOutEndMs_ = nowMs + std::max<std::int64_t>(0, remainingMs);
}

void PromptTimeline::latencyChanged(std::int64_t nowMs, std::int64_t latencyMs,
                                    bool stopUnseen) {
    if (!startedMs_ || failedEndMs_ || playedOutEndMs_) return;
    if (!stopUnseen && mode(nowMs) == PlayerMode::Stopped) return;
    latencyMs_ = std::max<std::int64_t>(0, latencyMs);
}

void PromptTimeline::failed(std::int64_t nowMs) {
    if (!requestedMs_ || failedEndMs_) return;
    // The sound lasts its real duration from the request, but never past
    // an end already known.
    std::int64_t end = std::max(*requestedMs_ + silentDurationMs_, nowMs);
    if (auto known = endMs()) end = std::min(end, *known);
    failedEndMs_ = end;
}

void PromptTimeline::stop() {
    requestedMs_.reset();
    startedMs_.reset();
    failedEndMs_.reset();
    playedOutEndMs_.reset();
    awaitsPlayedOut_ = false;
}

std::optional<std::int64_t> PromptTimeline::endMs() const {
    if (!requestedMs_) return std::nullopt;
    if (failedEndMs_) return failedEndMs_;
    if (!startedMs_) return std::nullopt;
    const std::int64_t timed = *startedMs_ + durationMs_ + latencyMs_;
    if (playedOutEndMs_) return std::max(timed, *playedOutEndMs_);
    if (awaitsPlayedOut_) return timed + kPlayedOutGraceMs;
    return timed;
}

PlayerMode PromptTimeline::mode(std::int64_t nowMs) const {
    if (!requestedMs_) return PlayerMode::Stopped;
    if (auto end = endMs()) return nowMs < *end ? PlayerMode::Playing : PlayerMode::Stopped;
    // Waiting for the backend to confirm the start; one that never does is
    // timed as a silent player from the request.
    const std::int64_t silentEnd = *requestedMs_ + silentDurationMs_ + kStartGraceMs;
    return nowMs < silentEnd ? PlayerMode::Playing : PlayerMode::Stopped;
}

}  // namespace zor::ui
