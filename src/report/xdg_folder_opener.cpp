#include <spawn.h>
#include <sys/wait.h>

#include "report/report_services.h"

extern char** environ;

namespace zor::report {

void XdgFolderOpener::OpenFolder(const std::string& nativePath) {
    // xdg-open hands the folder to the file manager and returns; its exit
    // status is collected so that no zombie stays behind.
    std::string program = "xdg-open";
    std::string folder = nativePath;
    char* argv[] = {program.data(), folder.data(), nullptr};
    pid_t child = 0;
    if (posix_spawnp(&child, "xdg-open", nullptr, nullptr, argv, environ) == 0) {
        int status = 0;
        waitpid(child, &status, 0);
    }
}

}  // namespace zor::report
