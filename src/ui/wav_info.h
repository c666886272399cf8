#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace zor::ui {

// The playing time of a RIFF WAVE file in milliseconds, from its "fmt "
// and "data" chunks; nothing when the file cannot be read or is no WAV file.
std::optional<std::int64_t> wavDurationMs(const std::string& nativePath);

}  // namespace zor::ui
