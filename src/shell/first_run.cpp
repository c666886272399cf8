#include "shell/first_run.h"

#include <pwd.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <vector>

#include "files/atomic_file.h"
#include "files/private_folder.h"
#include "folders/folders.h"

namespace zor::shell {

namespace fs = std::filesystem;

namespace {

std::string readWholeFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

// The section header of the program's settings, as the settings store reads it.
std::string sectionLine() { return std::string("[HKEY_LOCAL_MACHINE") + kSettingsKey + "]"; }

// True when the last section header of the INI text is the program's own, so
// lines appended at the end belong to it.
bool endsInOwnSection(const std::string& text) {
    std::istringstream lines(text);
    std::string last;
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty() && line.front() == '[') last = line;
    }
    return last == sectionLine();
}

// The documents folder from an XDG user-dirs file: the value of
// XDG_DOCUMENTS_DIR, "$HOME/..." or an absolute path; nothing otherwise.
std::optional<fs::path> documentsFromUserDirs(const fs::path& userDirsFile, const fs::path& home) {
    std::ifstream in(userDirsFile);
    std::optional<fs::path> found;
    for (std::string line; std::getline(in, line);) {
        const std::string name = "XDG_DOCUMENTS_DIR=";
        if (!line.starts_with(name)) continue;
        std::string value = line.substr(name.size());
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
            value = value.substr(1, value.size() - 2);
        if (value.starts_with("$HOME")) {
            const std::string rest = value.substr(5);
            found = rest.empty() || rest == "/" ? home : home / fs::path(rest).relative_path();
        } else if (value.starts_with("/")) {
            found = fs::path(value);
        }
    }
    return found;
}

}  // namespace

fs::path homeFolder(const Environment& env) {
    if (auto home = env("HOME"); home && !home->empty()) return *home;
    if (const passwd* account = ::getpwuid(::getuid()); account && account->pw_dir)
        return account->pw_dir;
    throw FirstRunError("De thuismap van de gebruiker is onbekend (HOME is niet ingesteld)");
}

fs::path documentsFolder(const Environment& env) {
    const fs::path home = homeFolder(env);
    const auto configHome = env("XDG_CONFIG_HOME");
    const fs::path config =
        configHome && !configHome->empty() ? fs::path(*configHome) : home / ".config";
    return documentsFromUserDirs(config / "user-dirs.dirs", home).value_or(home);
}

fs::path defaultDataFolder(const Environment& env) { return documentsFolder(env) / "ZOR" / "Data"; }

fs::path defaultReportFolder(const Environment& env) {
    return documentsFolder(env) / "ZOR" / "Testrapporten";
}

void prepareFirstRun(const Environment& env) {
    const std::vector<fs::path> candidates = settingsFileCandidates(env);
    if (candidates.empty()) homeFolder(env);  // throws the message that says why
    const fs::path ownFile =
        candidates.empty() ? homeFolder(env) / ".config" / "zor" / "settings.ini" : candidates.front();

    const IniSettingsStore inUse(env);
    std::string dataFolder = inUse.readString(kSettingsKey, kDataPathValue);
    std::string reportFolder = inUse.readString(kSettingsKey, kReportPathValue);

    // Values the user's own file lacks while the settings in use lack them too,
    // or while a machine-wide file would be hidden by the user's file.
    std::string added;
    if (dataFolder.empty() || reportFolder.empty()) {
        const IniSettingsStore own(ownFile);
        if (dataFolder.empty()) dataFolder = defaultDataFolder(env).string();
        if (reportFolder.empty()) reportFolder = defaultReportFolder(env).string();
        if (own.readString(kSettingsKey, kDataPathValue).empty())
            added += std::string(kDataPathValue) + "=" + dataFolder + "\r\n";
        if (own.readString(kSettingsKey, kReportPathValue).empty())
            added += std::string(kReportPathValue) + "=" + reportFolder + "\r\n";
    }
    if (!added.empty()) {
        std::error_code ec;
        std::string content = fs::exists(ownFile, ec) ? readWholeFile(ownFile) : std::string();
        if (!content.empty() && content.back() != '\n') content += "\r\n";
        if (!endsInOwnSection(content)) content += sectionLine() + "\r\n";
        files::CreatePrivateFolder(ownFile.parent_path());
        files::ReplaceFile(ownFile, content + added);
    }

    // The folders of the values as written, a trailing separator or not.
    files::CreatePrivateFolder(folders::dataFilesFolder(dataFolder));
    files::CreatePrivateFolder(folders::incompleteFolder(dataFolder));
    files::CreatePrivateFolder(folders::pdfFolder(reportFolder));
}

}  // namespace zor::shell
