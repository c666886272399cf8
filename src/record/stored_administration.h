#pragma once
// Reading a stored administration: its two data files "<key>_FW.wda" and
// "<key>_FV.vda". Every part of the program that works from stored data (the
// resume, the correction screen and so the stored-report viewer's corrected
// report, and every zor-tool command) reads through here, so that one file
// gets one verdict everywhere.
//
// Nothing of a file is trusted before it has passed these checks, in order:
//   - the name is a regular file (a FIFO, device or folder is refused without
//     blocking) of at most kMaxLinesFileSize bytes (ReadLinesFile);
//   - the file holds a line; its last non-empty line describes the administration;
//   - that line is sound on its own (FindDataLineProblem: subtest, code, sex,
//     real dates with birth first, status, last item, result pairs and score);
//   - both lines hold the same subject data and status;
//   - the administration date lies no more than one day after today;
//   - the key in the file name, when the name has the form "<key>_FW.wda" or
//     "<key>_FV.vda" (a corrected administration's key ends in "_gecorrigeerd"),
//     is the line's code, "_" and its administration date.
// A refusal throws StoredAdministrationError, whose text names the file, the
// line and the field (counted from 1) and says in Dutch what is wrong.
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "record/administration_record.h"
#include "record/calendar.h"
#include "record/data_line.h"

namespace zor::record {

namespace fs = std::filesystem;

class StoredAdministrationError : public std::runtime_error {
  public:
    enum class Kind {
        kUnreadable,  // the file is missing, no regular file, too large or cannot be read
        kRefused,     // the file was read but its content is refused
    };
    // `line` is 1-based; 0 when the problem concerns the file as a whole.
    StoredAdministrationError(Kind kind, Subtest subtest, fs::path file, int line,
                              std::string problem);

    Kind kind() const { return kind_; }
    // The subtest whose file is concerned.
    Subtest subtest() const { return subtest_; }
    const fs::path& file() const { return file_; }
    int line() const { return line_; }
    // What is wrong, without the file: for a refusal it names the field.
    const std::string& problem() const { return problem_; }

  private:
    Kind kind_;
    Subtest subtest_;
    fs::path file_;
    int line_;
    std::string problem_;
};

// The box text of a refused administration: the subtest's message, then where
// and what the problem is.
std::string RefusalBoxText(const StoredAdministrationError& error);

// Two checked data files.
struct StoredAdministration {
    std::vector<std::string> linesFW;  // every line of the FW file
    std::vector<std::string> linesFV;
    int rowFW = 0;  // 1-based row of the line that describes the administration
    int rowFV = 0;
    Date afnameDate;
    std::optional<Date> birthDate;  // none when the lines carry no birth date
};

// Reads and checks the two data files; `today` bounds the administration date.
// Throws StoredAdministrationError.
StoredAdministration ReadStoredAdministration(const fs::path& dataFW, const fs::path& dataFV,
                                              const Date& today);

// Fills the record from a checked administration as resuming does: the lists,
// the data grids, and the fields parsed from the FW line, then from the FV line.
void LoadStoredAdministration(AdministrationRecord& record, StoredAdministration stored);

}  // namespace zor::record
