#include "record/administration_lock.h"

#include <fcntl.h>
#include <pwd.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <cstring>

#include "files/private_folder.h"
#include "files/write_error.h"
#include "folders/folders.h"
#include "record/administration_files.h"
#include "record/calendar.h"

namespace zor::record {
namespace {

using Clock = std::chrono::system_clock;

constexpr std::string_view kLockHeader = "ZOR-slot";
// A lock file without its content is being written by its creator; only when
// it stays like that is it left over from a crash.
constexpr std::chrono::seconds kUnfinishedLockLifetime{60};

std::string LockText(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    return text;
}

// The lock's lines as they lie on disk; nothing when there is no file.
std::optional<std::vector<std::string>> ReadLock(const fs::path& file) {
    std::error_code error;
    if (!fs::exists(file, error)) return std::nullopt;
    LinesFile read = ReadLinesFile(file);
    if (read.error) return std::vector<std::string>{};
    return read.lines;
}

bool UnfinishedLockIsOld(const fs::path& file, Clock::time_point now) {
    struct stat info {};
    if (::stat(file.c_str(), &info) != 0) return true;
    const Clock::time_point written = Clock::from_time_t(info.st_mtime);
    return now - written > kUnfinishedLockLifetime;
}

// Creates the lock file exclusively. Returns 0, or the errno of the failure.
int CreateLock(const fs::path& file, const LockOwner& owner) {
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) return errno;
    const std::string text = LockText(LockLines(owner));
    std::string_view rest = text;
    while (!rest.empty()) {
        const ssize_t written = ::write(fd, rest.data(), rest.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) {
            const int error = errno;
            ::close(fd);
            ::unlink(file.c_str());
            return error == 0 ? EIO : error;
        }
        rest.remove_prefix(static_cast<std::size_t>(written));
    }
    ::fsync(fd);
    ::close(fd);
    return 0;
}

// Moves a stale lock out of the way. Succeeds only for the very lock judged
// stale: when another program took it over meanwhile, its fresh lock is put
// back and the takeover fails.
bool RemoveStaleLock(const fs::path& file, const std::vector<std::string>& judged, long pid) {
    fs::path aside = file;
    aside += ".oud." + std::to_string(pid);
    if (::rename(file.c_str(), aside.c_str()) != 0) return errno == ENOENT;
    const std::optional<std::vector<std::string>> moved = ReadLock(aside);
    if (moved && *moved == judged) {
        ::unlink(aside.c_str());
        return true;
    }
    // Another program replaced the stale lock meanwhile: its lock goes back.
    if (::link(aside.c_str(), file.c_str()) == 0) ::unlink(aside.c_str());
    return false;
}

}  // namespace

fs::path LockPath(const fs::path& datapath, std::string_view key) {
    return folders::recoveryFolder(datapath) / (std::string(key) + ".slot");
}

ProcessIdentity ProcessIdentity::ThisProcess() {
    ProcessIdentity self;
    char host[256] = {};
    if (::gethostname(host, sizeof host - 1) == 0) self.host = host;
    if (const passwd* user = ::getpwuid(::geteuid()); user && user->pw_name) {
        self.user = user->pw_name;
    } else if (const char* name = std::getenv("USER")) {
        self.user = name;
    }
    self.pid = static_cast<long>(::getpid());
    self.isRunning = [](long pid) {
        return pid > 0 && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM);
    };
    return self;
}

std::vector<std::string> LockLines(const LockOwner& owner) {
    const auto seconds =
        std::chrono::duration_cast<std::chrono::seconds>(owner.since.time_since_epoch()).count();
    return {std::string(kLockHeader), "computer=" + owner.host, "gebruiker=" + owner.user,
            "proces=" + std::to_string(owner.pid), "sinds=" + std::to_string(seconds)};
}

std::optional<LockOwner> ParseLock(const std::vector<std::string>& lines) {
    if (lines.size() < 5 || lines[0] != kLockHeader) return std::nullopt;
    const auto value = [&](std::size_t i, std::string_view name) -> std::optional<std::string> {
        const std::string prefix = std::string(name) + "=";
        if (lines[i].rfind(prefix, 0) != 0) return std::nullopt;
        return lines[i].substr(prefix.size());
    };
    const auto number = [](const std::optional<std::string>& text) -> std::optional<long long> {
        if (!text || text->empty()) return std::nullopt;
        long long result = 0;
        const auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), result);
        if (error != std::errc() || end != text->data() + text->size()) return std::nullopt;
        return result;
    };
    const auto host = value(1, "computer");
    const auto user = value(2, "gebruiker");
    const auto pid = number(value(3, "proces"));
    const auto since = number(value(4, "sinds"));
    if (!host || !user || !pid || !since) return std::nullopt;
    return LockOwner{*host, *user, static_cast<long>(*pid),
                     Clock::time_point(std::chrono::seconds(*since))};
}

bool IsStale(const LockOwner& owner, const ProcessIdentity& self, Clock::time_point now) {
    if (owner.host == self.host) return !self.isRunning(owner.pid);
    return now - owner.since > kForeignLockLifetime;
}

std::optional<LockOwner> LiveHolder(const fs::path& datapath, std::string_view key,
                                    const ProcessIdentity& self, Clock::time_point now) {
    const fs::path file = LockPath(datapath, key);
    const std::optional<std::vector<std::string>> lines = ReadLock(file);
    if (!lines) return std::nullopt;
    const std::optional<LockOwner> owner = ParseLock(*lines);
    if (!owner) {
        if (UnfinishedLockIsOld(file, now)) return std::nullopt;
        return LockOwner{"onbekend", "onbekend", 0, now};
    }
    if (IsStale(*owner, self, now)) return std::nullopt;
    return owner;
}

std::string HeldMessage(std::string_view key, const LockOwner& owner) {
    return "De testafname \"" + std::string(key) + "\" is al geopend door gebruiker \"" +
           owner.user + "\" op computer \"" + owner.host + "\" (proces " +
           std::to_string(owner.pid) + ", sinds " + LocalDateTimeText(owner.since) +
           "). Twee programma's mogen niet tegelijk in dezelfde afname schrijven; sluit de "
           "afname daar eerst af.";
}

KeyLocks::KeyLocks(ProcessIdentity self) : self_(std::move(self)) {}

KeyLocks::~KeyLocks() { ReleaseAll(); }

std::optional<std::string> KeyLocks::Take(const fs::path& datapath, const std::string& key,
                                          Clock::time_point now) {
    if (Holds(key)) return std::nullopt;
    if (datapath.empty() || !IsAfnameKey(key)) return std::nullopt;
    const fs::path file = LockPath(datapath, key);
    try {
        files::CreatePrivateFolder(file.parent_path());
    } catch (const files::WriteError&) {
        return std::nullopt;  // nowhere to lock: see the header
    }
    const LockOwner me{self_.host, self_.user, self_.pid, now};
    // Two rounds: the second follows the takeover of a stale lock.
    for (int round = 0; round < 2; ++round) {
        const int error = CreateLock(file, me);
        if (error == 0) {
            held_.push_back({file, key});
            return std::nullopt;
        }
        if (error != EEXIST) return std::nullopt;  // nowhere to lock: see the header
        const std::optional<std::vector<std::string>> lines = ReadLock(file);
        if (!lines) continue;  // released meanwhile
        const std::optional<LockOwner> owner = ParseLock(*lines);
        const bool stale = owner ? IsStale(*owner, self_, now) : UnfinishedLockIsOld(file, now);
        if (!stale) {
            return HeldMessage(key, owner.value_or(LockOwner{"onbekend", "onbekend", 0, now}));
        }
        if (!RemoveStaleLock(file, *lines, self_.pid)) break;
    }
    const std::optional<LockOwner> holder = LiveHolder(datapath, key, self_, now);
    return HeldMessage(key, holder.value_or(LockOwner{"onbekend", "onbekend", 0, now}));
}

bool KeyLocks::Holds(std::string_view key) const {
    return std::any_of(held_.begin(), held_.end(),
                       [&](const Held& held) { return held.key == key; });
}

void KeyLocks::Release(const Held& held) {
    // Only our own lock goes: a lock taken over from us (we were thought dead)
    // belongs to its new owner.
    const std::optional<std::vector<std::string>> lines = ReadLock(held.file);
    if (!lines) return;
    const std::optional<LockOwner> owner = ParseLock(*lines);
    if (owner && owner->host == self_.host && owner->pid == self_.pid) ::unlink(held.file.c_str());
}

void KeyLocks::ReleaseAllBut(std::string_view key) {
    std::erase_if(held_, [&](const Held& held) {
        if (held.key == key) return false;
        Release(held);
        return true;
    });
}

void KeyLocks::ReleaseAll() {
    for (const Held& held : held_) Release(held);
    held_.clear();
}

}  // namespace zor::record
