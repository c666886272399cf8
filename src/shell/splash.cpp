#include "shell/splash.h"

#include "folders/folders.h"
#include "ui/application.h"

namespace zor::shell {

TZORsplash::TZORsplash(ui::Application& app, std::filesystem::path pgmpath)
    : ui::Screen(app, "ZORsplash"), pgmpath_(std::move(pgmpath)) {
    Image1.stretch = true;
}

void TZORsplash::onShow() { Image1.load(folders::graphicsFolder(pgmpath_) / "ZORsplash.jpg"); }

TLoader::TLoader(ui::Application& app) : ui::Screen(app, "Loader"), Timer1(app.clock(), 1) {
    Label1.color = 0xFFFFFF;
    Label1.fontSize = 36;
    Label1.bold = true;
    ProgressBar1.smooth = true;
    Timer1.onTimer = [this] { Timer1Timer(); };
}

void TLoader::onShow() {
    Timer1Timer();
    Timer1.setEnabled(true);
}

void TLoader::Timer1Timer() {
    Label1.caption = "Laden... even geduld s.v.p.";
    if (ProgressBar1.position < 100) {
        ProgressBar1.stepIt();
    } else {
        Timer1.setEnabled(false);
        Close();
    }
}

}  // namespace zor::shell
