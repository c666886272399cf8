#include "administration/introduction.h"

#include "administration/deletion_test.h"
#include "administration/pictures.h"
#include "administration/swap_test.h"
#include "ui/application.h"

namespace zor::administration {

namespace {

ui::Bounds imageBounds(int x, int firstY, int rowHeight, int row) {
    return {x, firstY + rowHeight * row, 40, 40};
}
ui::Bounds labelBounds(int x, int firstY, int rowHeight, int row) {
    return {x, firstY + rowHeight * row + 5, 300, 30};
}

}  // namespace

TIntroduction::TIntroduction(ui::Application& app, AdministrationLinks& links, Subtest subtest,
                             std::string name, std::string playerName, const Layout& l,
                             const std::array<std::string, kPromptCount>& texts)
    : ui::Screen(app, std::move(name)),
      Int1{*this, "Int1", imageBounds(l.imageX, l.firstY, l.rowHeight, 0)},
      Int2{*this, "Int2", imageBounds(l.imageX, l.firstY, l.rowHeight, 1)},
      Int3{*this, "Int3", imageBounds(l.imageX, l.firstY, l.rowHeight, 2)},
      Int4{*this, "Int4", imageBounds(l.imageX, l.firstY, l.rowHeight, 3)},
      int5{*this, "int5", imageBounds(l.imageX, l.firstY, l.rowHeight, 4)},
      Label1{*this, "Label1", labelBounds(l.labelX, l.firstY, l.rowHeight, 0), texts[0]},
      Label2{*this, "Label2", labelBounds(l.labelX, l.firstY, l.rowHeight, 1), texts[1]},
      Label3{*this, "Label3", labelBounds(l.labelX, l.firstY, l.rowHeight, 2), texts[2]},
      Label4{*this, "Label4", labelBounds(l.labelX, l.firstY, l.rowHeight, 3), texts[3]},
      Label5{*this, "Label5", labelBounds(l.labelX, l.firstY, l.rowHeight, 4), texts[4]},
      Timer(app.clock(), 1000),
      links_(links),
      subtest_(subtest),
      player_(app.sounds().createPlayer(playerName)),
      images_{&Int1, &Int2, &Int3, &Int4, &int5},
      labels_{&Label1, &Label2, &Label3, &Label4, &Label5} {
    fade = ui::fades::Introduction;
    Background.stretch = true;
    Timer.onTimer = [this] { TimerTick(); };
    for (int n = 1; n <= kPromptCount; ++n) {
        image(n).cursor = ui::Cursor::Hand;
        image(n).onClick = [this, n] { IntroClick(n); };
        label(n).onClick = [this, n] { IntroClick(n); };
        label(n).fontSize = 24;
        label(n).bold = true;
        label(n).color = 0xFFFF00;
        label(n).transparent = true;
    }
    ButtonIO.onClick = [this] { DoorgaanClick(); };
    ButtonOT.onClick = [this] { OnderbrekenClick(); };
}

void TIntroduction::ResetIntro() {
    LatencyState = 0;
    NotInterrupted = true;
    InstructionHeard = false;
    Timer.setEnabled(false);
    polledPrompt_ = 0;
    SetButtonPicture(ButtonIO, links_, "BtnIOoff.gif");
    SetButtonPicture(ButtonOT, links_, "BtnOToff.gif");
    setBigButtonsEnabled(true);
    for (int n = 1; n <= kPromptCount; ++n) SetButtonPicture(image(n), links_, kSpeakerOff);
    Int1.enabled = true;
    int5.enabled = true;
    int5.visible = true;
    Label1.enabled = true;
    for (int n = 2; n <= 4; ++n) {
        image(n).visible = false;
        label(n).enabled = false;
    }
    Label5.enabled = true;
}

void TIntroduction::OfferResume() { SetButtonPicture(ButtonIO, links_, "BtnTHred.gif"); }

void TIntroduction::onShow() {
    fade.enabled = true;
    SetPicture(Background, links_, subtest_ == Subtest::FW ? "FWintro.jpg" : "FVintro.jpg");
    audioFolder = SubtestAudioFolder(links_.main->Audiopath(), subtest_);
    Timer.setInterval(1000);
    Timer.setEnabled(false);
    Int1.enabled = true;
    Label1.enabled = true;
    setBigButtonsEnabled(true);
    SetButtonPicture(ButtonOT, links_, "BtnOToff.gif");
    if (ButtonIO.fileName().empty()) SetButtonPicture(ButtonIO, links_, "BtnIOoff.gif");
    for (int n = 1; n <= kPromptCount; ++n) {
        if (image(n).fileName().empty()) SetButtonPicture(image(n), links_, kSpeakerOff);
    }
}

void TIntroduction::onClose() { player_->close(); }

void TIntroduction::setBigButtonsEnabled(bool on) {
    ButtonOT.enabled = on;
    ButtonIO.enabled = on;
}

void TIntroduction::IntroClick(int prompt) {
    // The newest prompt and its poll win over one still playing.
    polledPrompt_ = prompt;
    Timer.setEnabled(true);
    SetButtonPicture(image(prompt), links_, kSpeakerOn);
    links_.main->ClickSound();
    PlayIntroPrompt(prompt);
}

void TIntroduction::PlayIntroPrompt(int prompt) {
    setBigButtonsEnabled(false);
    for (int n = 1; n < prompt; ++n) {
        image(n).enabled = false;
        label(n).enabled = false;
    }
    try {
        PlaySound(*player_, audioFolder / IntroPromptFile(subtest_, prompt));
    } catch (...) {
        // The prompt cannot sound: the screen goes back to where it was
        // before the click, so that the test leader can go on; the error is
        // reported by the program's error handling.
        Timer.setEnabled(false);
        polledPrompt_ = 0;
        SetButtonPicture(image(prompt), links_, kSpeakerOff);
        for (int n = 1; n < prompt; ++n) {
            image(n).enabled = true;
            label(n).enabled = true;
        }
        setBigButtonsEnabled(true);
        throw;
    }
}

void TIntroduction::TimerTick() {
    if (player_->mode() != ui::PlayerMode::Stopped) return;
    const int prompt = polledPrompt_;
    if (prompt < 1) {
        Timer.setEnabled(false);
        return;
    }
    // The speakers up to this prompt fall silent, also one whose prompt this
    // one cut short.
    for (int n = 1; n <= prompt; ++n) SetButtonPicture(image(n), links_, kSpeakerOff);
    if (prompt < kPromptCount) {
        for (int n = 1; n <= prompt; ++n) {
            image(n).enabled = true;
            label(n).enabled = true;
        }
        image(prompt + 1).visible = true;
        image(prompt + 1).enabled = true;
        label(prompt + 1).enabled = true;
    } else {
        for (int n = 1; n <= kPromptCount; ++n) {
            image(n).visible = true;
            image(n).enabled = true;
            label(n).enabled = true;
        }
        if (NotInterrupted) {
            SetButtonPicture(ButtonIO, links_, "BtnSTred.gif");
            InstructionHeard = true;
        } else {
            SetButtonPicture(ButtonIO, links_, "BtnTHred.gif");
        }
    }
    Timer.setEnabled(false);
    polledPrompt_ = 0;
    setBigButtonsEnabled(true);
}

void TIntroduction::DoorgaanClick() {
    PendingAction = kContinue;
    links_.main->ClickSound();
    const char* pressed = !NotInterrupted    ? "BtnTHon.gif"
                          : InstructionHeard ? "BtnSTon.gif"
                                             : "BtnIOon.gif";
    SetButtonPicture(ButtonIO, links_, pressed);
    setBigButtonsEnabled(false);
    prepareTestScreen();
    Latency();
}

void TIntroduction::OnderbrekenClick() {
    interruptOwnSubtest();
    PendingAction = kInterrupt;
    links_.main->ClickSound();
    SetButtonPicture(ButtonOT, links_, "BtnOTon.gif");
    setBigButtonsEnabled(false);
    links_.OfferContinue();
    links_.main->ZORMainInitialize();
    Latency();
}

void TIntroduction::LatencyStep() {
    player_->close();
    if (PendingAction == kContinue) {
        testScreen().ShowModal();
    } else if (PendingAction == kInterrupt) {
        setModalResult(ui::ModalResult::Cancel);
    }
}

// --- Phoneme deletion -------------------------------------------------------

TFWin::TFWin(ui::Application& app, AdministrationLinks& links)
    : TIntroduction(app, links, Subtest::FW, "FWin", "MP1", {280, 336, 123, 46},
                    {"Inleiding ", "maan", "pot", "fiets", "Instructie"}) {}

void TFWin::interruptOwnSubtest() { NotInterrupted = false; }

ui::Screen& TFWin::testScreen() { return *links_.FWtfase; }

// --- Phoneme swap -----------------------------------------------------------

TFVin::TFVin(ui::Application& app, AdministrationLinks& links)
    : TIntroduction(app, links, Subtest::FV, "FVin", "MP2", {264, 320, 128, 46},
                    {"Inleiding", "vb1 - 'Piet Bos'", "vb2 - '[K]ees [D]ijk'",
                     "vb3 - '[L]ies [M]ol'", "Instructie"}) {}

void TFVin::prepareTestScreen() {
    auto& test = *links_.FVtfase;
    SetButtonPicture(test.ButtonOT, links_, "BtnOToff.gif");
    test.ButtonOT.enabled = true;
}

ui::Screen& TFVin::testScreen() { return *links_.FVtfase; }

}  // namespace zor::administration
