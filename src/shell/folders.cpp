#include "shell/folders.h"

#include <filesystem>

namespace zor::shell {

std::string programFolder() {
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return "./";
    return exe.parent_path().string() + "/";
}

std::string datapathFrom(const SettingsStore& settings) {
    return settings.readString(kSettingsKey, kDataPathValue) + "\\";
}

std::string audiopathOf(const std::string& pgmpath) { return pgmpath + "\\Audio\\"; }

std::string reportFolderFrom(const SettingsStore& settings) {
    return settings.readString(kSettingsKey, kReportPathValue);
}

}  // namespace zor::shell
