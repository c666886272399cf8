#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "report/report_services.h"
#include "shell/settings.h"
#include "shell/startup.h"
#include "ui/application.h"
#include "ui/qt/clock_driver.h"
#include "ui/qt/front_window.h"
#include "ui/qt/layout_dump.h"
#include "ui/qt/notification_icon.h"
#include "ui/output_advice.h"
#include "ui/qt/qt_dialogs.h"
#include "ui/qt/qt_pictures.h"
#include "zor/mark_chooser_painter.h"
#include "zor/preview_panel_widget.h"
#include "zor/program_screens.h"
#include "zor/qt_report_printing.h"

namespace zor::app {

// The running program: the screen runtime with Qt's dialogs and pictures,
// the front window, the clock on Qt's event loop, and the shell's start-up
// that creates every screen through the program's screen builder.
class Program {
  public:
    // `programFolder` holds Graphics/ and Audio/.
    Program(ui::Clock& clock, ui::SoundSystem& sounds, const shell::SettingsStore& settings,
            std::filesystem::path programFolder);
    ~Program();

    // Runs the start-up: the splash screen shows at once; the rest follows
    // on the clock.
    void start();

    // Keeps a description of the active screen's layout in `path` after
    // every event (see LayoutDump), for tools that drive the program.
    void dumpLayoutTo(const std::string& path);

    ui::Application& app() { return app_; }
    ui::qt::FrontWindow& window() { return window_; }
    shell::ShellScreens& screens() { return startup_.screens(); }

  private:
    // Keeps the notification icon in step with the main screen's registration.
    void updateNotificationIcon();

    ui::qt::QtPictureSource pictures_;
    ui::qt::QtDialogs dialogs_;
    // Tells the test leader about a slow or lost sound output.
    ui::OutputAdvice sounds_;
    ui::Application app_;
    ui::qt::FrontWindow window_;
    PreviewPanelWidgets previewPanels_;
    MarkChooserPainter markChoosers_{window_};
    ui::qt::ClockDriver clockDriver_;
    std::filesystem::path programFolder_;
    QtReportPrinting printing_;
    report::XdgFolderOpener folders_;
    ProgramScreenBuilder builder_;
    shell::Startup startup_;
    std::unique_ptr<ui::qt::NotificationIcon> icon_;
    std::unique_ptr<ui::qt::LayoutDump> layoutDump_;
};

}  // namespace zor::app
