#include "tool_paths.h"

#include <ctime>
#include <system_error>

namespace zor::tool {

std::filesystem::path GraphicsFolder() {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    return (error ? std::filesystem::current_path() : self.parent_path()) / "Graphics";
}

record::Date TodayDate() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return record::Date{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

}  // namespace zor::tool
