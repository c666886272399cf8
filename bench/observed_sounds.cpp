#include "observed_sounds.h"

#include "pulse_monitor.h"

namespace zor::bench {

namespace {

class ObservedPlayer : public ui::SoundPlayer {
  public:
    ObservedPlayer(std::unique_ptr<ui::SoundPlayer> inner, ObservedSounds::Observation& seen)
        : inner_(std::move(inner)), seen_(seen) {}

    void setFileName(const std::string& path) override { inner_->setFileName(path); }
    const std::string& fileName() const override { return inner_->fileName(); }
    void open() override { inner_->open(); }
    void play() override {
        seen_ = {nowNs(), 0, 0};
        inner_->play();
    }
    ui::PlayerMode mode() const override {
        const ui::PlayerMode mode = inner_->mode();
        if (seen_.playNs != 0 && seen_.stoppedSeenNs == 0) {
            (mode == ui::PlayerMode::Stopped ? seen_.stoppedSeenNs : seen_.lastPlayingSeenNs) =
                nowNs();
        }
        return mode;
    }
    void close() override { inner_->close(); }

  private:
    std::unique_ptr<ui::SoundPlayer> inner_;
    ObservedSounds::Observation& seen_;
};

}  // namespace

std::unique_ptr<ui::SoundPlayer> ObservedSounds::createPlayer(const std::string& name) {
    return std::make_unique<ObservedPlayer>(inner_.createPlayer(name), observed_[name]);
}

ObservedSounds::Observation ObservedSounds::observed(const std::string& playerName) const {
    const auto it = observed_.find(playerName);
    return it == observed_.end() ? Observation{} : it->second;
}

}  // namespace zor::bench
