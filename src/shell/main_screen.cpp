#include "shell/main_screen.h"

#include "shell/about_box.h"
#include "folders/folders.h"
#include "ui/application.h"

namespace zor::shell {

namespace {
const char* const kExitQuestion = "Hiermee sluit u het ZOR-afnameprogramma. Doorgaan?";
}

TZORMAINForm::TZORMAINForm(ui::Application& app, const SettingsStore& settings,
                           std::filesystem::path programFolder, LaterScreens& later)
    : ui::Screen(app, "ZORMAINForm"),
      MP1(app.sounds().createPlayer("MP1")),
      FarewellTimer(app.clock(), 1000),
      settings_(settings),
      programFolder_(std::move(programFolder)),
      later_(later) {
    stayOnTop = true;
    Background.stretch = true;
    Label1.visible = false;
    Label1.fontSize = 27;
    Label1.bold = true;
    Label1.color = 0xFFFFFF;

    ButtonNT.onClick = [this] { ZORchoiceExecute(); };
    ButtonTH.onClick = [this] { ButtonTHClick(); };
    ButtonTRO.onClick = [this] { ButtonTROClick(); };
    ButtonExit.onClick = [this] { FileExit1Execute(); };
    About.onClick = [this] { HelpAbout1Execute(); };
    FarewellTimer.onTimer = [this] { farewellOver(); };

    auto exit = [this] { Exit1Click(); };
    PopupMenu1.items = {{"", "&Vorig formaat", "", false, {}},
                        {"", "&Minimaliseren", "", false, {}},
                        {"Exit1", "Sluiten", "Alt+F4", true, exit}};
    TaskBarMenu1.items = {{"", "&Vorig formaat", "", false, {}},
                          {"", "&Minimaliseren", "", false, {}},
                          {"Exit2", "&Sluiten", "Alt+F4", true, exit}};
}

std::filesystem::path TZORMAINForm::buttonPicture(std::string_view name) const {
    return folders::buttonPicture(pgmpath_, name);
}

std::filesystem::path TZORMAINForm::reportFolder() const { return reportFolderFrom(settings_); }

void TZORMAINForm::Formcreate() {
    icon = {true, 0, 1124, app().title};
    pgmpath_ = programFolder_;
    audiopath_ = folders::audioFolder(pgmpath_);
    Background.load(folders::graphicsFolder(pgmpath_) / "blk.jpg");
    ButtonExit.load(buttonPicture("BtnExit.gif"));
    About.load(buttonPicture("BtnInfo.gif"));
    stayOnTop = true;
    ZORMainInitialize();
}

void TZORMAINForm::ZORMainInitialize() {
    ButtonTRO.load(buttonPicture("BtnTROoff.gif"));
    ButtonTH.load(buttonPicture("BtnTHoff.gif"));
    ButtonNT.load(buttonPicture("BtnNToff.gif"));
    ButtonNT.enabled = true;
    ButtonTH.enabled = true;
    ButtonTRO.enabled = true;
    recomputeFolders();
    LatencyState = 0;
}

void TZORMAINForm::recomputeFolders() {
    pgmpath_ = programFolder_;
    datapath_ = dataFolderFrom(settings_);
    audiopath_ = folders::audioFolder(pgmpath_);
}

void TZORMAINForm::Formshow() {
    showInTaskbar = true;
    Background.load(folders::graphicsFolder(pgmpath_) / "ZORbckgr1.jpg");
    MenuAction = 0;
    LatencyState = 0;
    audiopath_ = folders::audioFolder(pgmpath_);
    // Before the menu is used, once: administrations a killed program left behind.
    if (!recoveryOffered_ && later_.ZORinvoer) {
        recoveryOffered_ = true;
        later_.ZORinvoer->OfferRecovery();
    }
}

void TZORMAINForm::FormDestroy() { icon.registered = false; }

void TZORMAINForm::ClickSound() {
    MP1->setFileName((audiopath_ / "start.wav").string());
    MP1->open();
    MP1->play();
    if (MP1->mode() == ui::PlayerMode::Stopped) MP1->close();
}

void TZORMAINForm::ZORchoiceExecute() {
    later_.ZORinvoer->ResetAfname();
    MenuAction = 1;
    resumeMode_ = 0;
    ButtonNT.load(buttonPicture("BtnNTon.gif"));
    ClickSound();
    Latency();
}

void TZORMAINForm::ButtonTHClick() {
    later_.ZORkeuze->Hide();
    later_.ZORinvoer->ResetAfname();
    MenuAction = 2;
    resumeMode_ = 1;
    ButtonTH.load(buttonPicture("BtnTHon.gif"));
    ClickSound();
    Latency();
}

void TZORMAINForm::ButtonTROClick() {
    MenuAction = 3;
    ButtonTRO.load(buttonPicture("BtnTROon.gif"));
    ClickSound();
    Latency();
}

void TZORMAINForm::LatencyStep() {
    switch (MenuAction) {
        case 1:
            later_.ZORkeuze->ShowModal();
            break;
        case 2: {
            ui::FileDialogRequest request;
            request.title = "Incomplete ZOR-afname openen en hervatten";
            request.initialDir = folders::incompleteFolder(datapath_);
            request.defaultExt = "zta";
            request.filter = "ZOR-afname *.zta|*.zta";
            request.hideReadOnly = true;
            request.noChangeDir = true;
            request.fileMustExist = true;
            if (auto file = app().dialogs().openFile(request)) {
                resumeFileName_ = *file;
                later_.ZORinvoer->screen().ShowModal();
            } else {
                resumeFileName_.clear();
                ZORMainInitialize();
            }
            break;
        }
        case 3: {
            auto restorePicture = [this] { ButtonTRO.load(buttonPicture("BtnTROoff.gif")); };
            try {
                later_.TRO->ShowModal([restorePicture](ui::ModalResult) { restorePicture(); });
            } catch (...) {
                restorePicture();
                throw;
            }
            break;
        }
        default:
            break;
    }
}

void TZORMAINForm::HelpAbout1Execute() {
    ClickSound();
    AboutBox->ShowModal();
}

void TZORMAINForm::FileExit1Execute() {
    if (FarewellTimer.enabled()) return;
    ClickSound();
    app().cursor = ui::Cursor::HourGlass;
    ButtonNT.visible = false;
    ButtonTH.visible = false;
    ButtonTRO.visible = false;
    ButtonExit.visible = false;
    About.visible = false;
    Label1.visible = true;
    Label1.transparent = true;
    Background.bounds = {0, 0, 800, 600};
    Background.load(folders::graphicsFolder(pgmpath_) / "ZORsplash.jpg");
    repaint();
    // The farewell shows for a second; the user interface stays responsive
    // meanwhile instead of blocking.
    FarewellTimer.setEnabled(true);
}

void TZORMAINForm::farewellOver() {
    FarewellTimer.setEnabled(false);
    Background.visible = false;
    setModalResult(ui::ModalResult::OK);
}

void TZORMAINForm::Exit1Click() {
    // The notification icon exists from the main screen's creation on; the
    // program can be ended once every screen exists.
    if (FarewellTimer.enabled() || !later_.complete()) return;
    ClickSound();
    if (app().dialogs().confirm(kExitQuestion, ui::ConfirmButtons::OKCancel) != ui::ModalResult::OK)
        return;
    closeAllAndSayFarewell();
}

bool TZORMAINForm::EndOnRequest() {
    if (!later_.complete()) return false;
    if (!FarewellTimer.enabled()) closeAllAndSayFarewell();
    return true;
}

void TZORMAINForm::closeAllAndSayFarewell() {
    for (ui::Screen* s :
         {later_.AfterFV, later_.AfterFW, later_.FWin, later_.FVin, later_.FWtfase, later_.FVtfase,
          &later_.ZORinvoer->screen(), later_.ZORkeuze, later_.Finish})
        s->Hide();
    Background.load(folders::graphicsFolder(pgmpath_) / "ZORsplash.jpg");
    later_.PP->Close();
    later_.TRO->Close();
    for (ui::Screen* s : {later_.Finish, later_.AfterFV, later_.AfterFW, later_.FWin, later_.FVin,
                          later_.FWtfase, later_.FVtfase, &later_.ZORinvoer->screen()})
        s->setModalResult(ui::ModalResult::Cancel);
    later_.ZORkeuze->setModalResult(ui::ModalResult::Abort);
    // Any other showing still open above the main screen (the correction
    // screen, the program information) ends as well, so that the program
    // really ends. The main screen's own showing ends after the farewell.
    for (ui::Screen* s : app().modalStack()) {
        if (s != this && s->modalResult() == ui::ModalResult::None)
            s->setModalResult(ui::ModalResult::Cancel);
    }
    FileExit1Execute();
}

void TZORMAINForm::TrayIconCallback(int mouseMessage) {
    if (mouseMessage == kRightButtonDown) PopupMenu1.popup();
}

void TZORMAINForm::onKeyDown(int& key, ui::Shift shift) {
    if (key == ui::keys::F4 && shift.alt) {
        key = 0;
        Exit1Click();
    }
}

}  // namespace zor::shell
