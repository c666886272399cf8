// Times the stopwatch of the swap test screen on the real clock with silent
// players: for each run a short item prompt plays, the bench waits for the
// stopwatch to start, "answers" after a known time and stops it by the space
// key. It reports the distribution of
//   - the start lag: stopwatch start minus the prompt's end (goal 100..200 ms),
//   - the stored time minus the true answer time (goal within one tenth).
// Usage: stopwatch_bench [runs]   (default 1000)
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <thread>
#include <vector>

#include "administration/administration_screens.h"
#include "record/subject_entry_screen.h"
#include "shell/settings.h"
#include "shell/startup.h"
#include "ui/application.h"
#include "ui/clock.h"
#include "ui/pictures.h"
#include "ui/scripted_dialogs.h"
#include "ui/silent_sound.h"
#include "wav_file.h"

namespace fs = std::filesystem;
using namespace zor;

namespace {

constexpr int kPromptMs = 200;

struct Program {
    ui::SystemClock clock;
    ui::ScriptedDialogs dialogs;
    ui::FilePictureSource pictures;
    ui::SilentSoundSystem sounds{clock};
    ui::Application app{clock, dialogs, pictures, sounds};
    fs::path root =
        fs::temp_directory_path() / ("zor-stopwatch-bench-" + std::to_string(::getpid()));
    std::unique_ptr<shell::IniSettingsStore> settings;
    std::unique_ptr<administration::AdministrationScreenBuilder> builder;
    std::unique_ptr<shell::Startup> startup;

    Program() {
        const fs::path assets = fs::path(ZOR_SOURCE_DIR) / "assets";
        fs::remove_all(root);
        fs::create_directories(root / "program" / "Graphics");
        for (const auto& e : fs::directory_iterator(assets / "Graphics"))
            fs::create_symlink(e.path(), root / "program" / "Graphics" / e.path().filename());
        // Short item prompts keep a thousand runs within minutes.
        fs::create_directories(root / "program" / "Audio" / "FV");
        for (const char* name : {"start.wav", "Save.wav", "Tstop.wav"})
            fs::copy_file(assets / "Audio" / name, root / "program" / "Audio" / name);
        for (const auto& e : fs::directory_iterator(assets / "Audio" / "FV"))
            ui::testing::writeWav(
                (root / "program" / "Audio" / "FV" / e.path().filename()).string(), kPromptMs);
        fs::create_directories(root / "data" / "Data");
        fs::create_directories(root / "data" / "Incomplete afnames");
        std::ofstream(root / "settings.ini", std::ios::binary)
            << "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Lomba\\ZOR\\SETTINGS]\r\ndatapath="
            << (root / "data").string() << "\r\n";
        settings = std::make_unique<shell::IniSettingsStore>(root / "settings.ini");
        builder = std::make_unique<administration::AdministrationScreenBuilder>(app);
        startup = std::make_unique<shell::Startup>(app, *settings,
                                                   (root / "program").string() + "/", *builder);
    }
    ~Program() { fs::remove_all(root); }

    // Runs the timers like the front end's event loop until the condition holds.
    template <class Condition>
    void runUntil(Condition condition) {
        while (!condition()) {
            clock.fireDueTimers();
            if (condition()) return;
            const auto due = clock.nextDueMs();
            const std::int64_t wait =
                due ? std::clamp<std::int64_t>(*due - clock.nowMs(), 0, 5) : 5;
            std::this_thread::sleep_for(std::chrono::milliseconds(wait));
        }
    }
    void runFor(int ms) {
        const std::int64_t end = clock.nowMs() + ms;
        runUntil([&] { return clock.nowMs() >= end; });
    }
};

struct Summary {
    double min, p1, median, p99, max, mean;
};

Summary summarize(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    auto at = [&](double q) { return v[static_cast<std::size_t>(q * (v.size() - 1))]; };
    double sum = 0;
    for (double x : v) sum += x;
    return {v.front(), at(0.01), at(0.5), at(0.99), v.back(), sum / v.size()};
}

void print(const char* what, const Summary& s) {
    std::printf("%-34s min %8.2f  p1 %8.2f  median %8.2f  p99 %8.2f  max %8.2f  mean %8.2f\n", what,
                s.min, s.p1, s.median, s.p99, s.max, s.mean);
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::atoi(argv[1]) : 1000;
    Program p;
    p.startup->start();
    p.runFor(2000);
    auto& links = p.builder->links;
    auto& main = *p.startup->screens().main;
    main.ButtonNT.click();
    p.runUntil([&] { return p.app.activeScreen() == links.ZORkeuze; });
    links.ZORkeuze->ButtonFV.click();
    auto& entry = *links.entry;
    p.runUntil([&] { return p.app.activeScreen() == &entry; });
    auto type = [&](ui::Edit& edit, const std::string& text) {
        for (char c : text) {
            entry.ActiveControl = &edit;
            p.app.keyPress(static_cast<unsigned char>(c));
        }
    };
    type(entry.Ecode, "Bench01");
    entry.RGsekse.select(1);
    type(entry.Egebdag, "10");
    type(entry.Egebmnd, "06");
    type(entry.Egebjaar, "2002");
    type(entry.Eschool, "Bank");
    entry.ButtonST.click();
    p.runUntil([&] { return p.app.activeScreen() == links.FVin; });
    links.FVin->ButtonIO.click();
    auto& test = *links.FVtfase;
    p.runUntil([&] { return p.app.activeScreen() == &test; });

    std::mt19937 random(20110305);
    std::uniform_int_distribution<int> answerMs(150, 650);
    std::vector<double> startLagMs, storedMinusTrueTenths;
    int offByMoreThanATenth = 0;
    for (int run = 0; run < runs; ++run) {
        auto& record = entry.Afname;
        if (record.CurrentStepFV > administration::TFVtfase::kItems) {
            record.CurrentStepFV = 1;
            test.ResetTestScreen();
        }
        p.app.keyPress(U' ');
        const auto prompt = p.sounds.plays().back();
        p.runUntil([&] { return test.Chrono.ChronoOn; });
        const auto started = std::chrono::steady_clock::now();
        startLagMs.push_back(
            static_cast<double>(p.clock.nowMs() - (prompt.startMs + prompt.durationMs)));
        const int answer = answerMs(random);
        p.runUntil([&] {
            return std::chrono::steady_clock::now() - started >= std::chrono::milliseconds(answer);
        });
        p.app.keyPress(U' ');
        const double trueTenths =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count() * 10;
        const double stored = std::stod(test.TimeText);
        storedMinusTrueTenths.push_back(stored - trueTenths);
        if (std::fabs(stored - trueTenths) > 1.0) ++offByMoreThanATenth;
        p.app.keyPress(run % 2 ? U'g' : U'f');
    }
    std::printf("stopwatch runs: %d (prompt %d ms, answers 150..650 ms, real clock)\n", runs,
                kPromptMs);
    print("start lag after prompt end (ms)", summarize(startLagMs));
    print("stored minus true time (tenths)", summarize(storedMinusTrueTenths));
    const Summary lag = summarize(startLagMs);
    std::printf("start lag within 100..200 ms: %s; stored times off by more than a tenth: %d\n",
                lag.min >= 100 && lag.max <= 200 ? "yes" : "no", offByMoreThanATenth);
    return 0;
}
