#include "command_line.h"

#include <algorithm>

namespace zor::tool {
namespace {

constexpr Option kHelpOption{"--help", "", "deze hulptekst tonen"};

const Option* FindOption(const Subcommand& command, std::string_view name) {
    for (const Option& option : command.options)
        if (option.name == name) return &option;
    return nullptr;
}

}  // namespace

bool CommandLine::has(std::string_view option) const { return values_.find(option) != values_.end(); }

std::optional<std::string> CommandLine::value(std::string_view option) const {
    const auto it = values_.find(option);
    if (it == values_.end()) return std::nullopt;
    return it->second;
}

void CommandLine::set(std::string_view option, std::string value) {
    values_.insert_or_assign(std::string(option), std::move(value));
}

std::optional<CommandLine> ParseCommandLine(const Subcommand& command, const Arguments& arguments,
                                            std::ostream& out, std::ostream& err, int& status) {
    CommandLine line;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnded || argument == "-" || !argument.starts_with("-")) {
            line.operands.push_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        if (argument == "--help" || argument == "-h") {
            PrintCommandHelp(command, out);
            status = kExitSuccess;
            return std::nullopt;
        }
        // "--name=value", or "-xvalue" for a one-letter option.
        std::string name = argument;
        std::optional<std::string> attached;
        if (argument.starts_with("--")) {
            if (const auto eq = argument.find('='); eq != std::string::npos) {
                name = argument.substr(0, eq);
                attached = argument.substr(eq + 1);
            }
        } else if (argument.size() > 2) {
            name = argument.substr(0, 2);
            attached = argument.substr(2);
        }
        const Option* option = FindOption(command, name);
        if (!option) {
            status = UsageError(command, "onbekende optie \"" + argument + "\"", err);
            return std::nullopt;
        }
        if (option->value.empty()) {
            if (attached) {
                status = UsageError(command, "optie " + name + " neemt geen waarde", err);
                return std::nullopt;
            }
            line.set(name, "");
        } else if (attached) {
            line.set(name, *attached);
        } else if (i + 1 < arguments.size()) {
            line.set(name, arguments[++i]);
        } else {
            status = UsageError(command, "optie " + name + " verwacht " + std::string(option->value), err);
            return std::nullopt;
        }
    }
    status = kExitSuccess;
    return line;
}

int UsageError(const Subcommand& command, std::string_view problem, std::ostream& err) {
    err << "zor-tool " << command.name << ": " << problem << "\n"
        << "Gebruik: zor-tool " << command.name << " " << command.usage << "\n";
    return kExitUsage;
}

bool ReadDateOption(const Subcommand& command, const CommandLine& line,
                    std::optional<record::Date>& date, std::ostream& err) {
    const std::optional<std::string> text = line.value("--date");
    if (!text) return true;
    date = record::DateFromText(*text);
    if (date) return true;
    UsageError(command, "\"" + *text + "\" is geen datum dd-mm-jjjj", err);
    return false;
}

void PrintCommandHelp(const Subcommand& command, std::ostream& out) {
    out << "Gebruik: zor-tool " << command.name << " " << command.usage << "\n"
        << command.summary << "\n\nOpties:\n";
    std::size_t width = 0;
    auto label = [](const Option& option) {
        return std::string(option.name) + (option.value.empty() ? "" : " " + std::string(option.value));
    };
    for (const Option& option : command.options) width = std::max(width, label(option).size());
    width = std::max(width, label(kHelpOption).size());
    auto line = [&](const Option& option) {
        const std::string text = label(option);
        out << "  " << text << std::string(width - text.size() + 2, ' ') << option.help << "\n";
    };
    for (const Option& option : command.options) line(option);
    line(kHelpOption);
    out << "\nAfsluitstatus: 0 gelukt, 1 mislukt, 2 verkeerd gebruik.\n";
}

const Subcommand* FindSubcommand(std::string_view name) {
    for (const Subcommand& command : Subcommands())
        if (command.name == name) return &command;
    return nullptr;
}

}  // namespace zor::tool
