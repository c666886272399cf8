#pragma once

#include <optional>
#include <string>

#include "ui/answer_recorder.h"
#include "ui/clock.h"

namespace zor::ui::pulse {

// Answer takes from the sound server's microphone through the PulseAudio
// client library (PulseAudio, or PipeWire's PulseAudio server), each take on
// a blocking record stream of its own in a thread of its own.
//
// What counts as a microphone: the source that new record streams use, that
// is the one named by $PULSE_SOURCE, otherwise the server's default source.
// Without a server, or without such a source, there is none. A monitor source
// (the sound going to an output) is no microphone when it is only the
// server's default (PulseAudio falls back to a monitor when there is no
// input at all); named explicitly in $PULSE_SOURCE it is used as one, which
// is how a test records what the program plays.
class PulseAnswerRecorder : public ThreadedAnswerRecorder {
  public:
    explicit PulseAnswerRecorder(const Clock& clock, int connectWaitMs = 1000)
        : clock_(clock), connectWaitMs_(connectWaitMs) {}
    ~PulseAnswerRecorder() override { stopAllTakes(); }

    // Asks the server each time: a microphone may be plugged in or out
    // between administrations.
    std::optional<std::string> microphoneProblem() override;

  protected:
    std::unique_ptr<MicrophoneStream> openStream(std::int64_t takeStartMs) override;

  private:
    const Clock& clock_;
    int connectWaitMs_;
};

}  // namespace zor::ui::pulse
