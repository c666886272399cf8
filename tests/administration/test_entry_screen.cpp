#include "test_entry_screen.h"

#include <stdexcept>

#include "record/administration_files.h"
#include "ui/application.h"
#include "ui/native_path.h"

namespace zor::administration::testing {

TestEntryScreen::TestEntryScreen(ui::Application& app, shell::ShellScreens& shell,
                                 AdministrationLinks& links, AdministrationFlow& flow)
    : ui::Screen(app, "ZORinvoer"),
      MPGeg(app.sounds().createPlayer("MPGeg")),
      shell_(shell),
      links_(links),
      flow_(flow) {}

void TestEntryScreen::onShow() {
    const auto today = std::chrono::floor<std::chrono::days>(app().clock().wallNow());
    const std::chrono::year_month_day ymd{today};
    record_.AfnameDate = {int(ymd.year()), int(unsigned(ymd.month())), int(unsigned(ymd.day()))};
    record_.ShowAfnameDate();
    if (links_.main->ResumeMode() == 1) {
        auto result = record::ResumeFromFiles(record_, links_.main->ResumeFileName(),
                                              ui::nativePath(links_.main->Datapath()));
        if (result.outcome != record::ResumeResult::Outcome::kResumed)
            throw std::runtime_error("Hervatten mislukt: " + result.message);
        record_.SubjectValid = record_.MayContinue();
    }
}

void TestEntryScreen::ResetAfname() {
    record_.ResetAfname();
    flow_.ResetScreens();
    continueOffered = false;
}

void TestEntryScreen::PlaySaved() {
    MPGeg->setFileName(links_.main->Pgmpath() + "Audio\\Save.wav");
    MPGeg->open();
    MPGeg->play();
}

void TestEntryScreen::PlayClick() {
    MPGeg->setFileName(links_.main->Pgmpath() + "Audio\\start.wav");
    MPGeg->open();
    MPGeg->play();
}

void TestEntryScreen::Opslaan1Click(std::function<void()> then) {
    if (int row = record_.FindSubjectRow(record_.Ecode); row > 0) record_.ReplaceDataLines(row);
    if (record_.Ecode.empty() || !record_.SubjectValid) {
        if (then) then();
        return;
    }
    if (auto error =
            record::WriteAdministrationFiles(record_, ui::nativePath(links_.main->Datapath())))
        throw std::runtime_error(error->message);
    statusAtSaves.push_back(record_.AfnameStatus);
    shell_.message->ShowModal([then](ui::ModalResult) {
        if (then) then();
    });
}

void TestEntryScreen::Start() {
    flow_.PrepareNewAdministration();
    record_.Ecode = "Jan01";
    record_.RGsekse = record::Sex::Meisje;
    record_.Egebdag = "10";
    record_.Egebmnd = "06";
    record_.Egebjaar = "2002";
    record_.Eschool = "De Regenboog";
    record_.Egroep = "4";
    record_.Etl = "M. de Vries";
    if (!record_.MayContinue()) throw std::logic_error("invalid test subject");
    record_.AfnameKey = record_.SubjectKey();
    record_.MemoCom = {record_.AfnameKey, "0"};
    record_.AppendDataLines();
    flow_.StartChosenSubtest();
}

bool TestEntryScreen::Continue() {
    flow_.PrepareContinue();
    return flow_.ContinueAdministration();
}

}  // namespace zor::administration::testing
