#include "shell/startup.h"

namespace zor::shell {

Startup::Startup(ui::Application& app, const SettingsStore& settings,
                 std::filesystem::path programFolder, ScreenBuilder& builder)
    : app_(app),
      settings_(settings),
      programFolder_(std::move(programFolder)),
      builder_(builder),
      splashTimer_(app.clock(), 1000) {
    splashTimer_.onTimer = [this] {
        splashTimer_.setEnabled(false);
        createFirstScreens();
    };
}

void Startup::start() {
    app_.runEvent([this] {
        screens_.splash = std::make_unique<TZORsplash>(app_, programFolder_);
        app_.runEvent([this] { screens_.splash->Show(); });
        screens_.loader = std::make_unique<TLoader>(app_);
        screens_.splash->repaint();
        // The splash stands for a second before the screens are made.
        splashTimer_.setEnabled(true);
    });
}

void Startup::createFirstScreens() {
    app_.title = kApplicationTitle;
    screens_.main = std::make_unique<TZORMAINForm>(app_, settings_, programFolder_, screens_.later);
    screens_.main->caption = kApplicationTitle;
    // A picture that fails here is reported; start-up goes on.
    app_.runEvent([this] { screens_.main->Formcreate(); });
    screens_.about = std::make_unique<TAboutBox>(app_, *screens_.main);
    screens_.main->AboutBox = screens_.about.get();

    auto& later = screens_.later;
    later.FWin = &builder_.createFWintro(screens_);
    later.FWtfase = &builder_.createFWtest(screens_);
    later.ZORinvoer = &builder_.createSubjectEntry(screens_);
    later.AfterFW = &builder_.createAfterFW(screens_);
    later.AfterFV = &builder_.createAfterFV(screens_);
    later.Correct = &builder_.createCorrection(screens_);

    screens_.loader->ShowModal([this](ui::ModalResult) { createLastScreens(); });
}

void Startup::createLastScreens() {
    auto& later = screens_.later;
    later.FVtfase = &builder_.createFVtest(screens_);
    later.FVin = &builder_.createFVintro(screens_);
    later.Finish = &builder_.createFinish(screens_);
    later.PP = &builder_.createReportPreview(screens_);
    later.TRO = &builder_.createStoredReportViewer(screens_);
    screens_.message = std::make_unique<Tmessage>(app_, *screens_.main, later);
    later.ZORkeuze = &builder_.createSubtestChoice(screens_);
    screens_.backdrop = std::make_unique<TBackblack>(app_, *screens_.main);
    screens_.backdrop->onMainClosed = [this] { finish(); };
    // Visible from its creation and active at once: it carries the main menu.
    screens_.backdrop->Show();
}

void Startup::finish() { screens_.splash->Close(); }

}  // namespace zor::shell
