#include "stand_in_screens.h"

namespace zor::shell::testing {

StandInSubjectEntry::StandInSubjectEntry(ui::Application& app, MainMenu& main)
    : ui::Screen(app, "TZORinvoer"), MPGeg(app.sounds().createPlayer("MPGeg")), main_(main) {}

void StandInSubjectEntry::PlaySaved() {
    MPGeg->setFileName((main_.Pgmpath() / "Audio" / "Save.wav").string());
    MPGeg->open();
    MPGeg->play();
}

ui::Screen& StandInScreenBuilder::make(const std::string& screenName) {
    screens_.push_back(std::make_unique<ui::Screen>(app_, screenName));
    return *screens_.back();
}

ui::Screen& StandInScreenBuilder::createFWintro(ShellScreens&) { return make("TFWin"); }
ui::Screen& StandInScreenBuilder::createFWtest(ShellScreens&) { return make("TFWtfase"); }
SubjectEntry& StandInScreenBuilder::createSubjectEntry(ShellScreens& shell) {
    auto entry = std::make_unique<StandInSubjectEntry>(app_, *shell.main);
    auto& ref = *entry;
    screens_.push_back(std::move(entry));
    return ref;
}
ui::Screen& StandInScreenBuilder::createAfterFW(ShellScreens&) { return make("TAfterFW"); }
ui::Screen& StandInScreenBuilder::createAfterFV(ShellScreens&) { return make("TAfterFV"); }
ui::Screen& StandInScreenBuilder::createCorrection(ShellScreens&) { return make("Tcorrect"); }
ui::Screen& StandInScreenBuilder::createFVtest(ShellScreens&) { return make("TFVtfase"); }
ui::Screen& StandInScreenBuilder::createFVintro(ShellScreens&) { return make("TFVin"); }
ui::Screen& StandInScreenBuilder::createFinish(ShellScreens&) { return make("TFinish"); }
ui::Screen& StandInScreenBuilder::createReportPreview(ShellScreens&) { return make("TPP"); }
ui::Screen& StandInScreenBuilder::createStoredReportViewer(ShellScreens&) { return make("TTRO"); }
ui::Screen& StandInScreenBuilder::createSubtestChoice(ShellScreens&) { return make("TZORkeuze"); }

}  // namespace zor::shell::testing
