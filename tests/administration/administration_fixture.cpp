#include "administration_fixture.h"

#include <thread>

#include "ui/silent_sound.h"

namespace zor::administration::testing {

namespace fs = std::filesystem;

AdministrationFixture::AdministrationFixture(BuilderFactory makeBuilder,
                                             std::chrono::system_clock::time_point wallStart)
    : UiFixture{ui::VirtualClock{wallStart}, {}, {}},
      ownedBuilder(makeBuilder ? makeBuilder(app)
                               : std::make_unique<StandInReportScreenBuilder>(app)),
      builder(*ownedBuilder) {
    const fs::path assets = fs::path(ZOR_SOURCE_DIR) / "assets";
    fs::create_directories(program / "Graphics");
    for (const auto& entry : fs::directory_iterator(assets / "Graphics"))
        fs::create_symlink(entry.path(), program / "Graphics" / entry.path().filename());
    fs::create_symlink(assets / "Audio", program / "Audio");
    fs::create_directories(data / "Data");
    fs::create_directories(data / "Incomplete afnames");
    std::ofstream(settingsFile, std::ios::binary)
        << "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Lomba\\ZOR\\SETTINGS]\r\n"
        << "datapath=" << data.string() << "\r\n";
    startup = std::make_unique<shell::Startup>(app, settings, program.string() + "/", builder);
    startup->start();
    clock.advance(2000);
}

AdministrationFixture::~AdministrationFixture() {
    std::error_code ec;
    fs::remove_all(root, ec);
}

void AdministrationFixture::advanceUntil(const std::function<bool()>& condition, int stepMs,
                                         int limitMs) {
    for (int waited = 0; !condition(); waited += stepMs) {
        ASSERT_LT(waited, limitMs) << "condition not reached";
        clock.advance(stepMs);
    }
}

void AdministrationFixture::awaitStopwatch(TTestPhase& test) {
    advanceUntil([&] { return test.Chrono.ChronoOn; }, 1);
}

void AdministrationFixture::awaitMicrophoneCheck() {
    for (int polls = 0; entry().CBopnemen.hint == "Microfoon wordt gezocht…"; ++polls) {
        ASSERT_LT(polls, 10000) << "the microphone check never answered";
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        clock.advance(ui::MicrophoneCheck::kPollMs);
    }
}

void AdministrationFixture::openEntry(bool deletionFirst) {
    main().ButtonNT.click();
    clock.advance(500);
    ASSERT_EQ(app.activeScreen(), &keuze());
    (deletionFirst ? keuze().ButtonFW : keuze().ButtonFV).click();
    clock.advance(500);
    ASSERT_EQ(app.activeScreen(), &entry());
}

void AdministrationFixture::interruptAndGoHome(TTestPhase& test, TIntroduction& intro) {
    test.ButtonOT.click();
    clock.advance(500);
    ASSERT_EQ(app.activeScreen(), &intro);
    intro.ButtonOT.click();
    clock.advance(500);
    ASSERT_EQ(app.activeScreen(), &entry());
    entry().ButtonNP.click();
    clock.advance(1500);
    ASSERT_EQ(app.activeScreen(), &main());
}

void AdministrationFixture::startAdministration(bool deletionFirst) {
    openEntry(deletionFirst);
    if (::testing::Test::HasFatalFailure()) return;
    enterSubject();
    entry().ButtonST.click();
    clock.advance(500);
}

void AdministrationFixture::type(ui::Edit& edit, std::string_view text) {
    for (char c : text) {
        entry().ActiveControl = &edit;
        app.keyPress(static_cast<unsigned char>(c));
    }
}

void AdministrationFixture::enterSubject() {
    type(entry().Ecode, "Jan01");
    entry().RGsekse.select(0);
    type(entry().Egebdag, "10");
    type(entry().Egebmnd, "06");
    type(entry().Egebjaar, "2002");
    type(entry().Eschool, "De Regenboog");
    type(entry().Egroep, "4");
    type(entry().Etl, "M. de Vries");
}

void AdministrationFixture::passIntroduction(TIntroduction& intro) {
    ASSERT_EQ(app.activeScreen(), &intro);
    for (int n = 1; n <= TIntroduction::kPromptCount; ++n) {
        intro.image(n).click();
        advanceUntil([&] { return intro.ButtonIO.enabled; });
    }
    intro.ButtonIO.click();
    clock.advance(500);
}

void AdministrationFixture::deletionStep(int answerMs, bool right) {
    TFWtfase& test = fwTest();
    press(U' ');
    advanceUntil([&] { return test.BtnB.enabled; });
    press(U' ');
    awaitStopwatch(test);
    clock.advance(answerMs);
    press(U' ');
    press(right ? U'g' : U'f');
}

void AdministrationFixture::swapItem(int answerMs, bool right) {
    TFVtfase& test = fvTest();
    press(U' ');
    awaitStopwatch(test);
    clock.advance(answerMs);
    press(U' ');
    press(right ? U'g' : U'f');
}

void AdministrationFixture::finishSubtest(TTestPhase& test) {
    test.ButtonFinish.click();
    clock.advance(500);
    // The save notice stands for a second.
    clock.advance(1000);
}

int AdministrationFixture::countPlays(const std::string& fileEnd) const {
    int n = 0;
    for (const auto& play : sounds.plays()) n += play.nativePath.ends_with(fileEnd);
    return n;
}

std::string AdministrationFixture::savedStatus(const std::string& dataFileName) const {
    std::string line = fileText(dataFile(dataFileName));
    for (int field = 0; field < 13; ++field) line.erase(0, line.find(';') + 1);
    return line.substr(0, line.find_first_of(";\r"));
}

std::string AdministrationFixture::fileText(const fs::path& file) const {
    std::ifstream in(file, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace zor::administration::testing
