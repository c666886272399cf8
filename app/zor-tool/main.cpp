// zor-tool: runs one subcommand on stored administrations and reports.
#include <malloc.h>

#include <exception>
#include <iostream>

#include "subcommand.h"

namespace {

void PrintUsage(std::ostream& out) {
    out << "Gebruik: zor-tool <opdracht> [argumenten]\n\nOpdrachten:\n";
    for (const zor::tool::Subcommand& command : zor::tool::Subcommands()) {
        out << "  " << command.name << " " << command.usage << "\n      " << command.summary
            << "\n";
    }
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
    if (arguments[0] == "--help" || arguments[0] == "-h") {
        PrintUsage(std::cout);
        return zor::tool::kExitSuccess;
    }
    try {
        for (const zor::tool::Subcommand& command : zor::tool::Subcommands()) {
            if (command.name == arguments[0]) {
                return command.run({arguments.begin() + 1, arguments.end()}, std::cout, std::cerr);
            }
        }
    } catch (const std::exception& e) {
        std::cerr << "zor-tool: " << e.what() << "\n";
        return zor::tool::kExitFailure;
    }
    std::cerr << "zor-tool: onbekende opdracht \"" << arguments[0] << "\"\n";
    PrintUsage(std::cerr);
    return zor::tool::kExitUsage;
}
