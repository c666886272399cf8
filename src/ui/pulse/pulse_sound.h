#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "ui/clock.h"
#include "ui/output_latency.h"
#include "ui/sound.h"

struct pa_threaded_mainloop;
struct pa_context;

namespace zor::ui::pulse {

// The output new sounds go to: the server's default sink.
struct OutputDescription {
    std::string device;  // the sink's description, or its name
    std::uint32_t sampleRate = 0;
};

// Players on the sound server through the PulseAudio client library, which
// answers for PulseAudio and for PipeWire's PulseAudio server. Each sound
// plays on a stream of its own on the server's default output, fed from a
// thread of the client library, so a busy user interface cannot starve it.
// A sound ends when the stream's position that is heard now, as the
// server's timing gives it, reaches the sound's length (or, with the test
// leader's fixed figure, that latency after its duration from the first
// samples handed over). Without a server, or when the output
// goes away during a sound, a sound is timed as a silent player times it;
// the next sound tries the server's default output again.
// The system must outlive its players.
class PulseSoundSystem : public SoundSystem {
  public:
    struct Options {
        // Replaces the server's latency figure (the setting `audiolatency`).
        std::optional<std::int64_t> latencyOverrideMs;
        LogLine log = logToStderr;
        // How long the start waits for the server to accept the connection.
        int connectWaitMs = 1000;
        // When set, gets a line with the server's timing of the playing
        // stream at each reading (for the benchmarks).
        LogLine timingLog;
    };

    explicit PulseSoundSystem(Clock& clock, Options options);
    explicit PulseSoundSystem(Clock& clock) : PulseSoundSystem(clock, Options{}) {}
    ~PulseSoundSystem() override;
    PulseSoundSystem(const PulseSoundSystem&) = delete;
    PulseSoundSystem& operator=(const PulseSoundSystem&) = delete;

    std::unique_ptr<SoundPlayer> createPlayer(const std::string& name) override;
    bool takeOutputLost() override { return outputLost_.exchange(false); }

    // Whether the sound server has accepted the connection.
    bool connected();
    // The default output, when the server names one.
    std::optional<OutputDescription> defaultOutput();
    // How many sounds the server has taken so far (a sound timed silently
    // because no output took it is not counted).
    std::uint64_t soundsStarted() const { return soundsStarted_; }

  private:
    friend class PulsePlayer;
    // With the main loop locked: the connection is ready; otherwise a new
    // one is started (for later sounds) and false returned.
    bool ensureContext();
    void startConnecting();
    void outputLost(const std::string& reason);
    // A sound found no output to play on.
    void noOutput(const std::string& reason);

    Clock& clock_;
    Options options_;
    pa_threaded_mainloop* loop_ = nullptr;
    pa_context* context_ = nullptr;
    bool noServerLogged_ = false;
    bool noOutputLogged_ = false;
    bool contextReady_ = false;
    std::atomic<std::uint64_t> soundsStarted_{0};
    std::atomic<bool> outputLost_{false};
};

}  // namespace zor::ui::pulse
