#include "zor/program.h"

#include <QIcon>
#include <QString>

#include "folders/folders.h"
#include "shell/main_screen.h"

namespace zor::app {

Program::Program(ui::Clock& clock, ui::SoundSystem& sounds, const shell::SettingsStore& settings,
                 std::filesystem::path programFolder)
    : sounds_(sounds,
              [this](const std::string& title, const std::string& text) {
                  dialogs_.message(title, text);
              }),
      app_(clock, dialogs_, pictures_, sounds_),
      window_(app_, pictures_),
      clockDriver_(clock),
      programFolder_(programFolder),
      printing_(&window_),
      builder_(app_, printing_, folders_),
      startup_(app_, settings, std::move(programFolder), builder_) {
    dialogs_.setParent(&window_);
    window_.addControlWidgets(previewPanels_);
    window_.addControlPainter(markChoosers_);
    const auto icon = folders::graphicsFolder(programFolder_) / "ZORlogo.jpg";
    window_.setWindowIcon(QIcon(QString::fromStdString(icon.string())));
    window_.afterEvent = [this] {
        updateNotificationIcon();
        if (layoutDump_) layoutDump_->write(window_);
    };
    // The task-bar menu opens with a right click on the bare backdrop.
    window_.onBackdropContextMenu = [this](QPoint) {
        if (auto* main = screens().main.get()) app_.runEvent([main] { main->TaskBarRightClick(); });
    };
}

Program::~Program() {
    window_.afterEvent = nullptr;
    // The displays show the screens' page stores, which go before the window.
    window_.releaseControlWidgets();
    icon_.reset();
}

void Program::start() { startup_.start(); }

void Program::dumpLayoutTo(const std::string& path) {
    layoutDump_ = std::make_unique<ui::qt::LayoutDump>(QString::fromStdString(path));
}

void Program::updateNotificationIcon() {
    shell::TZORMAINForm* main = screens().main.get();
    const bool registered = main && main->icon.registered;
    if (registered && !icon_) {
        icon_ = std::make_unique<ui::qt::NotificationIcon>(
            window_.windowIcon(), QString::fromStdString(main->icon.tip), [this, main] {
                app_.runEvent([main] { main->TrayIconCallback(shell::kRightButtonDown); });
            });
    } else if (!registered && icon_) {
        icon_.reset();
    }
}

}  // namespace zor::app
