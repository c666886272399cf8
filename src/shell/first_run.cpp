#include "shell/first_run.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>
#include <vector>

#include "record/administration_files.h"

namespace zor::shell {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kReportPdfFolderName = "PDF";

std::string systemReason(int error) { return std::strerror(error); }

// Makes `folder` and every missing folder above it, each private to the user.
// Folders that exist keep their mode.
void makePrivateFolders(const fs::path& folder) {
    std::vector<fs::path> missing;
    std::error_code ec;
    for (fs::path p = folder; !p.empty() && !fs::exists(p, ec); p = p.parent_path()) {
        missing.push_back(p);
        if (p == p.parent_path()) break;
    }
    for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
        if (::mkdir(it->c_str(), 0700) != 0 && errno != EEXIST) {
            throw FirstRunError("Kan map \"" + it->string() + "\" niet maken: " + systemReason(errno));
        }
    }
    if (!fs::is_directory(folder, ec))
        throw FirstRunError("\"" + folder.string() + "\" is geen map");
}

// Replaces `file` by `content`: written beside it under a temporary name
// readable by the user alone, then renamed over it.
void writePrivateFile(const fs::path& file, const std::string& content) {
    const fs::path temporary = file.string() + ".tmp" + std::to_string(::getpid());
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    auto fail = [&](int error) {
        if (fd >= 0) ::close(fd);
        ::unlink(temporary.c_str());
        throw FirstRunError("Kan bestand \"" + file.string() + "\" niet opslaan: " + systemReason(error));
    };
    if (fd < 0) fail(errno);
    for (std::size_t done = 0; done < content.size();) {
        const ssize_t n = ::write(fd, content.data() + done, content.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) fail(n < 0 ? errno : EIO);
        done += static_cast<std::size_t>(n);
    }
    if (::fsync(fd) != 0) fail(errno);
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        throw FirstRunError("Kan bestand \"" + file.string() + "\" niet opslaan: " + systemReason(error));
    }
    if (::rename(temporary.c_str(), file.c_str()) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        throw FirstRunError("Kan bestand \"" + file.string() + "\" niet opslaan: " + systemReason(error));
    }
}

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
        makePrivateFolders(ownFile.parent_path());
        writePrivateFile(ownFile, content + added);
    }

    // The folders of the values as written, a trailing separator or not.
    const fs::path data = fs::path(dataFolder);
    makePrivateFolders(data / record::kDataFolderName);
    makePrivateFolders(data / record::kIncompleteFolderName);
    makePrivateFolders(fs::path(reportFolder) / kReportPdfFolderName);
}

}  // namespace zor::shell
