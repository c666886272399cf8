#pragma once
// Runs a shell command for the tests that check output files with outside tools.
#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace zor::testing {

struct CommandResult {
    int exitCode = -1;
    std::string output;  // stdout and stderr together
};

inline CommandResult runCommand(const std::string& command) {
    CommandResult result;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe) return result;
    char buffer[4096];
    while (std::size_t n = fread(buffer, 1, sizeof buffer, pipe)) result.output.append(buffer, n);
    const int status = pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

// The command's output, for checks that only read what a tool prints.
inline std::string commandOutput(const std::string& command) { return runCommand(command).output; }

}  // namespace zor::testing
