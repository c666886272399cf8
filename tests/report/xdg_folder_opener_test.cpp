// Opening the PDF folder with xdg-open: the folder arrives whole as one
// argument, and the program goes on while the file manager stays open.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>

#include "../ui/ui_fixture.h"
#include "report/report_services.h"
#include "report_screens_fixture.h"

namespace zor::report::testing {
namespace {

namespace fs = std::filesystem;

// An xdg-open that, like a file manager run in the foreground, keeps running
// until the test lets it go (or gives up), and notes what it was given.
constexpr const char* kForegroundOpener = R"(#!/bin/sh
i=0
while [ ! -e "$1/go" ] && [ $i -lt 300 ]; do sleep 0.1; i=$((i+1)); done
if [ -e "$1/go" ]; then printf '%s\n' "$1" > "$1/opened"; else echo waited > "$1/opened"; fi
)";

class PathWith {
public:
    explicit PathWith(const fs::path& folder) : old_(std::getenv("PATH") ? std::getenv("PATH") : "") {
        setenv("PATH", (folder.string() + ":" + old_).c_str(), 1);
    }
    ~PathWith() { setenv("PATH", old_.c_str(), 1); }

private:
    std::string old_;
};

TEST(XdgFolderOpener, ReturnsWhileTheFileManagerStaysOpen) {
    const fs::path root = ui::testing::freshFolder("xdg-open");
    const fs::path bin = root / "bin";
    const fs::path target = root / "Mijn rapporten" / "PDF";
    fs::create_directories(bin);
    fs::create_directories(target);
    std::ofstream(bin / "xdg-open") << kForegroundOpener;
    fs::permissions(bin / "xdg-open", fs::perms::owner_all);

    {
        PathWith path(bin);
        XdgFolderOpener().OpenFolder(target.string());
    }
    // Only now may the stand-in file manager end.
    std::ofstream(target / "go") << "";
    for (int i = 0; i < 600 && !fs::exists(target / "opened"); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    // Let the stand-in finish writing its note.
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_EQ(ReadAll(target / "opened"), target.string() + "\n");
    fs::remove_all(root);
}

}  // namespace
}  // namespace zor::report::testing
