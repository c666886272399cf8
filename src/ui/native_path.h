#pragma once

#include <string>
#include <string_view>

namespace zor::ui {

// Turns a path text as the program joins it ("\" separators, folder values
// that end in a separator followed by pieces that start with one) into a
// Linux path: every "\" becomes "/" and runs of separators collapse into
// one, so "/data/\Data\x.wda" and "/data/Data/x.wda" name the same file.
std::string nativePath(std::string_view programPath);

}  // namespace zor::ui
