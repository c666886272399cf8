#include "shell/backdrop.h"

#include "shell/main_screen.h"
#include "ui/application.h"

namespace zor::shell {

TBackblack::TBackblack(ui::Application& app, TZORMAINForm& main)
    : ui::Screen(app, "Backblack"), main_(main) {
    fillsWorkArea = true;
}

void TBackblack::onActivate() {
    if (mainShown_) return;
    mainShown_ = true;
    main_.ShowModal([this](ui::ModalResult) {
        main_.Close();
        main_.FormDestroy();
        if (onMainClosed) onMainClosed();
        app().terminate();
    });
}

}  // namespace zor::shell
