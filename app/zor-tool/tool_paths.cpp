#include "tool_paths.h"

#include "shell/folders.h"

namespace zor::tool {

std::filesystem::path GraphicsFolder() {
    return shell::findProgramFolder(shell::executableFolder()) / "Graphics";
}

}  // namespace zor::tool
