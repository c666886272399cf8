#include "shell/settings.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <sstream>

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
