#pragma once
// The runner of zor-tool's folder commands: independent items (administrations, report files)
// worked on by several threads, with their output and failures written in item order, so the
// same folder gives the same output whatever the number of threads.
#include <cstddef>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "command_line.h"
#include "subcommand.h"

namespace zor::tool {

// What one item produced: its lines for standard output, or why it failed (a line for standard
// error naming the item).
struct ItemResult {
    bool ok = true;
    std::string output;
    std::string failure;
};

struct ParallelRun {
    int jobs = 1;                      // threads, at least 1
    std::ostream* progress = nullptr;  // where a "label done/total" line is kept up to date
    std::string_view label;
};

// Works on items 0 .. count-1 with up to run.jobs threads. worker (0 .. jobs-1) tells the work
// which thread runs it, for state a thread keeps between items. Outputs go to out and failures
// to err in item order as soon as all earlier items are done. An exception escaping the work
// counts as the item's failure with the exception's text. Returns the exit status: kExitSuccess
// when every item succeeded, else kExitFailure.
int RunItems(std::size_t count, const ParallelRun& run,
             const std::function<ItemResult(std::size_t item, std::size_t worker)>& work,
             std::ostream& out, std::ostream& err);

// The command line of a folder command with its "--date" and "-j".
struct FolderCommandLine {
    CommandLine line;
    std::optional<record::Date> date;  // "--date"; nothing when it was not given
    int jobs = 1;                      // "-j"; the number of cores when it was not given
};

// Parses the command line of the subcommand `name`. Returns nothing after it has printed the
// help (`status` 0) or a usage error (`status` 2), also for a "--date" that is no date or a
// "-j" that is not a whole number from 1 to 256.
std::optional<FolderCommandLine> ParseFolderCommandLine(std::string_view name,
                                                        const Arguments& arguments,
                                                        std::ostream& out, std::ostream& err,
                                                        int& status);

// err when it is the process's standard error and that is a terminal, else none: the progress
// line is for a person watching, never for a file or a pipe.
std::ostream* ProgressStreamFor(std::ostream& err);

}  // namespace zor::tool
