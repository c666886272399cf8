#pragma once
// The three files of an administration in the data folder: the two data files
// ("Data/<key>_FW.wda", "Data/<key>_FV.vda") and the incomplete-administration
// file ("Incomplete afnames/<key>.zta"), named by the folders service. Files are
// Windows-1252 text with CR LF after every line; each is replaced whole and
// atomically, so a crash or a full disk leaves either the old or the new file,
// never a part of one.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "record/administration_record.h"

namespace zor::record {

namespace fs = std::filesystem;

struct AdministrationPaths {
    fs::path incomplete;  // <key>.zta
    fs::path dataFW;      // <key>_FW.wda
    fs::path dataFV;      // <key>_FV.vda
};

// A key names files inside a folder: it must not lead out of it (no separator,
// no control character, not "." or "..").
bool IsPlainFileName(std::string_view name);
// A key as the incomplete-administration file holds it: a code, "_", a date;
// always a plain file name.
bool IsAfnameKey(std::string_view key);

// The files of `key` under the data folder (the "datapath" setting; empty when unset).
AdministrationPaths PathsInDataFolder(const fs::path& datapath, std::string_view key);
// The backup location: the chosen incomplete-administration file, the data files beside it.
AdministrationPaths PathsBesideFile(const fs::path& chosenIncompleteFile, std::string_view key);

// A file that could not be created, read or written.
struct FileError {
    fs::path file;
    std::string message;  // Dutch, naming the file and the system's reason
};

// The bytes of a file of these lines (UTF-8 in memory): Windows-1252, CR LF
// after each line.
std::string LinesFileContent(const std::vector<std::string>& lines);
// Writes the lines (UTF-8 in memory) as Windows-1252 with CR LF after each line,
// through a temporary file in the same folder that then replaces the target.
std::optional<FileError> WriteLinesFile(const fs::path& file,
                                        const std::vector<std::string>& lines);

struct LinesFile {
    std::vector<std::string> lines;
    std::optional<FileError> error;
};
// Far beyond any administration file: a data line is a few hundred bytes.
inline constexpr std::uintmax_t kMaxLinesFileSize = 1 << 20;

// Reads a Windows-1252 text file into UTF-8 lines; CR LF, LF and CR all end a line.
// Only a regular file is opened, so a FIFO or device named like an
// administration file never blocks the reader; files larger than
// kMaxLinesFileSize are refused before reading.
LinesFile ReadLinesFile(const fs::path& file);

// Writes MemoCom, MdataFW and MdataFV to the data folder in this order; stops at
// the first file that cannot be written and reports it, so the caller can start
// the backup procedure. An empty data folder setting addresses no folder at all.
std::optional<FileError> WriteAdministrationFiles(const AdministrationRecord& record,
                                                  const fs::path& datapath);
// What saving an administration did.
struct SaveResult {
    enum class Outcome {
        kNothingToSave,  // no valid subject, or the administration has not started
        kSaved,
        kNeedsBackup,  // a file could not be created: the backup procedure follows
    };
    Outcome outcome = Outcome::kNothingToSave;
    std::optional<FileError> error;
};

// The file part of saving: brings the subject's data lines up to date with the
// latest results and status, then writes the three files to the data folder.
// Before the start the record holds no data lines and AfnameKey still names the
// previous administration, so nothing is written then: its files stay intact.
// Throws norms::ConversionError when a result cell is not a whole number.
SaveResult SaveAdministration(AdministrationRecord& record, const fs::path& datapath);

// Writes the three files to the backup location, going on after a failure;
// returns every failure.
std::vector<FileError> WriteBackupFiles(const AdministrationRecord& record,
                                        const fs::path& chosenIncompleteFile);

// Result of loading an incomplete administration into the record.
struct ResumeResult {
    enum class Outcome {
        kNothingChosen,  // no file name
        kLoadFailed,     // a file could not be read; the record is unchanged
        kRejected,       // a data line was refused; the record is reset
        kResumed,
    };
    Outcome outcome = Outcome::kNothingChosen;
    std::string message;  // box text for kLoadFailed and kRejected
    std::string problem;  // for kRejected: file, line and field, and what is wrong
    fs::path file;        // the file concerned
};

// Loads the incomplete-administration file and the data files it names (always
// from the data folder), fills the record from the last line of each data file,
// deletes the incomplete-administration file, and moves the administration to
// today's date (AfnameDate) under its new key. The incomplete-administration
// file is kept when loading fails or a line is refused, so nothing is lost.
ResumeResult ResumeFromFiles(AdministrationRecord& record, const fs::path& incompleteFile,
                             const fs::path& datapath);

}  // namespace zor::record
