// Starts the program as `zor` does (offscreen, real clock) and measures the
// way to the idle main menu: the splash screen's wait, the loading screen's
// ticks and everything else, and the peak memory with every screen created.
// ZOR_BENCH_T0_NS: the wall-clock time (ns) at which the script started the
// process, so the time before main() counts too.
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include <QApplication>
#include <QCoreApplication>
#include <QTimer>

#include "shell/main_screen.h"
#include "shell/settings.h"
#include "ui/clock.h"
#include "ui/pulse/pulse_sound.h"
#include "zor/program.h"

namespace {
double wallMs() {
    using namespace std::chrono;
    return duration<double, std::milli>(system_clock::now().time_since_epoch()).count();
}
}  // namespace

int main(int argc, char** argv) {
    const double mainEntered = wallMs();
    const char* t0env = std::getenv("ZOR_BENCH_T0_NS");
    const double processStart = t0env ? std::strtod(t0env, nullptr) / 1e6 : mainEntered;

    QApplication qapp(argc, argv);
    const double qtReady = wallMs();
    zor::ui::SystemClock clock;
    zor::ui::pulse::PulseSoundSystem sounds(clock);
    zor::shell::IniSettingsStore settings;
    const std::string folder = QCoreApplication::applicationDirPath().toStdString() + "/";
    zor::app::Program program(clock, sounds, settings, folder);
    program.window().showOnDisplay();
    const double programReady = wallMs();

    double splashArmed = 0, splashTick = 0, loaderFirstTick = 0, loaderLastTick = 0;
    double mainActive = 0;
    int loaderTicks = 0;
    double tickWork = 0;  // time spent inside the loading screen's ticks
    double splashTickWork = 0;  // creating the first screens
    double lastTickWork = 0;    // the last tick: the last screens and the main menu
    auto& app = program.app();
    auto wrapped = clock.tickWrapper;
    clock.tickWrapper = [&](const std::function<void()>& tick) {
        auto& screens = program.screens();
        const double before = wallMs();
        const bool splashPhase = !screens.main;
        const bool loaderPhase = screens.loader && screens.loader->showingModally();
        if (splashPhase && splashTick == 0) splashTick = before;
        if (loaderPhase) {
            if (loaderFirstTick == 0) loaderFirstTick = before;
            loaderLastTick = before;
            ++loaderTicks;
        }
        wrapped(tick);
        if (loaderPhase) tickWork += wallMs() - before;
        if (loaderPhase) lastTickWork = wallMs() - before;
        if (splashPhase && splashTickWork == 0) splashTickWork = wallMs() - before;
        if (mainActive == 0 && screens.main && app.activeScreen() == screens.main.get()) {
            mainActive = wallMs();
            // Idle once the events queued by start-up (drawing) are done.
            QTimer::singleShot(0, [&] {
                const double idle = wallMs();
                rusage usage{};
                getrusage(RUSAGE_SELF, &usage);
                const double total = idle - processStart;
                const double splashWait = splashTick - splashArmed;
                const double loaderSpan = loaderLastTick - loaderFirstTick;
                std::printf(
                    "total_ms=%.1f process_to_main_ms=%.1f splash_wait_ms=%.1f "
                    "loader_ticks=%d loader_span_ms=%.1f everything_else_ms=%.1f "
                    "loader_tick_work_ms=%.1f qt_init_ms=%.1f program_ms=%.1f start_ms=%.1f "
                    "first_screens_ms=%.1f last_screens_ms=%.1f idle_after_ms=%.1f "
                    "cpu_ms=%.1f peak_rss_mb=%.1f screens=%zu\n",
                    total, mainEntered - processStart, splashWait, loaderTicks, loaderSpan,
                    total - splashWait - loaderSpan, tickWork, qtReady - mainEntered,
                    programReady - qtReady, splashArmed - programReady, splashTickWork,
                    lastTickWork, idle - mainActive,
                    (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000.0 +
                        (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000.0,
                    usage.ru_maxrss / 1024.0,
                    app.screens().size());
                std::fflush(stdout);
                QCoreApplication::exit(0);
            });
        }
    };
    program.start();
    splashArmed = wallMs();
    return qapp.exec();
}
