#pragma once

#include <unistd.h>

#include <filesystem>
#include <string>

#include "ui/application.h"
#include "ui/clock.h"
#include "ui/pictures.h"
#include "ui/scripted_dialogs.h"
#include "ui/silent_sound.h"

namespace zor::ui::testing {

// A runtime on a virtual clock with scripted dialogs, silent players and
// pictures taken from disk.
struct UiFixture {
    VirtualClock clock;
    ScriptedDialogs dialogs;
    FilePictureSource pictures;
    SilentSoundSystem sounds{clock};
    Application app{clock, dialogs, pictures, sounds};
};

// A fresh empty folder under the system's temporary folder.
inline std::filesystem::path freshFolder(const std::string& name) {
    auto dir = std::filesystem::temp_directory_path() /
               ("zor-test-" + name + "-" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

}  // namespace zor::ui::testing
