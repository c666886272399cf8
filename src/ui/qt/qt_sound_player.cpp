#include "ui/qt/qt_sound_player.h"

#include <algorithm>

#include <QAudioFormat>
#include <QAudioSink>
#include <QAudioDevice>
#include <QMediaDevices>

#include "ui/errors.h"
#include "ui/native_path.h"

namespace zor::ui::qt {

namespace {
constexpr int kFeedIntervalMs = 10;

QAudioFormat formatOf(const WavPcm& pcm) {
    QAudioFormat format;
    format.setChannelCount(pcm.channels);
    format.setSampleRate(pcm.sampleRate);
    if (pcm.isFloat) {
        format.setSampleFormat(QAudioFormat::Float);
    } else if (pcm.bitsPerSample == 8) {
        format.setSampleFormat(QAudioFormat::UInt8);
    } else if (pcm.bitsPerSample == 16) {
        format.setSampleFormat(QAudioFormat::Int16);
    } else {
        format.setSampleFormat(QAudioFormat::Int32);
    }
    return format;
}
}  // namespace

QtSoundPlayer::QtSoundPlayer(Clock& clock) : clock_(clock) {
    feeder_.setTimerType(Qt::PreciseTimer);
    feeder_.setInterval(kFeedIntervalMs);
    connect(&feeder_, &QTimer::timeout, this, [this] { feed(); });
}

QtSoundPlayer::~QtSoundPlayer() { releaseSink(); }

void QtSoundPlayer::open() {
    close();
    const std::string path = nativePath(fileName_);
    auto pcm = readWavPcm(path);
    if (!pcm) {
        throw FileLoadError(path, "Kan geluidsbestand \"" + path +
                                      "\" niet openen: het bestand ontbreekt of is geen "
                                      "bruikbaar WAV-bestand.");
    }
    pcm_ = std::move(pcm);
    timeline_ = PromptTimeline(pcm_->durationMs());
}

void QtSoundPlayer::play() {
    if (!pcm_) {
        const std::string path = nativePath(fileName_);
        throw FileLoadError(path, "Het geluidsapparaat is niet geopend (bestand \"" + path + "\").");
    }
    releaseSink();
    timeline_.playRequested(clock_.nowMs());

    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    const QAudioFormat format = formatOf(*pcm_);
    // Without samples, a device or a format the device takes, the prompt is
    // timed as a silent one.
    if (pcm_->data.empty() || device.isNull() || !device.isFormatSupported(format)) {
        timeline_.failed(clock_.nowMs());
        return;
    }
    sink_ = new QAudioSink(device, format, this);
    sink_->setBufferSize(qsizetype(std::max<std::size_t>(pcm_->data.size(), 4096)));
    connect(sink_, &QAudioSink::stateChanged, this,
            [this](QAudio::State state) { onStateChanged(state); });
    output_ = sink_->start();
    if (!output_ || sink_->error() != QAudio::NoError) {
        timeline_.failed(clock_.nowMs());
        releaseSink();
        return;
    }
    feed();
}

void QtSoundPlayer::feed() {
    if (!sink_ || !output_) return;
    const std::size_t remaining = pcm_->data.size() - written_;
    const std::size_t room = std::size_t(std::max<qsizetype>(0, sink_->bytesFree()));
    const std::size_t chunk = std::min(remaining, room);
    if (chunk > 0) {
        const qint64 n = output_->write(pcm_->data.data() + written_, qint64(chunk));
        if (n < 0 || sink_->error() == QAudio::FatalError || sink_->error() == QAudio::IOError) {
            timeline_.failed(clock_.nowMs());
            feeder_.stop();
            return;
        }
        // The output has taken the start of the sound: from here it plays.
        // The whole sound goes over at once, so no buffer of ours lies
        // between it and the device; Qt reports no further output latency.
        if (n > 0 && written_ == 0) timeline_.startConfirmed(clock_.nowMs(), 0);
        written_ += std::size_t(n);
    }
    if (written_ < pcm_->data.size()) {
        if (!feeder_.isActive()) feeder_.start();
    } else {
        feeder_.stop();
    }
}

void QtSoundPlayer::onStateChanged(QAudio::State state) {
    if (!sink_) return;
    const QAudio::Error error = sink_->error();
    if (state == QAudio::StoppedState && error != QAudio::NoError) {
        timeline_.failed(clock_.nowMs());
    } else if (state == QAudio::IdleState && pcm_ && written_ >= pcm_->data.size()) {
        timeline_.backendEnded(clock_.nowMs());
    }
}

PlayerMode QtSoundPlayer::mode() const { return timeline_.mode(clock_.nowMs()); }

void QtSoundPlayer::close() {
    releaseSink();
    pcm_.reset();
    timeline_.stop();
}

void QtSoundPlayer::releaseSink() {
    feeder_.stop();
    written_ = 0;
    output_ = nullptr;
    if (!sink_) return;
    QAudioSink* sink = std::exchange(sink_, nullptr);
    sink->disconnect(this);
    sink->stop();
    // Deleting a sink runs pending events; that must not happen inside a
    // screen's handler, so the sink goes when the event loop next runs.
    sink->deleteLater();
}

}  // namespace zor::ui::qt
