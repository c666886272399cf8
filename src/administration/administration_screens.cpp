#include "administration/administration_screens.h"

namespace zor::administration {

AdministrationScreenBuilder::AdministrationScreenBuilder(ui::Application& app) : app_(app) {}

ui::Screen& AdministrationScreenBuilder::createFWintro(shell::ShellScreens& shell) {
    links.shell = &shell;
    links.main = shell.main.get();
    return keep(std::make_unique<TFWin>(app_, links), links.FWin);
}

ui::Screen& AdministrationScreenBuilder::createFWtest(shell::ShellScreens&) {
    return keep(std::make_unique<TFWtfase>(app_, links), links.FWtfase);
}

shell::SubjectEntry& AdministrationScreenBuilder::createSubjectEntry(shell::ShellScreens& shell) {
    auto entry = std::make_unique<record::TZORinvoer>(app_, shell, flow);
    links.entry = entry.get();
    owned_.push_back(std::move(entry));
    return *links.entry;
}

ui::Screen& AdministrationScreenBuilder::createAfterFW(shell::ShellScreens&) {
    return keep(std::make_unique<TFWaft>(app_, links), links.FWaft);
}

ui::Screen& AdministrationScreenBuilder::createAfterFV(shell::ShellScreens&) {
    return keep(std::make_unique<TFVaft>(app_, links), links.FVaft);
}

ui::Screen& AdministrationScreenBuilder::createFVtest(shell::ShellScreens&) {
    return keep(std::make_unique<TFVtfase>(app_, links), links.FVtfase);
}

ui::Screen& AdministrationScreenBuilder::createFVintro(shell::ShellScreens&) {
    return keep(std::make_unique<TFVin>(app_, links), links.FVin);
}

ui::Screen& AdministrationScreenBuilder::createFinish(shell::ShellScreens&) {
    return keep(std::make_unique<TZORfinish>(app_, links), links.Finish);
}

ui::Screen& AdministrationScreenBuilder::createSubtestChoice(shell::ShellScreens&) {
    return keep(std::make_unique<TZORkeuze>(app_, links), links.ZORkeuze);
}

}  // namespace zor::administration
