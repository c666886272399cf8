#pragma once
// One writer per administration. While a program has an administration open,
// it holds a lock file for the administration's key in the hidden recovery
// folder of the data folder (".herstel/<key>.slot"). The file is created with
// O_CREAT | O_EXCL, which is atomic on local and network file systems alike,
// and names its holder in text lines:
//   ZOR-slot
//   computer=<host name>
//   gebruiker=<user name>
//   proces=<process id>
//   sinds=<seconds since 1970, UTC>
// A lock is stale, and taken over, when its process no longer runs on this
// host, or when it comes from another host and is older than 12 hours.
#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zor::record {

namespace fs = std::filesystem;

// A lock from another host counts as abandoned after this long.
inline constexpr std::chrono::hours kForeignLockLifetime{12};

// <data>/.herstel/<key>.slot
fs::path LockPath(const fs::path& datapath, std::string_view key);

// Who holds a lock.
struct LockOwner {
    std::string host;
    std::string user;
    long pid = 0;
    std::chrono::system_clock::time_point since;
};

// The running program as a lock owner, and how to tell whether a process of
// this host still runs.
struct ProcessIdentity {
    std::string host;
    std::string user;
    long pid = 0;
    std::function<bool(long pid)> isRunning;

    static ProcessIdentity ThisProcess();
};

// The lock file's text, and the owner it names (nothing for a file that is
// no lock, for example one still being written).
std::vector<std::string> LockLines(const LockOwner& owner);
std::optional<LockOwner> ParseLock(const std::vector<std::string>& lines);

// Whether a lock no longer protects anything: its process has ended on this
// host, or it comes from another host and has passed its lifetime.
bool IsStale(const LockOwner& owner, const ProcessIdentity& self,
             std::chrono::system_clock::time_point now);

// The owner of a live lock on `key` held by another program, if any.
std::optional<LockOwner> LiveHolder(const fs::path& datapath, std::string_view key,
                                    const ProcessIdentity& self,
                                    std::chrono::system_clock::time_point now);

// The Dutch refusal for a key held by `owner`.
std::string HeldMessage(std::string_view key, const LockOwner& owner);

// The locks one screen holds. Releases them all when destroyed.
class KeyLocks {
  public:
    explicit KeyLocks(ProcessIdentity self = ProcessIdentity::ThisProcess());
    ~KeyLocks();
    KeyLocks(const KeyLocks&) = delete;
    KeyLocks& operator=(const KeyLocks&) = delete;

    // Takes the lock of `key`, taking over a stale one. Returns nothing when
    // the key is held now (or already was), otherwise the Dutch refusal naming
    // the holder. A lock that cannot be written at all (no data folder, a
    // read-only folder) is no refusal: saving then goes to the backup
    // procedure, which needs no lock.
    std::optional<std::string> Take(const fs::path& datapath, const std::string& key,
                                    std::chrono::system_clock::time_point now);
    bool Holds(std::string_view key) const;
    void ReleaseAllBut(std::string_view key);
    void ReleaseAll();

    const ProcessIdentity& self() const { return self_; }

  private:
    struct Held {
        fs::path file;
        std::string key;
    };
    void Release(const Held& held);

    ProcessIdentity self_;
    std::vector<Held> held_;
};

}  // namespace zor::record
