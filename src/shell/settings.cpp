#include "shell/settings.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "files/atomic_file.h"
#include "files/private_folder.h"

namespace zor::shell {

namespace {

std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

std::string trimmed(const std::string& s) {
    const auto first = s.find_first_not_of(" \t\r");
    if (first == std::string::npos) return {};
    const auto last = s.find_last_not_of(" \t\r");
    return s.substr(first, last - first + 1);
}

// The section name of a key under HKEY_LOCAL_MACHINE, in lower case.
std::string sectionOf(const std::string& key) {
    std::string k = key;
    if (k.empty() || k.front() != '\\') k.insert(k.begin(), '\\');
    return lower("HKEY_LOCAL_MACHINE" + k);
}

}  // namespace

Environment processEnvironment() {
    return [](const std::string& name) -> std::optional<std::string> {
        const char* v = std::getenv(name.c_str());
        if (!v) return std::nullopt;
        return std::string(v);
    };
}

std::vector<std::filesystem::path> settingsFileCandidates(const Environment& env) {
    auto nonEmpty = [&](const std::string& name) -> std::optional<std::string> {
        auto v = env(name);
        if (!v || v->empty()) return std::nullopt;
        return v;
    };
    if (auto file = nonEmpty("ZOR_SETTINGS_FILE")) return {std::filesystem::path(*file)};

    std::vector<std::filesystem::path> out;
    if (auto home = nonEmpty("XDG_CONFIG_HOME")) {
        out.push_back(std::filesystem::path(*home) / "zor" / "settings.ini");
    } else if (auto userHome = nonEmpty("HOME")) {
        out.push_back(std::filesystem::path(*userHome) / ".config" / "zor" / "settings.ini");
    }
    const std::string dirs = nonEmpty("XDG_CONFIG_DIRS").value_or("/etc/xdg");
    std::stringstream list(dirs);
    for (std::string dir; std::getline(list, dir, ':');) {
        if (!dir.empty()) out.push_back(std::filesystem::path(dir) / "zor" / "settings.ini");
    }
    return out;
}

IniSettingsStore::IniSettingsStore(Environment env) : env_(std::move(env)) {}

IniSettingsStore::IniSettingsStore(std::filesystem::path file) : fixedFile_(std::move(file)) {}

std::optional<std::filesystem::path> IniSettingsStore::file() const {
    if (fixedFile_) return fixedFile_;
    for (const auto& candidate : settingsFileCandidates(env_)) {
        std::error_code ec;
        if (std::filesystem::is_regular_file(candidate, ec)) return candidate;
    }
    return std::nullopt;
}

std::string IniSettingsStore::readString(const std::string& key, const std::string& value) const {
    const auto path = file();
    if (!path) return {};
    std::ifstream in(*path, std::ios::binary);
    if (!in) return {};

    const std::string wantedSection = sectionOf(key);
    const std::string wantedName = lower(value);
    bool inSection = false;
    std::string found;
    for (std::string raw; std::getline(in, raw);) {
        if (!raw.empty() && raw.back() == '\r') raw.pop_back();
        const std::string line = trimmed(raw);
        if (line.empty() || line.front() == ';' || line.front() == '#') continue;
        if (line.front() == '[') {
            inSection =
                line.back() == ']' && lower(line.substr(1, line.size() - 2)) == wantedSection;
            continue;
        }
        if (!inSection) continue;
        // The value is taken as written: a folder name may hold spaces.
        const auto eq = raw.find('=');
        if (eq == std::string::npos) continue;
        if (lower(trimmed(raw.substr(0, eq))) == wantedName) found = raw.substr(eq + 1);
    }
    return found;
}

void IniSettingsStore::writeString(const std::string& key, const std::string& value,
                                   const std::string& text) const {
    // Always the user's own file, never a machine-wide one the user reads
    // (start-up has copied the folders into the own file already).
    std::optional<std::filesystem::path> path = fixedFile_;
    if (!path) {
        const auto candidates = settingsFileCandidates(env_);
        if (candidates.empty()) return;
        path = candidates.front();
    }
    std::string content;
    {
        std::ifstream in(*path, std::ios::binary);
        std::ostringstream bytes;
        if (in) bytes << in.rdbuf();
        content = bytes.str();
    }
    // Walks the lines, replacing the value's last line in the section, or
    // adding it at the section's end (a new section at the file's end).
    const std::string wantedSection = sectionOf(key);
    const std::string wantedName = lower(value);
    const std::string newLine = value + "=" + text;
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < content.size();) {
        const auto end = content.find('\n', start);
        const std::size_t stop = end == std::string::npos ? content.size() : end;
        std::string line = content.substr(start, stop - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
        start = stop + 1;
    }
    std::optional<std::size_t> sectionEnd;
    std::optional<std::size_t> lastValue;
    bool inSection = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string line = trimmed(lines[i]);
        if (!line.empty() && line.front() == '[') {
            inSection =
                line.back() == ']' && lower(line.substr(1, line.size() - 2)) == wantedSection;
            if (inSection) sectionEnd = i + 1;
            continue;
        }
        if (!inSection) continue;
        if (!line.empty()) sectionEnd = i + 1;
        const auto eq = lines[i].find('=');
        if (eq != std::string::npos && lower(trimmed(lines[i].substr(0, eq))) == wantedName)
            lastValue = i;
    }
    if (lastValue) {
        lines[*lastValue] = newLine;
    } else if (sectionEnd) {
        lines.insert(lines.begin() + std::ptrdiff_t(*sectionEnd), newLine);
    } else {
        lines.push_back("[HKEY_LOCAL_MACHINE" + std::string(key.front() == '\\' ? "" : "\\") +
                        key + "]");
        lines.push_back(newLine);
    }
    std::string out;
    for (const auto& line : lines) out += line + "\r\n";
    zor::files::CreatePrivateFolder(path->parent_path());
    zor::files::ReplaceFile(*path, out);
}

bool RecordAnswersSetting(const SettingsStore& settings) {
    return trimmed(settings.readString(kSettingsKey, kRecordAnswersValue)) == "1";
}

void StoreRecordAnswersSetting(const SettingsStore& settings, bool on) {
    if (RecordAnswersSetting(settings) == on) return;
    settings.writeString(kSettingsKey, kRecordAnswersValue, on ? "1" : "0");
}

std::filesystem::path dataFolderFrom(const SettingsStore& settings) {
    return settings.readString(kSettingsKey, kDataPathValue);
}

std::filesystem::path reportFolderFrom(const SettingsStore& settings) {
    return settings.readString(kSettingsKey, kReportPathValue);
}

std::optional<std::int64_t> AudioLatencyOverrideMs(
    const SettingsStore& settings, const std::function<void(const std::string&)>& log) {
    const std::string text = trimmed(settings.readString(kSettingsKey, kAudioLatencyValue));
    if (text.empty()) return std::nullopt;
    constexpr std::int64_t kMaxMs = 2000;
    std::int64_t ms = 0;
    bool valid = text.size() <= 4 && std::all_of(text.begin(), text.end(), [](unsigned char c) {
        return std::isdigit(c) != 0;
    });
    if (valid) ms = std::stoll(text);
    if (!valid || ms > kMaxMs) {
        if (log)
            log("instelling " + std::string(kAudioLatencyValue) + "=\"" + text +
                "\" genegeerd: verwacht een geheel aantal milliseconden van 0 tot en met 2000");
        return std::nullopt;
    }
    return ms;
}

}  // namespace zor::shell
