#pragma once

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "shell/settings.h"
#include "stand_in_screens.h"
#include "ui_fixture.h"
#include "wav_file.h"

namespace zor::shell::testing {

// A program folder with the pictures and sounds of the shell, a settings
// file, and the shell started with stand-ins for the other subsystems' screens.
struct ShellFixture : ui::testing::UiFixture {
    std::filesystem::path root =
        ui::testing::freshFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::path program = root / "program";
    std::filesystem::path data = root / "data";
    std::filesystem::path settingsFile = root / "settings.ini";
    IniSettingsStore settings{settingsFile};
    std::unique_ptr<StandInProgram> zor;

    ShellFixture() {
        std::filesystem::create_directories(program / "Graphics" / "Buttons");
        std::filesystem::create_directories(program / "Audio");
        std::filesystem::create_directories(data / "Incomplete afnames");
        for (const char* name :
             {"blk.jpg", "ZORbckgr1.jpg", "ZORsplash.jpg", "Opgeslagen.gif", "ZORlogo.jpg"})
            touch(program / "Graphics" / name);
        for (const char* name : {"BtnNToff.gif", "BtnNTon.gif", "BtnTHoff.gif", "BtnTHon.gif",
                                 "BtnTROoff.gif", "BtnTROon.gif", "BtnExit.gif", "BtnInfo.gif"})
            touch(program / "Graphics" / "Buttons" / name);
        ui::testing::writeWav((program / "Audio" / "start.wav").string(), 150);
        ui::testing::writeWav((program / "Audio" / "Save.wav").string(), 800);
        writeSettings("datapath=" + data.string() + "\r\n");
    }

    static void touch(const std::filesystem::path& file) { std::ofstream(file) << "picture"; }

    void writeSettings(const std::string& lines) {
        std::ofstream(settingsFile, std::ios::binary)
            << "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Lomba\\ZOR\\SETTINGS]\r\n"
            << lines;
    }

    // Starts the program on `programFolder`; start-up goes on on the clock.
    void launch(const std::string& programFolder) {
        zor = std::make_unique<StandInProgram>(app, settings, programFolder);
        zor->startup.start();
    }

    // Starts the program and lets start-up run until the main menu is idle.
    void startProgram() {
        launch(program.string() + "/");
        clock.advance(2000);
    }

    ShellScreens& screens() { return zor->startup.screens(); }
    TZORMAINForm& main() { return *screens().main; }
    LaterScreens& later() { return screens().later; }
    StandInSubjectEntry& entry() {
        return static_cast<StandInSubjectEntry&>(later().ZORinvoer->screen());
    }
};

}  // namespace zor::shell::testing
