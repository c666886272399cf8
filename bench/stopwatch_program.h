#pragma once

// The program as the stopwatch benchmark (and the answer recordings' check
// on a sound server) runs it: the shell and the administration screens on the
// given clock and sounds, in a private program folder whose item prompts are
// tones of one known length, brought to the swap test screen of a new
// administration.
#include <filesystem>
#include <memory>

#include "administration/administration_screens.h"
#include "record/subject_entry_screen.h"
#include "shell/settings.h"
#include "shell/startup.h"
#include "ui/application.h"
#include "ui/pictures.h"
#include "ui/scripted_dialogs.h"

namespace zor::bench {

class StopwatchProgram {
  public:
    // The name under which the swap test screen creates its player.
    static constexpr const char* kPromptPlayer = "MP2";

    StopwatchProgram(ui::Clock& clock, ui::SoundSystem& sounds, int promptMs);
    ~StopwatchProgram();

    // Starts the program and registers a child up to the swap test screen,
    // running Qt's event loop on the way; with `recordAnswers` the entry
    // screen's recording box is ticked (it must be enabled).
    void startAdministration(bool recordAnswers = false);
    // After the last item, starts the items again.
    void offerNextItem();

    ui::Application& app() { return app_; }
    administration::TFVtfase& swapTest() { return *builder_->links.FVtfase; }
    record::TZORinvoer& entry() { return *builder_->links.entry; }
    const ui::ScriptedDialogs& dialogs() const { return dialogs_; }
    // The data folder (the "datapath" setting).
    std::filesystem::path dataFolder() const { return root_ / "data"; }

  private:
    ui::ScriptedDialogs dialogs_;
    ui::FilePictureSource pictures_;
    ui::Application app_;
    std::filesystem::path root_;
    std::unique_ptr<shell::IniSettingsStore> settings_;
    std::unique_ptr<administration::AdministrationScreenBuilder> builder_;
    std::unique_ptr<shell::Startup> startup_;
};

}  // namespace zor::bench
