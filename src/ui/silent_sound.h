#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ui/clock.h"
#include "ui/sound.h"

namespace zor::ui {

// Players that make no sound but behave like real ones: a played sound
// lasts its WAV file's real duration on the clock, a missing or unreadable
// file fails at open. Used in tests and where no sound device is present.
class SilentSoundSystem : public SoundSystem {
  public:
    struct Play {
        std::string player;      // the name the player was created with
        std::string nativePath;  // the file played
        std::int64_t startMs;
        std::int64_t durationMs;
    };

    explicit SilentSoundSystem(Clock& clock) : clock_(clock) {}

    std::unique_ptr<SoundPlayer> createPlayer(const std::string& name) override;

    // Every play in order, for tests.
    const std::vector<Play>& plays() const { return plays_; }

  private:
    friend class SilentSoundPlayer;
    Clock& clock_;
    std::vector<Play> plays_;
};

}  // namespace zor::ui
