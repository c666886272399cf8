#include "ui/silent_sound.h"

#include <optional>

#include "ui/errors.h"
#include "ui/wav_pcm.h"

namespace zor::ui {

class SilentSoundPlayer : public SoundPlayer {
  public:
    SilentSoundPlayer(SilentSoundSystem& system, std::string name)
        : system_(system), name_(std::move(name)) {}

    void setFileName(const std::string& programPath) override { fileName_ = programPath; }
    const std::string& fileName() const override { return fileName_; }

    void open() override {
        close();
        const std::string& path = fileName_;
        auto duration = wavDurationMs(path);
        if (!duration) {
            throw FileLoadError(path, "Kan geluidsbestand \"" + path +
                                          "\" niet openen: het bestand ontbreekt of is "
                                          "geen WAV-bestand.");
        }
        openPath_ = path;
        durationMs_ = *duration;
        startMs_.reset();
    }

    void play() override {
        if (!openPath_) {
            throw FileLoadError(
                fileName_, "Het geluidsapparaat is niet geopend (bestand \"" + fileName_ + "\").");
        }
        startMs_ = system_.clock_.nowMs();
        system_.plays_.push_back({name_, *openPath_, *startMs_, durationMs_});
    }

    PlayerMode mode() const override {
        if (openPath_ && startMs_ && system_.clock_.nowMs() < *startMs_ + durationMs_)
            return PlayerMode::Playing;
        return PlayerMode::Stopped;
    }

    void close() override {
        openPath_.reset();
        startMs_.reset();
    }

  private:
    SilentSoundSystem& system_;
    std::string name_;
    std::string fileName_;
    std::optional<std::string> openPath_;
    std::int64_t durationMs_ = 0;
    std::optional<std::int64_t> startMs_;
};

std::unique_ptr<SoundPlayer> SilentSoundSystem::createPlayer(const std::string& name) {
    return std::make_unique<SilentSoundPlayer>(*this, name);
}

}  // namespace zor::ui
