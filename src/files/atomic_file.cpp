#include "files/atomic_file.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <string>
#include <vector>

namespace zor::files {
namespace fs = std::filesystem;
namespace {

constexpr int kNameAttempts = 100;

// A hidden name beside `target` that is not in use yet: ".<name>.<tag><6 random characters>".
fs::path RandomCompanionName(const fs::path& folder, const fs::path& target, std::string_view tag) {
    static constexpr char kAlphabet[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    static std::atomic<unsigned> counter{0};
    unsigned char random[6] = {};
    if (::getrandom(random, sizeof random, GRND_NONBLOCK) != ssize_t(sizeof random)) {
        const unsigned mix = unsigned(::getpid()) * 2654435761u + counter++ * 40503u;
        for (std::size_t i = 0; i < sizeof random; ++i) random[i] = (unsigned char)(mix >> (i * 5));
    }
    std::string name = "." + target.filename().string() + "." + std::string(tag);
    for (unsigned char byte : random) name += kAlphabet[byte % (sizeof kAlphabet - 1)];
    return folder / name;
}

void SyncFolder(const fs::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) throw WriteError(folder, errno, WriteError::Target::kFolder);
    const int result = ::fsync(fd);
    const int error = errno;
    ::close(fd);
    // Some file systems cannot flush a folder; the rename itself has been done.
    if (result != 0 && error != EINVAL) throw WriteError(folder, error, WriteError::Target::kFolder);
}

// Gives the unnamed file `fd` a hidden name beside `target`.
int LinkUnnamed(int fd, const fs::path& folder, const fs::path& target, fs::path& name) {
    const std::string procPath = "/proc/self/fd/" + std::to_string(fd);
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        name = RandomCompanionName(folder, target, "");
        // Linking by descriptor needs a privilege; the /proc name does not.
        if (::linkat(fd, "", AT_FDCWD, name.c_str(), AT_EMPTY_PATH) == 0) return 0;
        if (errno == EEXIST) continue;
        if (::linkat(AT_FDCWD, procPath.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0)
            return 0;
        if (errno != EEXIST) return errno;
    }
    return EEXIST;
}

}  // namespace

fs::path FolderOf(const fs::path& file) {
    return file.has_parent_path() ? file.parent_path() : fs::path(".");
}

AtomicFile::AtomicFile(fs::path target) : target_(std::move(target)), folder_(FolderOf(target_)) {
    if (target_.filename().empty()) throw WriteError(target_, EISDIR);
    struct stat info {};
    if (::lstat(target_.c_str(), &info) == 0 && S_ISDIR(info.st_mode))
        throw WriteError(target_, EISDIR);

    // An unnamed file first: a killed process leaves nothing behind in the folder.
    fd_ = ::open(folder_.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (fd_ < 0 && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)) {
        for (int attempt = 0; attempt < kNameAttempts && fd_ < 0; ++attempt) {
            fs::path name = RandomCompanionName(folder_, target_, "");
            fd_ = ::open(name.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC | O_NOFOLLOW, 0600);
            if (fd_ >= 0) temporary_ = std::move(name);
            else if (errno != EEXIST) break;
        }
    }
    if (fd_ < 0) throw WriteError(target_, errno);
    // Private whatever the process's file-creation mask is.
    if (::fchmod(fd_, 0600) != 0) fail(errno);
}

AtomicFile::AtomicFile(AtomicFile&& other) noexcept
    : target_(std::move(other.target_)),
      folder_(std::move(other.folder_)),
      temporary_(std::move(other.temporary_)),
      fd_(other.fd_) {
    other.temporary_.clear();
    other.fd_ = -1;
}

AtomicFile::~AtomicFile() { discard(); }

void AtomicFile::discard() noexcept {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (!temporary_.empty()) ::unlink(temporary_.c_str());
    temporary_.clear();
}

void AtomicFile::fail(int error) {
    discard();
    throw WriteError(target_, error);
}

void AtomicFile::write(std::string_view bytes) {
    if (fd_ < 0) throw WriteError(target_, EBADF);
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd_, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            fail(errno);
        }
        bytes.remove_prefix(std::size_t(written));
    }
}

void AtomicFile::finishUnderTemporaryName() {
    if (fd_ < 0) throw WriteError(target_, EBADF);
    if (::fsync(fd_) != 0) fail(errno);
    if (temporary_.empty()) {
        fs::path name;
        if (const int error = LinkUnnamed(fd_, folder_, target_, name)) fail(error);
        temporary_ = std::move(name);
    }
    const int result = ::close(fd_);
    fd_ = -1;
    if (result != 0) fail(errno);
}

void AtomicFile::commit() {
    finishUnderTemporaryName();
    if (::rename(temporary_.c_str(), target_.c_str()) != 0) fail(errno);
    temporary_.clear();
    SyncFolder(folder_);
}

void CommitTogether(std::span<AtomicFile* const> files) {
    const auto discardAll = [&] {
        for (AtomicFile* file : files) file->discard();
    };
    try {
        for (AtomicFile* file : files) file->finishUnderTemporaryName();
    } catch (...) {
        discardAll();
        throw;
    }

    // Each older target keeps a second name until every new file is in place,
    // so a failure halfway can put it back.
    struct Replaced {
        AtomicFile* file;
        fs::path previous;  // empty: the target did not exist
    };
    std::vector<Replaced> done;
    const auto rollBack = [&](int error, const fs::path& failed) {
        for (auto it = done.rbegin(); it != done.rend(); ++it) {
            if (it->previous.empty()) ::unlink(it->file->target_.c_str());
            else ::rename(it->previous.c_str(), it->file->target_.c_str());
        }
        discardAll();
        throw WriteError(failed, error);
    };
    for (AtomicFile* file : files) {
        fs::path previous;
        struct stat info {};
        if (::lstat(file->target_.c_str(), &info) == 0) {
            int error = EEXIST;
            for (int attempt = 0; attempt < kNameAttempts && error == EEXIST; ++attempt) {
                previous = RandomCompanionName(file->folder_, file->target_, "old.");
                error = ::link(file->target_.c_str(), previous.c_str()) == 0 ? 0 : errno;
            }
            if (error != 0) rollBack(error, file->target_);
        }
        if (::rename(file->temporary_.c_str(), file->target_.c_str()) != 0) {
            const int error = errno;
            if (!previous.empty()) ::unlink(previous.c_str());
            rollBack(error, file->target_);
        }
        file->temporary_.clear();
        done.push_back({file, std::move(previous)});
    }
    for (const Replaced& replaced : done) {
        if (!replaced.previous.empty()) ::unlink(replaced.previous.c_str());
    }
    for (const Replaced& replaced : done) SyncFolder(replaced.file->folder_);
}

void ReplaceFile(const fs::path& target, std::string_view contents) {
    AtomicFile file(target);
    file.write(contents);
    file.commit();
}

void ReplaceFilesTogether(std::span<const FileContents> files) {
    std::vector<AtomicFile> prepared;
    prepared.reserve(files.size());
    for (const FileContents& file : files) {
        prepared.emplace_back(file.target);
        prepared.back().write(file.contents);
    }
    std::vector<AtomicFile*> pointers;
    for (AtomicFile& file : prepared) pointers.push_back(&file);
    CommitTogether(pointers);
}

}  // namespace zor::files
