#include "ui/pulse/pulse_sound.h"

#include <pulse/pulseaudio.h>

#include <algorithm>
#include <chrono>
#include <thread>
#include <utility>

#include "ui/errors.h"
#include "ui/prompt_timeline.h"
#include "ui/wav_pcm.h"

namespace zor::ui::pulse {

namespace {

// The stream's buffer on the server when no PULSE_LATENCY_MSEC asks for
// another: the server sizes the output's own buffer to fit it, so sound
// starts soon after the request while a loaded machine still has time to
// feed it.
constexpr std::uint32_t kBufferMs = 80;
// The longest a query to the server may take.
constexpr int kQueryWaitMs = 2000;

std::int64_t steadyUs() {
    return std::chrono::duration_cast<std::chrono::microseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

std::optional<pa_sample_spec> sampleSpecOf(const WavPcm& pcm) {
    pa_sample_spec sampleSpec{};
    sampleSpec.rate = std::uint32_t(pcm.sampleRate);
    sampleSpec.channels = std::uint8_t(pcm.channels);
    if (pcm.isFloat && pcm.bitsPerSample == 32)
        sampleSpec.format = PA_SAMPLE_FLOAT32LE;
    else if (pcm.bitsPerSample == 8)
        sampleSpec.format = PA_SAMPLE_U8;
    else if (pcm.bitsPerSample == 16)
        sampleSpec.format = PA_SAMPLE_S16LE;
    else if (pcm.bitsPerSample == 32)
        sampleSpec.format = PA_SAMPLE_S32LE;
    else
        return std::nullopt;
    if (pcm.channels <= 0 || pcm.channels > int(PA_CHANNELS_MAX) || !pa_sample_spec_valid(&sampleSpec))
        return std::nullopt;
    return sampleSpec;
}

// Holds the main loop's lock for a scope.
class LoopLock {
  public:
    explicit LoopLock(pa_threaded_mainloop* loop) : loop_(loop) { pa_threaded_mainloop_lock(loop_); }
    ~LoopLock() { pa_threaded_mainloop_unlock(loop_); }
    LoopLock(const LoopLock&) = delete;
    LoopLock& operator=(const LoopLock&) = delete;

  private:
    pa_threaded_mainloop* loop_;
};

// With the lock held: waits, lock released meanwhile, until `done` holds or
// the time is up.
template <typename Done>
bool waitLocked(pa_threaded_mainloop* loop, int limitMs, Done done) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() >= until) return false;
        pa_threaded_mainloop_unlock(loop);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        pa_threaded_mainloop_lock(loop);
    }
    return true;
}

}  // namespace

// One player: one stream per played sound. Everything it shares with the
// client library's thread is touched with the main loop locked.
class PulsePlayer : public SoundPlayer, private OutputLatencySource {
  public:
    PulsePlayer(PulseSoundSystem& system, std::string name)
        : system_(system),
          name_(std::move(name)),
          latency_(system.options_.latencyOverrideMs, system.options_.log) {}
    ~PulsePlayer() override { close(); }

    void setFileName(const std::string& programPath) override { fileName_ = programPath; }
    const std::string& fileName() const override { return fileName_; }

    void open() override {
        close();
        const std::string& path = fileName_;
        auto pcm = readWavPcm(path);
        if (!pcm) {
            throw FileLoadError(path, "Kan geluidsbestand \"" + path +
                                          "\" niet openen: het bestand ontbreekt of is geen "
                                          "bruikbaar WAV-bestand.");
        }
        LoopLock lock(system_.loop_);
        pcm_ = std::move(pcm);
        timeline_ = PromptTimeline(pcm_->durationMs());
    }

    void play() override {
        LoopLock lock(system_.loop_);
        if (!pcm_) {
            const std::string& path = fileName_;
            throw FileLoadError(path,
                                "Het geluidsapparaat is niet geopend (bestand \"" + path + "\").");
        }
        releaseStream();
        const std::int64_t now = system_.clock_.nowMs();
        timeline_.playRequested(now);
        const auto sampleSpec = sampleSpecOf(*pcm_);
        // Without samples, a server or a format it takes, the sound is timed
        // as a silent one.
        if (pcm_->data.empty() || !sampleSpec || !system_.ensureContext()) {
            timeline_.failed(now);
            return;
        }
        spec_ = *sampleSpec;
        stream_ = pa_stream_new(system_.context_, name_.c_str(), &spec_, nullptr);
        if (!stream_) {
            timeline_.failed(now);
            return;
        }
        pa_stream_set_state_callback(stream_, &PulsePlayer::onState, this);
        pa_stream_set_write_callback(stream_, &PulsePlayer::onWrite, this);
        pa_stream_set_moved_callback(stream_, &PulsePlayer::onMoved, this);
        pa_buffer_attr attr;
        attr.maxlength = std::uint32_t(-1);
        attr.tlength = std::uint32_t(pa_usec_to_bytes(kBufferMs * PA_USEC_PER_MSEC, &spec_));
        attr.prebuf = std::uint32_t(-1);
        attr.minreq = std::uint32_t(-1);
        attr.fragsize = std::uint32_t(-1);
        const auto flags = pa_stream_flags_t(PA_STREAM_INTERPOLATE_TIMING |
                                             PA_STREAM_AUTO_TIMING_UPDATE |
                                             PA_STREAM_ADJUST_LATENCY);
        // No device named: the stream goes to the server's default output.
        if (pa_stream_connect_playback(stream_, nullptr, &attr, flags, nullptr, nullptr) < 0) {
            releaseStream();
            timeline_.failed(now);
        }
    }

    PlayerMode mode() const override {
        auto* self = const_cast<PulsePlayer*>(this);
        LoopLock lock(system_.loop_);
        const std::int64_t now = system_.clock_.nowMs();
        if (timeline_.started() && !timeline_.hasFailed() &&
            timeline_.mode(now) != PlayerMode::Stopped) {
            if (auto latency = self->latency_.read(*self)) {
                self->timeline_.latencyChanged(now, *latency);
                self->latencyRead_ = self->latency_.known();
                self->lastLatencyMs_ = *latency;
            }
        }
        return timeline_.mode(now);
    }

    void close() override {
        LoopLock lock(system_.loop_);
        releaseStream();
        pcm_.reset();
        timeline_.stop();
    }

    std::optional<std::int64_t> outputLatencyMs() const override {
        LoopLock lock(system_.loop_);
        if (!timeline_.started() || timeline_.hasFailed() || !latencyRead_) return std::nullopt;
        return timeline_.latencyMs();
    }

  private:
    // The output latency of the sound in this stream: when its last sample
    // will be heard, as the server's latency figure tells (the samples
    // queued on the server plus the output's own delay), less the sound's
    // duration from the first samples handed over.
    LatencyReading readLatency() override {
        if (!stream_ || pa_stream_get_state(stream_) != PA_STREAM_READY)
            return {LatencyReading::State::Unknown};
        pa_usec_t latency = 0;
        int negative = 0;
        const int result = pa_stream_get_latency(stream_, &latency, &negative);
        if (result == -PA_ERR_NODATA) return {LatencyReading::State::Pending};
        if (result < 0) return {LatencyReading::State::Unknown};
        const std::int64_t latencyUs = negative ? -std::int64_t(latency) : std::int64_t(latency);
        const std::int64_t writtenUs = std::int64_t(pa_bytes_to_usec(written_, &spec_));
        const std::int64_t foldedUs = (steadyUs() - firstWriteUs_) + latencyUs - writtenUs;
        return {LatencyReading::State::Known, (foldedUs + 999) / 1000};
    }

    void releaseStream() {
        written_ = 0;
        if (drain_) {
            pa_operation_cancel(drain_);
            pa_operation_unref(drain_);
            drain_ = nullptr;
        }
        draining_ = false;
        latencyRead_ = false;
        if (!stream_) return;
        pa_stream* stream = std::exchange(stream_, nullptr);
        pa_stream_set_state_callback(stream, nullptr, nullptr);
        pa_stream_set_write_callback(stream, nullptr, nullptr);
        pa_stream_set_moved_callback(stream, nullptr, nullptr);
        if (pa_stream_get_state(stream) == PA_STREAM_READY ||
            pa_stream_get_state(stream) == PA_STREAM_CREATING)
            pa_stream_disconnect(stream);
        pa_stream_unref(stream);
    }

    // Callbacks from the client library's thread (main loop locked).
    static void onWrite(pa_stream* stream, std::size_t bytes, void* self) {
        static_cast<PulsePlayer*>(self)->write(stream, bytes);
    }
    static void onState(pa_stream* stream, void* self) {
        static_cast<PulsePlayer*>(self)->stateChanged(stream);
    }
    static void onMoved(pa_stream* stream, void* self) {
        auto* player = static_cast<PulsePlayer*>(self);
        const char* device = pa_stream_get_device_name(stream);
        // The server moved the sound to another output (the one it played on
        // went away, or the user chose another): it plays on there, and the
        // test leader hears of it as of a lost output.
        player->system_.outputLost(std::string("het geluid gaat nu naar uitvoer ") +
                                   (device ? device : "?"));
    }

    void write(pa_stream* stream, std::size_t bytes) {
        if (stream != stream_ || !pcm_) return;
        const std::size_t frame = pa_frame_size(&spec_);
        std::size_t count = std::min(bytes, pcm_->data.size() - written_);
        count -= count % frame;
        if (count > 0) {
            if (pa_stream_write(stream, pcm_->data.data() + written_, count, nullptr, 0,
                                PA_SEEK_RELATIVE) < 0) {
                timeline_.failed(system_.clock_.nowMs());
                return;
            }
            if (written_ == 0) {
                // The server has the first samples: from here the sound plays.
                firstWriteUs_ = steadyUs();
                ++system_.soundsStarted_;
                std::int64_t latency = lastLatencyMs_;
                if (auto known = latency_.read(*this)) {
                    latency = *known;
                    latencyRead_ = latency_.known();
                }
                timeline_.startConfirmed(system_.clock_.nowMs(), latency, true);
            }
            written_ += count;
        }
        if (written_ + frame > pcm_->data.size() && !draining_) {
            // Everything is on the server: play it out even when it is
            // shorter than the buffer the server waits to fill.
            draining_ = true;
            drain_ = pa_stream_drain(stream, &PulsePlayer::onDrained, this);
        }
    }

    // The server has played the whole sound out of the stream; the output
    // still holds what its own latency says.
    static void onDrained(pa_stream* stream, int success, void* self) {
        auto* player = static_cast<PulsePlayer*>(self);
        if (stream != player->stream_ || !success) return;
        std::int64_t remainingMs = 0;
        if (const pa_timing_info* timing = pa_stream_get_timing_info(stream))
            remainingMs = std::int64_t((timing->sink_usec + 999) / 1000);
        player->timeline_.playedOut(player->system_.clock_.nowMs(), remainingMs);
    }

    void stateChanged(pa_stream* stream) {
        if (stream != stream_) return;
        const pa_stream_state_t state = pa_stream_get_state(stream);
        if (state == PA_STREAM_READY) {
            draining_ = false;
            return;
        }
        if (state != PA_STREAM_FAILED && state != PA_STREAM_TERMINATED) return;
        // The output went away: the sound ends on its own timing, as a
        // silent player would time it.
        const bool wasPlaying = timeline_.mode(system_.clock_.nowMs()) != PlayerMode::Stopped;
        timeline_.failed(system_.clock_.nowMs());
        const int error = pa_context_errno(system_.context_);
        if (wasPlaying)
            system_.outputLost(std::string("het geluid is afgebroken: ") + pa_strerror(error));
    }

    PulseSoundSystem& system_;
    std::string name_;
    std::string fileName_;
    std::optional<WavPcm> pcm_;
    pa_sample_spec spec_{};
    PromptTimeline timeline_;
    OutputLatency latency_;
    pa_stream* stream_ = nullptr;
    std::size_t written_ = 0;
    std::int64_t firstWriteUs_ = 0;
    std::int64_t lastLatencyMs_ = 0;
    bool draining_ = false;
    pa_operation* drain_ = nullptr;
    bool latencyRead_ = false;
};

PulseSoundSystem::PulseSoundSystem(Clock& clock, Options options)
    : clock_(clock), options_(std::move(options)) {
    if (!options_.log) options_.log = [](const std::string&) {};
    loop_ = pa_threaded_mainloop_new();
    pa_threaded_mainloop_start(loop_);
    LoopLock lock(loop_);
    startConnecting();
    waitLocked(loop_, options_.connectWaitMs, [this] {
        return !PA_CONTEXT_IS_GOOD(pa_context_get_state(context_)) ||
               pa_context_get_state(context_) == PA_CONTEXT_READY;
    });
    if (pa_context_get_state(context_) != PA_CONTEXT_READY) {
        options_.log("geen geluidsserver bereikbaar; geluiden worden stil afgespeeld");
        noServerLogged_ = true;
    }
}

PulseSoundSystem::~PulseSoundSystem() {
    {
        LoopLock lock(loop_);
        if (context_) {
            pa_context_set_state_callback(context_, nullptr, nullptr);
            pa_context_disconnect(context_);
            pa_context_unref(context_);
            context_ = nullptr;
        }
    }
    pa_threaded_mainloop_stop(loop_);
    pa_threaded_mainloop_free(loop_);
}

void PulseSoundSystem::startConnecting() {
    if (context_) {
        pa_context_set_state_callback(context_, nullptr, nullptr);
        pa_context_disconnect(context_);
        pa_context_unref(context_);
    }
    context_ = pa_context_new(pa_threaded_mainloop_get_api(loop_), "zor");
    pa_context_set_state_callback(
        context_,
        [](pa_context* context, void* self) {
            auto* system = static_cast<PulseSoundSystem*>(self);
            const pa_context_state_t state = pa_context_get_state(context);
            if (state == PA_CONTEXT_READY) {
                system->noServerLogged_ = false;
                system->contextReady_ = true;
            } else if ((state == PA_CONTEXT_FAILED || state == PA_CONTEXT_TERMINATED) &&
                       system->contextReady_) {
                system->contextReady_ = false;
                system->options_.log(std::string("verbinding met de geluidsserver verbroken: ") +
                                     pa_strerror(pa_context_errno(context)));
            }
        },
        this);
    // A server is never started for us: without one the program plays silently.
    pa_context_connect(context_, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr);
}

bool PulseSoundSystem::ensureContext() {
    const pa_context_state_t state = pa_context_get_state(context_);
    if (state == PA_CONTEXT_READY) return true;
    if (!PA_CONTEXT_IS_GOOD(state)) {
        if (!noServerLogged_) {
            options_.log("geen geluidsserver bereikbaar; geluiden worden stil afgespeeld");
            noServerLogged_ = true;
        }
        startConnecting();
    }
    return false;
}

void PulseSoundSystem::outputLost(const std::string& reason) {
    options_.log(reason);
    outputLost_ = true;
}

bool PulseSoundSystem::connected() {
    LoopLock lock(loop_);
    return pa_context_get_state(context_) == PA_CONTEXT_READY;
}

std::optional<OutputDescription> PulseSoundSystem::defaultOutput() {
    LoopLock lock(loop_);
    if (pa_context_get_state(context_) != PA_CONTEXT_READY) return std::nullopt;
    struct Query {
        std::string sinkName;
        std::optional<OutputDescription> output;
        bool done = false;
    } query;
    auto run = [&](pa_operation* op) {
        if (!op) return false;
        const bool finished = waitLocked(loop_, kQueryWaitMs, [&] {
            return pa_operation_get_state(op) != PA_OPERATION_RUNNING;
        });
        if (!finished) pa_operation_cancel(op);
        pa_operation_unref(op);
        return finished;
    };
    const bool answered = run(pa_context_get_server_info(
        context_,
        [](pa_context*, const pa_server_info* info, void* data) {
            auto* q = static_cast<Query*>(data);
            if (info && info->default_sink_name) q->sinkName = info->default_sink_name;
        },
        &query));
    if (!answered || query.sinkName.empty()) return std::nullopt;
    run(pa_context_get_sink_info_by_name(
        context_, query.sinkName.c_str(),
        [](pa_context*, const pa_sink_info* info, int eol, void* data) {
            auto* q = static_cast<Query*>(data);
            if (eol || !info) return;
            OutputDescription out;
            out.device = info->description && *info->description ? info->description : info->name;
            out.sampleRate = info->sample_spec.rate;
            q->output = out;
        },
        &query));
    return query.output;
}

std::unique_ptr<SoundPlayer> PulseSoundSystem::createPlayer(const std::string& name) {
    return std::make_unique<PulsePlayer>(*this, name);
}

}  // namespace zor::ui::pulse
