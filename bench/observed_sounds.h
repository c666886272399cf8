#pragma once

// A sound system that hands everything to another one and notes, per player
// name, when the last sound was requested, when a screen last read the
// player's mode as playing and when it first read Stopped after that: the two
// polls around the sound's end.
// Players created under one name share one note.
#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "ui/sound.h"

namespace zor::bench {

class ObservedSounds : public ui::SoundSystem {
  public:
    struct Observation {
        std::int64_t playNs = 0;             // nowNs() at play()
        std::int64_t lastPlayingSeenNs = 0;  // nowNs() at the last read before Stopped
        std::int64_t stoppedSeenNs = 0;      // nowNs() at the first Stopped read, or 0
    };

    explicit ObservedSounds(ui::SoundSystem& inner) : inner_(inner) {}

    std::unique_ptr<ui::SoundPlayer> createPlayer(const std::string& name) override;

    Observation observed(const std::string& playerName) const;

  private:
    ui::SoundSystem& inner_;
    std::map<std::string, Observation> observed_;
};

}  // namespace zor::bench
