#pragma once
// Folders the program makes for itself.
#include <filesystem>

namespace zor::files {

// Creates `folder` and any missing parents with mode 0700; folders that already
// exist keep their mode. Returns whether `folder` itself was created. Throws
// WriteError naming the folder that could not be made (or that is not a folder).
bool CreatePrivateFolder(const std::filesystem::path& folder);

}  // namespace zor::files
