#include "stopwatch_program.h"

#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <fstream>
#include <numbers>
#include <stdexcept>
#include <string>

#include "event_loop.h"
#include "record/subject_entry_screen.h"
#include "stand_in_report_screens.h"

namespace fs = std::filesystem;

namespace zor::bench {

namespace {

// Writes a 16-bit mono WAV of a 1 kHz tone that is audible up to its last
// sample, so the prompt's audible end is the end of the file as played.
void writeToneWav(const fs::path& path, int durationMs) {
    const std::uint32_t rate = 22050;
    const std::uint32_t samples = rate * std::uint32_t(durationMs) / 1000;
    const std::uint32_t dataSize = samples * 2;
    std::string out;
    auto le32 = [&](std::uint32_t v) {
        out += {char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
    };
    auto le16 = [&](std::uint16_t v) { out += {char(v), char(v >> 8)}; };
    out += "RIFF";
    le32(36 + dataSize);
    out += "WAVEfmt ";
    le32(16);
    le16(1);
    le16(1);
    le32(rate);
    le32(rate * 2);
    le16(2);
    le16(16);
    out += "data";
    le32(dataSize);
    for (std::uint32_t i = 0; i < samples; ++i) {
        // A quarter period in: the tone starts and ends at full swing.
        const double phase = 2 * std::numbers::pi * 1000 * (i + rate / 4000.0) / rate;
        le16(std::uint16_t(std::int16_t(std::lround(12000 * std::sin(phase)))));
    }
    std::ofstream(path, std::ios::binary) << out;
}

}  // namespace

StopwatchProgram::StopwatchProgram(ui::Clock& clock, ui::SoundSystem& sounds, int promptMs)
    : app_(clock, dialogs_, pictures_, sounds),
      root_(fs::temp_directory_path() / ("zor-stopwatch-bench-" + std::to_string(::getpid()))) {
    const fs::path assets = fs::path(ZOR_SOURCE_DIR) / "assets";
    fs::remove_all(root_);
    fs::create_directories(root_ / "program" / "Graphics");
    for (const auto& e : fs::directory_iterator(assets / "Graphics"))
        fs::create_symlink(e.path(), root_ / "program" / "Graphics" / e.path().filename());
    fs::create_directories(root_ / "program" / "Audio" / "FV");
    for (const char* name : {"start.wav", "Save.wav", "Tstop.wav"})
        fs::copy_file(assets / "Audio" / name, root_ / "program" / "Audio" / name);
    for (const auto& e : fs::directory_iterator(assets / "Audio" / "FV"))
        writeToneWav(root_ / "program" / "Audio" / "FV" / e.path().filename(), promptMs);
    fs::create_directories(root_ / "data" / "Data");
    fs::create_directories(root_ / "data" / "Incomplete afnames");
    std::ofstream(root_ / "settings.ini", std::ios::binary)
        << "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Lomba\\ZOR\\SETTINGS]\r\ndatapath="
        << (root_ / "data").string() << "\r\n";
    settings_ = std::make_unique<shell::IniSettingsStore>(root_ / "settings.ini");
    builder_ = std::make_unique<administration::testing::StandInReportScreenBuilder>(app_);
    startup_ = std::make_unique<shell::Startup>(app_, *settings_,
                                                (root_ / "program").string() + "/", *builder_);
}

StopwatchProgram::~StopwatchProgram() { fs::remove_all(root_); }

void StopwatchProgram::startAdministration(bool recordAnswers) {
    startup_->start();
    runEventsFor(2000);
    auto& links = builder_->links;
    startup_->screens().main->ButtonNT.click();
    runEventsUntil([&] { return app_.activeScreen() == links.ZORkeuze; });
    links.ZORkeuze->ButtonFV.click();
    auto& entry = *links.entry;
    runEventsUntil([&] { return app_.activeScreen() == &entry; });
    auto type = [&](ui::Edit& edit, const std::string& text) {
        for (char c : text) {
            entry.ActiveControl = &edit;
            app_.keyPress(static_cast<unsigned char>(c));
        }
    };
    type(entry.Ecode, "Bench01");
    entry.RGsekse.select(1);
    type(entry.Egebdag, "10");
    type(entry.Egebmnd, "06");
    type(entry.Egebjaar, "2002");
    type(entry.Eschool, "Bank");
    if (recordAnswers) {
        // The microphone check answers off the screens' thread, within its own time limit.
        runEventsUntil([&] {
            return entry.CBopnemen.enabled || entry.CBopnemen.hint.starts_with("Opnemen kan niet");
        });
        if (!entry.CBopnemen.enabled) throw std::runtime_error(entry.CBopnemen.hint);
        entry.CBopnemen.click();
    }
    entry.ButtonST.click();
    runEventsUntil([&] { return app_.activeScreen() == links.FVin; });
    links.FVin->ButtonIO.click();
    runEventsUntil([&] { return app_.activeScreen() == &swapTest(); });
}

void StopwatchProgram::offerNextItem() {
    auto& record = builder_->links.entry->Afname;
    if (record.CurrentStepFV > administration::TFVtfase::kItems) {
        record.CurrentStepFV = 1;
        swapTest().ResetTestScreen();
    }
}

}  // namespace zor::bench
