#pragma once
// The subcommands of zor-tool. A new subcommand is a source file with its run
// function and one entry in the table of subcommand_table.cpp, which also
// lists its options (parsed by command_line.h).
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zor::tool {

using Arguments = std::vector<std::string>;

// Exit status: 0 success, 1 failed on its input, 2 wrong use.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

// An option of a subcommand: "--date", taking a value shown as "dd-mm-jjjj";
// a switch has no value name.
struct Option {
    std::string_view name;
    std::string_view value;  // the value's name in the help, empty for a switch
    std::string_view help;   // one line
};

struct Subcommand {
    std::string_view name;
    std::string_view usage;    // arguments, as shown after the name
    std::string_view summary;  // one line
    int (*run)(const Arguments& arguments, std::ostream& out, std::ostream& err);
    std::span<const Option> options = {};  // besides --help, which every subcommand has
};

std::span<const Subcommand> Subcommands();

// Subcommand entry points.
int RunScores(const Arguments& arguments, std::ostream& out, std::ostream& err);
int RunReport(const Arguments& arguments, std::ostream& out, std::ostream& err);
int RunPdf(const Arguments& arguments, std::ostream& out, std::ostream& err);
int RunSoundCheck(const Arguments& arguments, std::ostream& out, std::ostream& err);

}  // namespace zor::tool
