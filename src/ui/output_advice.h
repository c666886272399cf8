#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "ui/sound.h"

namespace zor::ui {

// Tells the test leader about the sound output during administrations: once
// per administration when the output delays sound by more than
// kHighLatencyMs at its first sound (typical of wireless speakers and
// headphones), and once when the output went away under a playing sound.
// The notices wait for the next play request, so that they never come
// between a prompt and the answer the stopwatch times; the administration
// goes on after them. Wraps the program's sound system.
class OutputAdvice : public SoundSystem {
  public:
    static constexpr std::int64_t kHighLatencyMs = 100;
    using Notify = std::function<void(const std::string& title, const std::string& text)>;

    OutputAdvice(SoundSystem& inner, Notify notify) : inner_(inner), notify_(std::move(notify)) {}

    std::unique_ptr<SoundPlayer> createPlayer(const std::string& name) override;
    bool takeOutputLost() override { return inner_.takeOutputLost(); }
    void beginAdministration() override;

    static std::string highLatencyText(std::int64_t latencyMs);
    static const char* const kLostOutputText;
    static const char* const kTitle;

  private:
    friend class AdvisedPlayer;
    void played(const SoundPlayer* player);
    // Looks at the output after a player was read or before a play.
    void check();
    void forget(const SoundPlayer* player);
    void showPending();

    SoundSystem& inner_;
    Notify notify_;
    bool inAdministration_ = false;
    // Players that played since the administration began, while its first
    // latency is still to be read (the first sound is often a click whose
    // player nobody reads afterwards).
    bool latencyCheckOpen_ = false;
    std::set<const SoundPlayer*> played_;
    bool lostTold_ = false;
    std::vector<std::string> pending_;
};

}  // namespace zor::ui
