// The program: full-screen picture screens on Qt, started by the shell.
#include <QApplication>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <cstring>
#include <iostream>

#include "folders/folders.h"
#include "shell/first_run.h"
#include "shell/main_screen.h"
#include "shell/settings.h"
#include "ui/clock.h"
#include "ui/output_latency.h"
#include "ui/pulse/pulse_recorder.h"
#include "ui/pulse/pulse_sound.h"
#include "zor/program.h"
#include "zor/stop_signals.h"

namespace {

constexpr int kExitSuccess = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

void PrintUsage(std::ostream& out) {
    out << "Gebruik: zor [--help | --version] [Qt-opties]\n"
           "Start het afnameprogramma. Bij de eerste start worden de datamap en de\n"
           "rapportmap en de instellingen datapath en trpath aangemaakt.\n";
}

// A message the test leader must see before the program can start: on the
// terminal and, on a real display, in a message box.
void ShowStartError(const std::string& message) {
    std::cerr << "zor: " << message << "\n";
    const QString platform = QGuiApplication::platformName();
    if (platform != "offscreen" && platform != "minimal")
        QMessageBox::critical(nullptr, "ZOR", QString::fromStdString(message));
}

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::cout << "zor " ZOR_VERSION "\n";
            return kExitSuccess;
        }
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            PrintUsage(std::cout);
            return kExitSuccess;
        }
    }
    QApplication qapp(argc, argv);
    for (int i = 1; i < argc; ++i) {  // what Qt left over is not an option of the program
        std::cerr << "zor: onbekend argument \"" << argv[i] << "\"\n";
        PrintUsage(std::cerr);
        return kExitUsage;
    }

    std::filesystem::path programFolder;
    try {
        // Graphics/ and Audio/ beside the executable (a build) or in ../share/zor (installed).
        programFolder = zor::folders::runningProgramFolder();
        zor::shell::prepareFirstRun();
    } catch (const std::exception& e) {
        ShowStartError(e.what());
        return kExitFailure;
    }

    zor::ui::SystemClock clock;
    zor::shell::IniSettingsStore settings;
    zor::ui::pulse::PulseSoundSystem::Options soundOptions;
    soundOptions.latencyOverrideMs =
        zor::shell::AudioLatencyOverrideMs(settings, zor::ui::logToStderr);
    zor::ui::pulse::PulseSoundSystem sounds(clock, soundOptions);
    // The microphone for answer recordings; it outlives the screens that record.
    zor::ui::pulse::PulseAnswerRecorder recorder(clock);
    zor::app::Program program(clock, sounds, settings, programFolder);
    program.app().setRecorder(recorder);
    // A tool driving the program from outside learns where the controls are.
    if (const QByteArray layoutFile = qgetenv("ZOR_LAYOUT_FILE"); !layoutFile.isEmpty())
        program.dumpLayoutTo(layoutFile.toStdString());
    // Asked to stop by the system, the program closes as its menu's "Sluiten" does.
    zor::app::StopSignals stopSignals([&program] {
        zor::shell::TZORMAINForm* main = program.screens().main.get();
        bool ending = false;
        if (main) program.app().runEvent([main, &ending] { ending = main->EndOnRequest(); });
        if (!ending) QCoreApplication::quit();
    });
    program.window().showOnDisplay();
    program.start();
    return qapp.exec();
}
