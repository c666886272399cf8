// zor-tool geluidstest: plays the check tone through the program's own
// player and reports what the test leader's sound output does with it.
#include <chrono>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "command_line.h"
#include "folders/folders.h"
#include "shell/settings.h"
#include "subcommand.h"
#include "ui/clock.h"
#include "ui/errors.h"
#include "ui/pulse/pulse_sound.h"
#include "ui/wav_pcm.h"

namespace zor::tool {

int RunSoundCheck(const Arguments& arguments, std::ostream& out, std::ostream& err) {
    const Subcommand& command = *FindSubcommand("geluidstest");
    int status = kExitSuccess;
    const std::optional<CommandLine> line = ParseCommandLine(command, arguments, out, err, status);
    if (!line) return status;
    if (line->operands.size() > 1) return UsageError(command, "te veel argumenten", err);
    // The stopwatch beep is the check tone; another WAV file may be named.
    const std::string file =
        line->operands.empty()
            ? (folders::audioFolder(folders::runningProgramFolder()) / "Tstop.wav").string()
            : line->operands[0];
    const auto log = [&err](const std::string& text) {
        err << "zor-tool geluidstest: " << text << "\n";
    };
    const std::optional<std::int64_t> setting =
        shell::AudioLatencyOverrideMs(shell::IniSettingsStore(), log);

    ui::SystemClock clock;
    // The player's log lines from the connection wait until it is known
    // whether there is a server: without one this command says so itself
    // (the program's line would promise silent playing).
    std::vector<std::string> connectionLog;
    bool connecting = true;
    const auto playerLog = [&](const std::string& text) {
        if (connecting)
            connectionLog.push_back(text);
        else
            log(text);
    };
    // The server's own figure is shown; the setting, when present, is shown beside it.
    ui::pulse::PulseSoundSystem sounds(clock, {std::nullopt, playerLog, 2000, {}});
    connecting = false;
    if (sounds.connected())
        for (const std::string& text : connectionLog) log(text);
    if (!sounds.connected()) {
        err << "zor-tool geluidstest: geen geluidsserver bereikbaar (PulseAudio of PipeWire); "
               "er kan geen geluid worden afgespeeld\n";
        return kExitFailure;
    }
    const auto output = sounds.defaultOutput();
    if (!output) {
        err << "zor-tool geluidstest: de geluidsserver heeft geen geluidsuitvoer\n";
        return kExitFailure;
    }
    const auto pcm = ui::readWavPcm(file);
    auto player = sounds.createPlayer("geluidstest");
    player->setFileName(file);
    try {
        player->open();
    } catch (const ui::FileLoadError& e) {
        err << "zor-tool geluidstest: " << e.what() << "\n";
        return kExitFailure;
    }
    const std::uint64_t startedBefore = sounds.soundsStarted();
    const std::int64_t requested = clock.nowMs();
    player->play();
    std::optional<std::int64_t> latency;
    while (player->mode() != ui::PlayerMode::Stopped) {
        if (auto ms = player->outputLatencyMs()) latency = ms;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    const std::int64_t stopped = clock.nowMs();
    const bool played = sounds.soundsStarted() > startedBefore && !sounds.takeOutputLost();

    out << "uitvoer: " << output->device << "\n";
    out << "samplefrequentie: " << output->sampleRate << " Hz\n";
    out << "latentie: " << (latency ? std::to_string(*latency) + " ms" : "onbekend") << "\n";
    if (setting) out << "latentie-instelling: " << *setting << " ms\n";
    out << "geluid: " << file << "\n";
    out << "lengte: " << (pcm ? pcm->durationMs() : 0) << " ms\n";
    out << "gestopt-na: " << (stopped - requested) << " ms\n";
    out << "afgespeeld: " << (played ? "ja" : "nee") << "\n";
    player->close();
    if (!played) {
        err << "zor-tool geluidstest: de geluidsuitvoer heeft het geluid niet afgespeeld\n";
        return kExitFailure;
    }
    return kExitSuccess;
}

}  // namespace zor::tool
