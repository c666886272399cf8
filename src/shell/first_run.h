#pragma once
// The first start of the program for a user: the data folder (with "Data" and
// "Incomplete afnames"), the report folder (with "PDF") and the two settings
// "datapath" and "trpath" in the user's own settings file, made when missing.
// Existing folders, files and values are left as they are, so a second start
// changes nothing. Folders made here are private to the user (mode 0700), the
// settings file is private too (0600). Nothing is written outside the user's
// home, the settings folder and the configured folders.
#include <filesystem>
#include <stdexcept>
#include <string>

#include "shell/settings.h"

namespace zor::shell {

// The user's home folder is unknown. (A folder or the settings file that
// cannot be made throws files::WriteError, naming it with the system's reason.)
class FirstRunError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The user's home: $HOME, or the home of the user's account when it is unset.
std::filesystem::path homeFolder(const Environment& env);

// The folder under which the default data and report folders lie: the user's
// documents folder as the XDG user-dirs file ($XDG_CONFIG_HOME/user-dirs.dirs)
// names it, otherwise the home folder.
std::filesystem::path documentsFolder(const Environment& env);

// The places first use fills in when the settings lack them.
std::filesystem::path defaultDataFolder(const Environment& env);    // <documents>/ZOR/Data
std::filesystem::path defaultReportFolder(const Environment& env);  // <documents>/ZOR/Testrapporten

// Makes whatever is missing of the folders and settings described above.
// Values found in the settings in use (a machine-wide file included) are kept;
// a value missing there is written to the user's own settings file
// (the first of settingsFileCandidates). Throws FirstRunError or
// files::WriteError.
void prepareFirstRun(const Environment& env = processEnvironment());

}  // namespace zor::shell
