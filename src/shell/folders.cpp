#include "shell/folders.h"

#include <filesystem>

namespace zor::shell {

std::filesystem::path executableFolder() {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return std::filesystem::current_path(ec);
    return exe.parent_path();
}

std::vector<std::filesystem::path> programFolderCandidates(const std::filesystem::path& executableFolder) {
    return {executableFolder, (executableFolder / ".." / "share" / "zor").lexically_normal()};
}

std::filesystem::path findProgramFolder(const std::filesystem::path& executableFolder) {
    std::string lookedIn;
    for (const auto& folder : programFolderCandidates(executableFolder)) {
        std::error_code ec;
        if (std::filesystem::is_directory(folder / "Graphics", ec) &&
            std::filesystem::is_directory(folder / "Audio", ec))
            return folder;
        lookedIn += (lookedIn.empty() ? "" : ", ") + folder.string();
    }
    throw ProgramFilesMissing(
        "De afbeeldingen en geluiden van het programma (de mappen Graphics en Audio) zijn niet "
        "gevonden. Gezocht in: " + lookedIn + ".");
}

std::string programFolder() {
    std::string folder = findProgramFolder(executableFolder()).string();
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder;
}

std::string datapathFrom(const SettingsStore& settings) {
    return settings.readString(kSettingsKey, kDataPathValue) + "\\";
}

std::string audiopathOf(const std::string& pgmpath) { return pgmpath + "\\Audio\\"; }

std::string reportFolderFrom(const SettingsStore& settings) {
    return settings.readString(kSettingsKey, kReportPathValue);
}

}  // namespace zor::shell
