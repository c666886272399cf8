#include "files/private_folder.h"

#include <sys/stat.h>

#include <cerrno>

#include "files/write_error.h"

namespace zor::files {

bool CreatePrivateFolder(const std::filesystem::path& folder) {
    if (folder.empty()) throw WriteError(folder, ENOENT, WriteError::Target::kFolder);
    struct stat info {};
    if (::stat(folder.c_str(), &info) == 0) {
        if (!S_ISDIR(info.st_mode)) throw WriteError(folder, ENOTDIR, WriteError::Target::kFolder);
        return false;
    }
    const std::filesystem::path parent = folder.lexically_normal().parent_path();
    if (!parent.empty() && parent != folder && parent != parent.root_path() &&
        ::stat(parent.c_str(), &info) != 0) {
        CreatePrivateFolder(parent);
    }
    if (::mkdir(folder.c_str(), 0700) == 0) return true;
    const int error = errno;
    // Made by someone else in the meantime: fine if it is a folder.
    if (error == EEXIST && ::stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) return false;
    throw WriteError(folder, error, WriteError::Target::kFolder);
}

}  // namespace zor::files
