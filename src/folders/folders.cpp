#include "folders/folders.h"

namespace zor::folders {
namespace {

// An unset folder setting is the root alone, which holds none of the program's folders.
fs::path within(const fs::path& folder) { return folder.empty() ? fs::path("/") : folder; }

std::string_view dataFileSuffix(DataFile which) {
    return which == DataFile::deletion ? "_FW.wda" : "_FV.vda";
}

}  // namespace

fs::path executableFolder() {
    std::error_code ec;
    const auto exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec) return fs::current_path(ec);
    return exe.parent_path();
}

std::vector<fs::path> programFolderCandidates(const fs::path& executableFolder) {
    return {executableFolder, (executableFolder / ".." / "share" / "zor").lexically_normal()};
}

fs::path findProgramFolder(const fs::path& executableFolder) {
    std::string lookedIn;
    for (const auto& folder : programFolderCandidates(executableFolder)) {
        std::error_code ec;
        if (fs::is_directory(graphicsFolder(folder), ec) && fs::is_directory(audioFolder(folder), ec))
            return folder;
        lookedIn += (lookedIn.empty() ? "" : ", ") + folder.string();
    }
    throw ProgramFilesMissing(
        "De afbeeldingen en geluiden van het programma (de mappen Graphics en Audio) zijn niet "
        "gevonden. Gezocht in: " + lookedIn + ".");
}

fs::path runningProgramFolder() { return findProgramFolder(executableFolder()); }

fs::path graphicsFolder(const fs::path& programFolder) { return programFolder / "Graphics"; }

fs::path buttonPicture(const fs::path& programFolder, std::string_view name) {
    return graphicsFolder(programFolder) / "Buttons" / name;
}

fs::path audioFolder(const fs::path& programFolder) { return programFolder / "Audio"; }

fs::path dataFilesFolder(const fs::path& dataFolder) { return within(dataFolder) / kDataFolderName; }

fs::path incompleteFolder(const fs::path& dataFolder) {
    return within(dataFolder) / kIncompleteFolderName;
}

fs::path recoveryFolder(const fs::path& dataFolder) {
    return within(dataFolder) / kRecoveryFolderName;
}

fs::path answerRecordingsFolder(const fs::path& dataFolder, std::string_view key) {
    return within(dataFolder) / "Opnames" / key;
}

std::string incompleteFileName(std::string_view key) { return std::string(key) + ".zta"; }

std::string dataFileName(std::string_view key, DataFile which) {
    return std::string(key).append(dataFileSuffix(which));
}

std::optional<std::string> keyOfDataFileName(std::string_view fileName, DataFile which) {
    const std::string_view suffix = dataFileSuffix(which);
    if (fileName.size() <= suffix.size() || !fileName.ends_with(suffix)) return std::nullopt;
    return std::string(fileName.substr(0, fileName.size() - suffix.size()));
}

std::string administrationKey(std::string_view code, std::string_view date,
                              std::string_view suffix) {
    std::string key(code);
    key.append("_").append(date).append(suffix);
    return key;
}

std::string reportFileName(std::string_view code, std::string_view date, std::string_view suffix) {
    std::string name(code);
    name.append(" - ").append(date).append(suffix).append(".zrp");
    return name;
}

std::string pdfFileName(std::string_view key) {
    std::string name("ZOR - ");
    name.append(key).append(".pdf");
    return name;
}

fs::path pdfFolder(const fs::path& reportFolder) { return within(reportFolder) / kPdfFolderName; }

fs::path reportFile(const fs::path& reportFolder, std::string_view code, std::string_view date,
                    std::string_view suffix) {
    return within(reportFolder) / reportFileName(code, date, suffix);
}

fs::path reportPdf(const fs::path& reportFolder, std::string_view key) {
    return pdfFolder(reportFolder) / pdfFileName(key);
}

}  // namespace zor::folders
