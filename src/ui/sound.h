#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace zor::ui {

// The modes a player reports. A prompt counts as finished when the mode
// reads Stopped.
enum class PlayerMode { NotReady, Stopped, Playing, Recording, Seeking, Paused, Open };

// One sound player of a screen: holds one open sound at a time; players
// sound independently of each other.
class SoundPlayer {
  public:
    virtual ~SoundPlayer() = default;
    // The path of the next sound.
    virtual void setFileName(const std::string& file) = 0;
    virtual const std::string& fileName() const = 0;
    // Closes the current sound, then opens the named file; throws
    // FileLoadError naming the file when it cannot be opened.
    virtual void open() = 0;
    // Starts playback from the beginning and returns at once.
    virtual void play() = 0;
    // Stopped whenever nothing plays, also after close.
    virtual PlayerMode mode() const = 0;
    // Closes the open sound, silencing it; nothing happens when none is open.
    virtual void close() = 0;
    // The output latency the playing sound's end includes, once the output
    // has started it; nothing for a player without an output.
    virtual std::optional<std::int64_t> outputLatencyMs() const { return std::nullopt; }
};

// Makes the players of the screens.
class SoundSystem {
  public:
    virtual ~SoundSystem() = default;
    virtual std::unique_ptr<SoundPlayer> createPlayer(const std::string& name) = 0;
    // Whether an output went away under a playing sound since the last call.
    virtual bool takeOutputLost() { return false; }
    // A new administration begins (its first sound's latency is checked).
    virtual void beginAdministration() {}
};

}  // namespace zor::ui
