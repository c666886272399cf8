// The program: full-screen picture screens on Qt, started by the shell.
#include <QApplication>
#include <QCoreApplication>

#include "shell/settings.h"
#include "ui/clock.h"
#include "ui/output_latency.h"
#include "ui/pulse/pulse_sound.h"
#include "zor/program.h"

int main(int argc, char** argv) {
    QApplication qapp(argc, argv);
    zor::ui::SystemClock clock;
    zor::shell::IniSettingsStore settings;
    zor::ui::pulse::PulseSoundSystem::Options soundOptions;
    soundOptions.latencyOverrideMs =
        zor::shell::AudioLatencyOverrideMs(settings, zor::ui::logToStderr);
    zor::ui::pulse::PulseSoundSystem sounds(clock, soundOptions);
    // The program folder is the executable's own: Graphics/ and Audio/ lie beside it.
    const std::string programFolder = QCoreApplication::applicationDirPath().toStdString() + "/";

    zor::app::Program program(clock, sounds, settings, programFolder);
    // A tool driving the program from outside learns where the controls are.
    if (const QByteArray layoutFile = qgetenv("ZOR_LAYOUT_FILE"); !layoutFile.isEmpty())
        program.dumpLayoutTo(layoutFile.toStdString());
    program.window().showOnDisplay();
    program.start();
    return qapp.exec();
}
