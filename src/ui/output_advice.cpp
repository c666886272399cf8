#include "ui/output_advice.h"

namespace zor::ui {

const char* const OutputAdvice::kTitle = "Geluid";
const char* const OutputAdvice::kLostOutputText =
    "Het geluidsapparaat is tijdens het afspelen weggevallen of gewisseld. De afname gaat "
    "door; de volgende geluiden gaan naar het geluidsapparaat dat nu is ingesteld. "
    "Controleer of het kind de opdrachten goed hoort.";

std::string OutputAdvice::highLatencyText(std::int64_t latencyMs) {
    return "Het geluid komt " + std::to_string(latencyMs) +
           " ms vertraagd uit de luidsprekers of koptelefoon. Zo'n vertraging komt vaak voor "
           "bij draadloze (Bluetooth) apparaten. Gebruik bij voorkeur bedrade luidsprekers of "
           "een bedrade koptelefoon. De afname gaat door.";
}

// A player of the wrapped system whose plays and mode reads pass the advice.
class AdvisedPlayer : public SoundPlayer {
  public:
    AdvisedPlayer(OutputAdvice& advice, std::unique_ptr<SoundPlayer> inner)
        : advice_(advice), inner_(std::move(inner)) {}
    ~AdvisedPlayer() override { advice_.forget(this); }

    void setFileName(const std::string& programPath) override { inner_->setFileName(programPath); }
    const std::string& fileName() const override { return inner_->fileName(); }
    void open() override { inner_->open(); }
    void play() override {
        advice_.check();
        advice_.showPending();
        inner_->play();
        advice_.played(this);
    }
    PlayerMode mode() const override {
        const PlayerMode mode = inner_->mode();
        advice_.check();
        return mode;
    }
    void close() override { inner_->close(); }
    std::optional<std::int64_t> outputLatencyMs() const override {
        return inner_->outputLatencyMs();
    }

  private:
    OutputAdvice& advice_;
    std::unique_ptr<SoundPlayer> inner_;
};

std::unique_ptr<SoundPlayer> OutputAdvice::createPlayer(const std::string& name) {
    return std::make_unique<AdvisedPlayer>(*this, inner_.createPlayer(name));
}

void OutputAdvice::beginAdministration() {
    inAdministration_ = true;
    latencyCheckOpen_ = true;
    played_.clear();
    lostTold_ = false;
    pending_.clear();
    inner_.takeOutputLost();  // a loss before this administration is no news in it
    inner_.beginAdministration();
}

void OutputAdvice::played(const SoundPlayer* player) {
    if (latencyCheckOpen_) played_.insert(player);
    check();
}

void OutputAdvice::check() {
    if (latencyCheckOpen_) {
        for (const SoundPlayer* player : played_) {
            if (auto latency = player->outputLatencyMs()) {
                latencyCheckOpen_ = false;
                played_.clear();
                if (*latency > kHighLatencyMs) pending_.push_back(highLatencyText(*latency));
                break;
            }
        }
    }
    if (inner_.takeOutputLost() && inAdministration_ && !lostTold_) {
        lostTold_ = true;
        pending_.push_back(kLostOutputText);
    }
}

void OutputAdvice::forget(const SoundPlayer* player) { played_.erase(player); }

void OutputAdvice::showPending() {
    auto notices = std::move(pending_);
    pending_.clear();
    for (const auto& text : notices)
        if (notify_) notify_(kTitle, text);
}

}  // namespace zor::ui
