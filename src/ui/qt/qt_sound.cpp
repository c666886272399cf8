#include "ui/qt/qt_sound.h"

#include <QAudioDevice>
#include <QMediaDevices>

#include "ui/qt/qt_sound_player.h"

namespace zor::ui::qt {

QtSoundSystem::QtSoundSystem(Clock& clock) : clock_(clock), silent_(clock) {}

bool QtSoundSystem::outputAvailable() { return !QMediaDevices::audioOutputs().isEmpty(); }

std::unique_ptr<SoundPlayer> QtSoundSystem::createPlayer(const std::string& name) {
    if (!outputAvailable()) return silent_.createPlayer(name);
    return std::make_unique<QtSoundPlayer>(clock_);
}

}  // namespace zor::ui::qt
