#include <spawn.h>
#include <sys/wait.h>

#include "report/report_services.h"

extern char** environ;

namespace zor::report {

void XdgFolderOpener::OpenFolder(const std::filesystem::path& folderPath) {
    // xdg-open may run the file manager in its own foreground until the window
    // is closed, so a shell starts it in the background and ends at once; the
    // program waits only for that shell. The folder goes in as the shell's
    // first argument, never as part of the command text.
    std::string shell = "sh";
    std::string command = "-c";
    std::string script = "xdg-open \"$1\" >/dev/null 2>&1 &";
    std::string scriptName = "zor-open-folder";
    std::string folder = folderPath.string();
    char* argv[] = {shell.data(),      command.data(), script.data(),
                    scriptName.data(), folder.data(),  nullptr};
    pid_t child = 0;
    if (posix_spawn(&child, "/bin/sh", nullptr, nullptr, argv, environ) == 0) {
        int status = 0;
        waitpid(child, &status, 0);
    }
}

}  // namespace zor::report
