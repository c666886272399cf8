// zor-tool: runs one subcommand on stored administrations and reports.
#include <malloc.h>

#include <cstring>
#include <exception>
#include <iostream>

#include "command_line.h"
#include "subcommand.h"

namespace {

void PrintUsage(std::ostream& out) {
    out << "Gebruik: zor-tool <opdracht> [opties] [argumenten]\n"
           "        zor-tool help [opdracht]\n"
           "        zor-tool --version\n\nOpdrachten:\n";
    for (const zor::tool::Subcommand& command : zor::tool::Subcommands()) {
        out << "  " << command.name << " " << command.usage << "\n      " << command.summary
            << "\n";
    }
    out << "\n\"zor-tool <opdracht> --help\" toont de opties van een opdracht.\n"
           "Afsluitstatus: 0 gelukt, 1 mislukt, 2 verkeerd gebruik.\n";
}

// "zor-tool help [opdracht]".
int Help(const zor::tool::Arguments& arguments) {
    if (arguments.empty()) {
        PrintUsage(std::cout);
        return zor::tool::kExitSuccess;
    }
    const zor::tool::Subcommand* command =
        arguments.size() == 1 ? zor::tool::FindSubcommand(arguments[0]) : nullptr;
    if (!command) {
        std::cerr << "zor-tool help: onbekende opdracht \"" << arguments[0] << "\"\n";
        PrintUsage(std::cerr);
        return zor::tool::kExitUsage;
    }
    zor::tool::PrintCommandHelp(*command, std::cout);
    return zor::tool::kExitSuccess;
}

}  // namespace

int main(int argc, char** argv) {
    // Every report and PDF passes through buffers of some megabytes (page images, pictures).
    // Kept in the heap for the next item instead of being given back to the system and faulted
    // in again, they make a folder command about four times cheaper.
    mallopt(M_MMAP_THRESHOLD, 64 << 20);
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
    const zor::tool::Arguments arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    if (arguments.empty()) {
        PrintUsage(std::cerr);
        return zor::tool::kExitUsage;
    }
    const std::string& first = arguments[0];
    const zor::tool::Arguments rest(arguments.begin() + 1, arguments.end());
    if (first == "--help" || first == "-h") return Help({});
    if (first == "help") return Help(rest);
    if (first == "--version") {
        std::cout << "zor-tool " ZOR_VERSION "\n";
        return zor::tool::kExitSuccess;
    }
    const zor::tool::Subcommand* command = zor::tool::FindSubcommand(first);
    if (!command) {
        std::cerr << "zor-tool: onbekende " << (first.starts_with("-") ? "optie" : "opdracht") << " \""
                  << first << "\"\n";
        PrintUsage(std::cerr);
        return zor::tool::kExitUsage;
    }
    try {
        return command->run(rest, std::cout, std::cerr);
    } catch (const std::exception& e) {
        std::cerr << "zor-tool " << command->name << ": " << e.what() << "\n";
        return zor::tool::kExitFailure;
    }
}
