#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "shell/settings.h"

namespace zor::shell {

// The folder of the running program file.
std::filesystem::path executableFolder();

// The folders that may hold the program's pictures and sounds (Graphics/ and
// Audio/), in the order they are tried: the executable's own folder (a build
// folder) and ../share/zor beside it (an installation).
std::vector<std::filesystem::path> programFolderCandidates(const std::filesystem::path& executableFolder);

// Neither candidate holds Graphics/ and Audio/. The Dutch message names every
// folder looked in.
class ProgramFilesMissing : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The first candidate that holds both Graphics/ and Audio/. Throws ProgramFilesMissing.
std::filesystem::path findProgramFolder(const std::filesystem::path& executableFolder);

// `Pgmpath`: the program folder of the running program file, ending in a
// separator. Throws ProgramFilesMissing.
std::string programFolder();

// `Datapath`: the setting "datapath" followed by "\" ("\" alone when unset).
std::string datapathFrom(const SettingsStore& settings);
// `Audiopath`: `Pgmpath` + "\Audio\".
std::string audiopathOf(const std::string& pgmpath);
// The report folder: the setting "trpath" as it stands (empty when unset).
std::string reportFolderFrom(const SettingsStore& settings);

}  // namespace zor::shell
