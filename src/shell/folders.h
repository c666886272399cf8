#pragma once

#include <string>

#include "shell/settings.h"

namespace zor::shell {

// The folder of the running program file, ending in a separator.
std::string programFolder();

// `Datapath`: the setting "datapath" followed by "\" ("\" alone when unset).
std::string datapathFrom(const SettingsStore& settings);
// `Audiopath`: `Pgmpath` + "\Audio\".
std::string audiopathOf(const std::string& pgmpath);
// The report folder: the setting "trpath" as it stands (empty when unset).
std::string reportFolderFrom(const SettingsStore& settings);

}  // namespace zor::shell
