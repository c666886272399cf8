#include "ui/output_latency.h"

#include <cstdio>

namespace zor::ui {

void logToStderr(const std::string& line) { std::fprintf(stderr, "zor: %s\n", line.c_str()); }

std::optional<std::int64_t> OutputLatency::read(OutputLatencySource& source) {
    known_ = overrideMs_.has_value();
    if (overrideMs_) return overrideMs_;
    const LatencyReading reading = source.readLatency();
    switch (reading.state) {
        case LatencyReading::State::Known:
            unknownLogged_ = false;
            known_ = true;
            return reading.ms < 0 ? 0 : reading.ms;
        case LatencyReading::State::Pending:
            return std::nullopt;
        case LatencyReading::State::Unknown:
            break;
    }
    if (!unknownLogged_ && log_) {
        log_("de geluidsserver geeft de uitvoervertraging niet op; gerekend wordt met 0 ms");
    }
    unknownLogged_ = true;
    return 0;
}

}  // namespace zor::ui
