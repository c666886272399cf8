#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>

#include "administration/administration_screens.h"
#include "record/subject_entry_screen.h"
#include "shell/settings.h"
#include "shell/startup.h"
#include "stand_in_report_screens.h"
#include "ui_fixture.h"

namespace zor::administration::testing {

// The whole program on a virtual clock with silent players, the committed
// pictures and sounds, the subject entry and the administration screens
// (with stand-ins for the report and correction screens unless a test gives
// its own builder), started up to the idle main menu.
struct AdministrationFixture : ui::testing::UiFixture {
    std::filesystem::path root = ui::testing::freshFolder(
        std::string("adm-") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::path program = root / "program";
    std::filesystem::path data = root / "data";
    std::filesystem::path settingsFile = root / "settings.ini";
    shell::IniSettingsStore settings{settingsFile};
    // Makes the screen builder.
    using BuilderFactory =
        std::function<std::unique_ptr<AdministrationScreenBuilder>(ui::Application&)>;

    std::unique_ptr<AdministrationScreenBuilder> ownedBuilder;
    AdministrationScreenBuilder& builder;
    std::unique_ptr<shell::Startup> startup;

    // The wall clock starts at `wallStart`.
    explicit AdministrationFixture(
        BuilderFactory makeBuilder = nullptr,
        std::chrono::system_clock::time_point wallStart = ui::VirtualClock::kDefaultWallStart);
    ~AdministrationFixture();

    AdministrationLinks& links() { return builder.links; }
    shell::TZORMAINForm& main() { return *startup->screens().main; }
    record::TZORinvoer& entry() { return *links().entry; }
    record::AdministrationRecord& record() { return entry().Afname; }
    TZORkeuze& keuze() { return *links().ZORkeuze; }
    TFWin& fwIn() { return *links().FWin; }
    TFVin& fvIn() { return *links().FVin; }
    TFWtfase& fwTest() { return *links().FWtfase; }
    TFVtfase& fvTest() { return *links().FVtfase; }
    TFWaft& fwAft() { return *links().FWaft; }
    TFVaft& fvAft() { return *links().FVaft; }
    TZORfinish& finish() { return *links().Finish; }
    StandInReportPreview& preview() { return static_cast<StandInReportPreview&>(*links().preview); }

    // Moves the clock on in steps of `stepMs` until the condition holds;
    // fails after `limitMs`.
    void advanceUntil(const std::function<bool()>& condition, int stepMs = 100,
                      int limitMs = 30000);
    // Waits, to the millisecond, for the test screen's stopwatch to start.
    void awaitStopwatch(TTestPhase& test);

    // The entry screen's microphone check runs on a thread of its own: waits,
    // a bounded while in real time, until its answer has reached the
    // recording box, moving the clock on meanwhile.
    void awaitMicrophoneCheck();
    // Types into an edit of the entry screen, key by key.
    void type(ui::Edit& edit, std::string_view text);
    // The subject Jan01 typed into the entry screen.
    void enterSubject();
    // From the idle main menu to the entry screen, for the chosen subtest first.
    void openEntry(bool deletionFirst);
    // From the idle main menu to the chosen subtest's introduction.
    void startAdministration(bool deletionFirst);
    // From a test screen's interrupt through its introduction's and the entry
    // screen's back to the idle main menu (the entry screen saves).
    void interruptAndGoHome(TTestPhase& test, TIntroduction& intro);
    // Plays every introduction prompt in order and continues to the test.
    void passIntroduction(TIntroduction& intro);
    // One deletion step by keyboard: A, B, stop after `answerMs`, mark.
    void deletionStep(int answerMs, bool right);
    // One swap item by keyboard.
    void swapItem(int answerMs, bool right);
    // Clicks finish and waits out its deferred step and any save notice.
    void finishSubtest(TTestPhase& test);

    void press(char32_t key) { app.keyPress(key); }
    int countPlays(const std::string& fileEnd) const;
    std::string fileText(const std::filesystem::path& file) const;
    // The status field of a saved data line.
    std::string savedStatus(const std::string& dataFileName) const;
    std::filesystem::path dataFile(const std::string& name) const { return data / "Data" / name; }
    std::filesystem::path incompleteFile(const std::string& name) const {
        return data / "Incomplete afnames" / name;
    }
};

}  // namespace zor::administration::testing
