#pragma once

#include <memory>
#include <optional>
#include <string>

#include <QAudio>
#include <QObject>
#include <QTimer>

#include "ui/clock.h"
#include "ui/qt/prompt_timeline.h"
#include "ui/wav_pcm.h"
#include "ui/sound.h"

class QAudioSink;
class QIODevice;

namespace zor::ui::qt {

// One player on a Qt audio sink. The whole sound goes to the sink at once
// (the sink's buffer is sized to hold it), so a busy user interface cannot
// starve the output; when the output takes less, the rest follows on a
// short timer. The mode follows a PromptTimeline.
class QtSoundPlayer : public QObject, public SoundPlayer {
public:
    explicit QtSoundPlayer(Clock& clock);
    ~QtSoundPlayer() override;

    void setFileName(const std::string& programPath) override { fileName_ = programPath; }
    const std::string& fileName() const override { return fileName_; }
    void open() override;
    void play() override;
    PlayerMode mode() const override;
    void close() override;

private:
    void feed();
    void onStateChanged(QAudio::State state);
    void releaseSink();

    Clock& clock_;
    std::string fileName_;
    std::optional<WavPcm> pcm_;
    PromptTimeline timeline_;
    QAudioSink* sink_ = nullptr;
    QIODevice* output_ = nullptr;
    std::size_t written_ = 0;
    QTimer feeder_;
};

}  // namespace zor::ui::qt
