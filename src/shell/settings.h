#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace zor::shell {

// The key and the two values the program reads from the settings store.
inline constexpr const char* kSettingsKey = "\\SOFTWARE\\Lomba\\ZOR\\SETTINGS";
inline constexpr const char* kDataPathValue = "datapath";
inline constexpr const char* kReportPathValue = "trpath";
// The sound output's latency in milliseconds, replacing the sound server's
// figure when the test leader's equipment reports it wrongly.
inline constexpr const char* kAudioLatencyValue = "audiolatency";
// "1" when the test leader last chose to record the child's answers, "0" or
// absent otherwise.
inline constexpr const char* kRecordAnswersValue = "opnemen";

// The machine-wide settings store, read only. A missing store, key or value
// reads as the empty text.
class SettingsStore {
  public:
    virtual ~SettingsStore() = default;
    virtual std::string readString(const std::string& key, const std::string& value) const = 0;
    // Sets one value, keeping every other line; throws files::WriteError.
    virtual void writeString(const std::string& key, const std::string& value,
                             const std::string& text) const = 0;
};

// Reads an environment variable; nothing when it is unset.
using Environment = std::function<std::optional<std::string>(const std::string&)>;
Environment processEnvironment();

// The files that may hold the settings, in the order they are tried:
// $ZOR_SETTINGS_FILE alone when it is set; otherwise
// $XDG_CONFIG_HOME/zor/settings.ini (default ~/.config) and then
// zor/settings.ini under each folder of $XDG_CONFIG_DIRS (default /etc/xdg).
std::vector<std::filesystem::path> settingsFileCandidates(const Environment& env);

// The settings store as an INI file: section "[HKEY_LOCAL_MACHINE" + key +
// "]", lines "name=value" (CR LF or LF). Names compare without regard to
// case, as registry names do; the last line of a name counts. The file is
// read afresh at every lookup, so a changed setting applies at once.
class IniSettingsStore : public SettingsStore {
  public:
    // The store in the first candidate file that exists.
    explicit IniSettingsStore(Environment env = processEnvironment());
    // The store in one given file.
    explicit IniSettingsStore(std::filesystem::path file);

    std::string readString(const std::string& key, const std::string& value) const override;
    // Writes into the user's own file: the given one, or the first candidate.
    void writeString(const std::string& key, const std::string& value,
                     const std::string& text) const override;

    // The file in use, or nothing when none of the candidates exists.
    std::optional<std::filesystem::path> file() const;

  private:
    Environment env_;
    std::optional<std::filesystem::path> fixedFile_;
};

// `Datapath`: the data folder, the setting "datapath" (empty when unset, which
// addresses no data folder).
std::filesystem::path dataFolderFrom(const SettingsStore& settings);
// The report folder: the setting "trpath" (empty when unset).
std::filesystem::path reportFolderFrom(const SettingsStore& settings);

// The `audiolatency` setting: whole milliseconds from 0 to 2000; nothing when
// it is absent, and nothing with one line to `log` when it is no such number.
std::optional<std::int64_t> AudioLatencyOverrideMs(const SettingsStore& settings,
                                                   const std::function<void(const std::string&)>& log);

// The `opnemen` setting: whether the test leader last chose to record answers.
bool RecordAnswersSetting(const SettingsStore& settings);
// Remembers that choice; throws files::WriteError.
void StoreRecordAnswersSetting(const SettingsStore& settings, bool on);

}  // namespace zor::shell
