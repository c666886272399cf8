#pragma once
// Where zor-tool finds the program's pictures.
#include <filesystem>

namespace zor::tool {

// The Graphics folder beside the zor-tool executable (the program folder).
std::filesystem::path GraphicsFolder();

}  // namespace zor::tool
