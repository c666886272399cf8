#pragma once
// Whole-file replacement. A new file is written beside its target under no name
// or a hidden temporary name, with mode 0600, flushed to the disk, and only then
// renamed over the target; the folder is flushed too, so after a crash, a kill or
// a power cut the target holds either its old or its complete new contents.
// Every failure removes the temporary file, leaves the target as it was and
// throws WriteError with the system's reason in Dutch.
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

#include "files/write_error.h"

namespace zor::files {

// One file being written. Created in the target's folder at construction; the
// target is replaced by commit(). Destroyed uncommitted, it leaves nothing behind.
class AtomicFile {
public:
    explicit AtomicFile(std::filesystem::path target);  // throws WriteError
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;
    AtomicFile(AtomicFile&& other) noexcept;
    AtomicFile& operator=(AtomicFile&&) = delete;

    // Appends bytes; throws WriteError (the disk is full, ...).
    void write(std::string_view bytes);
    // Flushes the contents, replaces the target and flushes the folder.
    void commit();

    const std::filesystem::path& target() const noexcept { return target_; }

private:
    friend void CommitTogether(std::span<AtomicFile* const> files);

    // Flushes and closes the file under a hidden temporary name in the folder.
    void finishUnderTemporaryName();
    [[noreturn]] void fail(int error);
    void discard() noexcept;

    std::filesystem::path target_;
    std::filesystem::path folder_;
    std::filesystem::path temporary_;  // empty while the file has no name
    int fd_ = -1;
};

// Replaces several files as one unit: either every target gets its new contents,
// or (on a failure, which throws WriteError) every target is as it was before —
// an older file stays, a file that did not exist is not left behind.
void CommitTogether(std::span<AtomicFile* const> files);

// Replaces `target` by `contents` (AtomicFile, written and committed).
void ReplaceFile(const std::filesystem::path& target, std::string_view contents);

struct FileContents {
    std::filesystem::path target;
    std::string_view contents;
};
// Replaces every target by its contents as one unit (CommitTogether).
void ReplaceFilesTogether(std::span<const FileContents> files);

// The folder in which a file's temporary companion is written.
std::filesystem::path FolderOf(const std::filesystem::path& file);

}  // namespace zor::files
