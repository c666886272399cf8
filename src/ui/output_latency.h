#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace zor::ui {

// A line for the program's log (standard error).
using LogLine = std::function<void(const std::string&)>;
// Writes the line to standard error.
void logToStderr(const std::string& line);

// One reading of an output's latency: how long after a sample is handed to
// the sound server it is heard.
struct LatencyReading {
    enum class State {
        Known,    // the server told it: ms
        Pending,  // the server has not answered yet
        Unknown,  // the server cannot tell
    };
    State state = State::Unknown;
    std::int64_t ms = 0;
};

// Where a player reads the latency of the output its sound plays on.
class OutputLatencySource {
  public:
    virtual ~OutputLatencySource() = default;
    virtual LatencyReading readLatency() = 0;
};

// The latency a player folds into a sound's end: the test leader's setting
// when there is one, otherwise what the source reads. An output that cannot
// tell counts as 0, which the log says once (and again only after the
// latency was known in between).
class OutputLatency {
  public:
    explicit OutputLatency(std::optional<std::int64_t> overrideMs = std::nullopt,
                           LogLine log = logToStderr)
        : overrideMs_(overrideMs), log_(std::move(log)) {}

    // The latency to use now; nothing while the source has not answered yet
    // (the figure in use stays).
    std::optional<std::int64_t> read(OutputLatencySource& source);

    std::optional<std::int64_t> overrideMs() const { return overrideMs_; }
    // Whether the last figure read was a real one (the setting or the
    // server's), not the 0 of an output that cannot tell.
    bool known() const { return known_; }

  private:
    std::optional<std::int64_t> overrideMs_;
    LogLine log_;
    bool unknownLogged_ = false;
    bool known_ = false;
};

}  // namespace zor::ui
