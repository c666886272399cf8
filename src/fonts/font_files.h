#pragma once

// Fontconfig look-ups behind resolveFont(): which family really serves a requested name, and
// which file holds a given style of it.

#include <optional>
#include <string>
#include <string_view>

namespace zor::fonts {

struct FontFile {
    std::string path;
    int index = 0;
};

// The installed family that serves a requested family name: the name itself when installed,
// else its metric-compatible stand-in when that is installed, else nothing.
std::optional<std::string> servingFamily(std::string_view requested);

// The file of the installed family closest to the weight and slant asked for.
std::optional<FontFile> findFontFile(const std::string& family, int weight, bool italic);

}  // namespace zor::fonts
