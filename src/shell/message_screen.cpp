#include "shell/message_screen.h"

#include "folders/folders.h"

namespace zor::shell {

Tmessage::Tmessage(ui::Application& app, MainMenu& main, LaterScreens& later)
    : ui::Screen(app, "message"), main_(main), later_(later) {
    transparentColorEnabled = true;
    fade = ui::fades::Message;
    LatencyTimer.setInterval(1000);
    Panel.center = true;
}

void Tmessage::onShow() {
    Panel.load(folders::graphicsFolder(main_.Pgmpath()) / "Opgeslagen.gif");
    LatencyTimer.setInterval(1000);
    // Each notice stands for a full second, also when the previous one was
    // closed before its step came.
    PrevLatencyState = 0;
    Latency();
}

void Tmessage::LatencyStep() {
    // Closing comes first, so that a save sound that cannot be played does
    // not leave the notice standing.
    setModalResult(ui::ModalResult::Cancel);
    later_.ZORinvoer->PlaySaved();
}

}  // namespace zor::shell
