#include "shell/placeholders.h"

namespace zor::shell {

PlaceholderScreen::PlaceholderScreen(ui::Application& app, MainMenu& main, std::string screenName)
    : ui::Screen(app, screenName), main_(main) {
    caption = screenName;
    Notice.caption = "Nog niet gebouwd: " + screenName;
    Notice.fontSize = 24;
    Notice.bold = true;
    Notice.color = 0xFFFFFF;
    BackButton.onClick = [this] { BackButtonClick(); };
}

void PlaceholderScreen::BackButtonClick() {
    main_.ClickSound();
    setModalResult(ui::ModalResult::Cancel);
    main_.ZORMainInitialize();
}

PlaceholderSubjectEntry::PlaceholderSubjectEntry(ui::Application& app, MainMenu& main)
    : PlaceholderScreen(app, main, "TZORinvoer"), MPGeg(app.sounds().createPlayer("MPGeg")) {}

void PlaceholderSubjectEntry::PlaySaved() {
    MPGeg->setFileName(main_.Pgmpath() + "Audio\\Save.wav");
    MPGeg->open();
    MPGeg->play();
}

ui::Screen& PlaceholderScreenBuilder::make(ShellScreens& shell, const std::string& screenName) {
    screens_.push_back(std::make_unique<PlaceholderScreen>(app_, *shell.main, screenName));
    return *screens_.back();
}

ui::Screen& PlaceholderScreenBuilder::createFWintro(ShellScreens& s) { return make(s, "TFWin"); }
ui::Screen& PlaceholderScreenBuilder::createFWtest(ShellScreens& s) { return make(s, "TFWtfase"); }
SubjectEntry& PlaceholderScreenBuilder::createSubjectEntry(ShellScreens& s) {
    auto entry = std::make_unique<PlaceholderSubjectEntry>(app_, *s.main);
    auto& ref = *entry;
    screens_.push_back(std::move(entry));
    return ref;
}
ui::Screen& PlaceholderScreenBuilder::createAfterFW(ShellScreens& s) { return make(s, "TAfterFW"); }
ui::Screen& PlaceholderScreenBuilder::createAfterFV(ShellScreens& s) { return make(s, "TAfterFV"); }
ui::Screen& PlaceholderScreenBuilder::createCorrection(ShellScreens& s) {
    return make(s, "Tcorrect");
}
ui::Screen& PlaceholderScreenBuilder::createFVtest(ShellScreens& s) { return make(s, "TFVtfase"); }
ui::Screen& PlaceholderScreenBuilder::createFVintro(ShellScreens& s) { return make(s, "TFVin"); }
ui::Screen& PlaceholderScreenBuilder::createFinish(ShellScreens& s) { return make(s, "TFinish"); }
ui::Screen& PlaceholderScreenBuilder::createReportPreview(ShellScreens& s) {
    return make(s, "TPP");
}
ui::Screen& PlaceholderScreenBuilder::createStoredReportViewer(ShellScreens& s) {
    return make(s, "TTRO");
}
ui::Screen& PlaceholderScreenBuilder::createSubtestChoice(ShellScreens& s) {
    return make(s, "TZORkeuze");
}

std::unique_ptr<PlaceholderProgram> startPlaceholderProgram(ui::Application& app,
                                                            const SettingsStore& settings,
                                                            std::string programFolder) {
    auto program = std::make_unique<PlaceholderProgram>(app, settings, std::move(programFolder));
    program->startup.start();
    return program;
}

}  // namespace zor::shell
