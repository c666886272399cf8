#pragma once
// The recovery journal: after every change of an open administration, its
// complete state goes to ".herstel/<key>.herstel" in the data folder, replaced
// whole and atomically, so that a killed program, a crash or an empty battery
// loses nothing since the last mark. The journal holds exactly what a save
// would write at that moment, as of the last mark: a step whose time has been
// stopped but not yet marked is left out, as an interruption there would.
// Its text lines (Windows-1252, CR LF, like the administration files):
//   ZOR-herstelbestand;1
//   sleutel;<AfnameKey>
//   bijgewerkt;<dd-mm-yyyy hh:mm:ss>
//   zta;<n>    followed by the n lines of the incomplete-administration file
//   FW;<n>     followed by the n lines of the FW data file
//   FV;<n>     followed by the n lines of the FV data file
//   einde
// The administration files themselves stay as they are: the journal lies
// beside them and disappears once a save has stored the same state and the
// administration is closed.
#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "record/administration_files.h"
#include "record/administration_lock.h"
#include "record/administration_record.h"

namespace zor::record {

// Where journals that were not recovered are moved, inside the recovery folder.
inline constexpr std::string_view kSetAsideFolderName = "apart gezet";
inline constexpr std::string_view kJournalExtension = ".herstel";

fs::path JournalPath(const fs::path& datapath, std::string_view key);
fs::path SetAsideFolder(const fs::path& datapath);

// What a save of the administration would write now.
struct JournalState {
    std::string key;
    std::vector<std::string> memo;
    std::vector<std::string> dataFW;
    std::vector<std::string> dataFV;

    bool operator==(const JournalState&) const = default;
};

// The state of the record as of its last mark; nothing when no administration
// is under way (no data lines, no valid key). The record itself is not changed.
// Throws norms::ConversionError when a result cell is not a whole number.
std::optional<JournalState> StateAtLastMark(const AdministrationRecord& record);

std::vector<std::string> JournalLines(const JournalState& state,
                                      std::chrono::system_clock::time_point updated);

struct JournalRead {
    std::optional<JournalState> state;
    std::string updated;  // as written
    std::string problem;  // Dutch, why the file is no sound journal
};
// Reads and checks a journal: its structure, the key (which must match the
// file name) and every data line.
JournalRead ReadJournal(const fs::path& file);

// Replaces the journal of the state's key.
std::optional<FileError> WriteJournal(const fs::path& datapath, const JournalState& state,
                                      std::chrono::system_clock::time_point updated);

// The journals in the data folder, in name order.
std::vector<fs::path> FindJournals(const fs::path& datapath);

// Writes the incomplete-administration file and both data files from the
// journal's state, as a save would have.
std::optional<FileError> WriteRecoveredFiles(const fs::path& datapath, const JournalState& state);

// Moves a journal into the set-aside folder (under a new name when one of the
// same name lies there already) and returns its new place.
struct SetAsideResult {
    fs::path moved;
    std::optional<FileError> error;
};
SetAsideResult SetJournalAside(const fs::path& datapath, const fs::path& journal,
                               std::chrono::system_clock::time_point now);

// Keeps the journal of the open administration in step with the record.
class JournalKeeper {
  public:
    // Called after every event. `open` says whether the administration is
    // open (its screen is showing). Writes the journal when the state has
    // changed; when the administration has been closed, removes the journal if
    // the last save stored the same state. Returns a notice for the test
    // leader the first time a journal cannot be written for this
    // administration; the administration goes on regardless.
    std::optional<std::string> Update(const AdministrationRecord& record, const fs::path& datapath,
                                      bool open, std::chrono::system_clock::time_point now);
    // The data folder now holds the record's current state (a save succeeded).
    void Saved(const AdministrationRecord& record);

    // The journal last written, if any.
    const std::optional<fs::path>& journal() const { return journal_; }

  private:
    void Forget();

    std::optional<fs::path> journal_;
    std::optional<JournalState> written_;
    std::optional<JournalState> attempted_;
    std::optional<JournalState> saved_;
    fs::path datapath_;
    bool failureNotified_ = false;
};

}  // namespace zor::record
