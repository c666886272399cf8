#pragma once
// Where zor-tool finds the program's pictures.
#include <filesystem>

namespace zor::tool {

// The program's Graphics folder, found as the program finds it: beside the
// executable or in ../share/zor. Throws shell::ProgramFilesMissing.
std::filesystem::path GraphicsFolder();

}  // namespace zor::tool
