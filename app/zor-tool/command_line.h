#pragma once
// The one command-line parser of zor-tool's subcommands. A subcommand lists
// its options in its table entry (subcommand_table.cpp) and starts with
// ParseCommandLine; adding an option is one line in that list.
//
// Conventions: options may come before, between and after the operands;
// "--name value", "--name=value" and, for one-letter options, "-xvalue" give
// a value; "--" ends the options (what follows is an operand even when it
// starts with "-"); "-" alone is an operand; "--help" (or "-h") prints the
// subcommand's help. An unknown option, a missing value or an operand count
// the subcommand refuses is wrong use: a message and the usage line on the
// error stream, exit status 2.
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "record/calendar.h"
#include "subcommand.h"

namespace zor::tool {

// The options and operands of one run of a subcommand.
class CommandLine {
  public:
    std::vector<std::string> operands;

    // Whether the option was given ("--csv").
    bool has(std::string_view option) const;
    // The option's value, the last one given; nothing when it was not given.
    std::optional<std::string> value(std::string_view option) const;

    void set(std::string_view option, std::string value);

  private:
    std::map<std::string, std::string, std::less<>> values_;
};

// Parses `arguments` by the options of `command`. Returns nothing after it
// has printed the help (`status` 0) or a usage error (`status` 2).
std::optional<CommandLine> ParseCommandLine(const Subcommand& command, const Arguments& arguments,
                                            std::ostream& out, std::ostream& err, int& status);

// Reports wrong use found by the subcommand itself: "zor-tool <command>:
// <problem>" and the usage line on `err`. Returns kExitUsage.
int UsageError(const Subcommand& command, std::string_view problem, std::ostream& err);

// The value of "--date" as a calendar date in `date` (untouched when the
// option was not given). False after a usage error when it is no date.
bool ReadDateOption(const Subcommand& command, const CommandLine& line,
                    std::optional<record::Date>& date, std::ostream& err);

// The subcommand's help: usage line, summary and options.
void PrintCommandHelp(const Subcommand& command, std::ostream& out);

// The table entry of a subcommand, by name; nothing for an unknown name.
const Subcommand* FindSubcommand(std::string_view name);

}  // namespace zor::tool
