#pragma once

#include <memory>
#include <string>

#include "ui/clock.h"
#include "ui/silent_sound.h"
#include "ui/sound.h"

namespace zor::ui::qt {

// Players on Qt Multimedia's audio output. Where no audio output exists
// (no sound server, no device) the players are the runtime's silent ones,
// which still take a sound's real duration, so the screens behave the same.
class QtSoundSystem : public SoundSystem {
public:
    explicit QtSoundSystem(Clock& clock);

    std::unique_ptr<SoundPlayer> createPlayer(const std::string& name) override;

    // Whether the platform offers an audio output now.
    static bool outputAvailable();

private:
    Clock& clock_;
    SilentSoundSystem silent_;
};

}  // namespace zor::ui::qt
