#include "tool_paths.h"

#include <system_error>

namespace zor::tool {

std::filesystem::path GraphicsFolder() {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    return (error ? std::filesystem::current_path() : self.parent_path()) / "Graphics";
}

}  // namespace zor::tool
