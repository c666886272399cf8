#include "ui/pulse/pulse_sound.h"

#include <pulse/pulseaudio.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
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
// How often a playing sound asks the server for fresh timing: the position
// between two reports is reckoned on from the last one, which a stream that
// stalls meanwhile (a starved or loaded server) would overtake.
constexpr pa_usec_t kTimingRequestUs = 5 * PA_USEC_PER_MSEC;
// The most a sound's end is put back after its duration: more than any
// output's latency, so a stream the server has stalled still ends.
constexpr std::int64_t kLatencyLimitMs = 2000;

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
    if (pcm.channels <= 0 || pcm.channels > int(PA_CHANNELS_MAX) ||
        !pa_sample_spec_valid(&sampleSpec))
        return std::nullopt;
    return sampleSpec;
}

// The bytes of the sound up to and with its last frame that is not digital
// silence. A prompt ends for the listener with its last sound: the silence
// a recording ends in is played, but not waited for.
std::size_t soundingBytes(const WavPcm& pcm) {
    const std::size_t sampleBytes = std::size_t(pcm.bitsPerSample / 8);
    const std::size_t frameBytes = sampleBytes * std::size_t(pcm.channels);
    if (frameBytes == 0) return pcm.data.size();
    const auto* bytes = reinterpret_cast<const unsigned char*>(pcm.data.data());
    // 8-bit samples are unsigned around 128; the others are signed or
    // float, whose silence is all bits zero (or a negative zero).
    const auto silent = [&](std::size_t at) {
        if (sampleBytes == 1) return bytes[at] == 128;
        for (std::size_t i = 0; i + 1 < sampleBytes; ++i)
            if (bytes[at + i] != 0) return false;
        const unsigned char top = bytes[at + sampleBytes - 1];
        return top == 0 || (pcm.isFloat && top == 0x80);
    };
    std::size_t end = pcm.data.size() - pcm.data.size() % frameBytes;
    while (end >= frameBytes) {
        bool frameSilent = true;
        for (std::size_t at = end - frameBytes; at < end && frameSilent; at += sampleBytes)
            frameSilent = silent(at);
        if (!frameSilent) break;
        end -= frameBytes;
    }
    return end;
}

std::int64_t bytesToMsRoundedUp(std::size_t bytes, const WavPcm& pcm) {
    const std::int64_t rate = pcm.bytesPerSecond();
    return rate <= 0 ? 0 : (std::int64_t(bytes) * 1000 + rate - 1) / rate;
}

// Holds the main loop's lock for a scope.
class LoopLock {
  public:
    explicit LoopLock(pa_threaded_mainloop* loop) : loop_(loop) {
        pa_threaded_mainloop_lock(loop_);
    }
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
        soundingBytes_ = soundingBytes(*pcm_);
        timeline_ = PromptTimeline(bytesToMsRoundedUp(soundingBytes_, *pcm_), pcm_->durationMs());
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
        const auto flags =
            pa_stream_flags_t(PA_STREAM_AUTO_TIMING_UPDATE | PA_STREAM_ADJUST_LATENCY);
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
        // Until a caller has been told the sound stopped, the server's
        // latest timing decides, even past the end an earlier reading gave:
        // a caller that was away for a while must not hear of an end that
        // the output has since put back.
        if (timeline_.started() && !timeline_.hasFailed() && !stopTold_) {
            if (auto latency = self->latency_.read(*self)) {
                self->timeline_.latencyChanged(now, *latency, true);
                self->latencyRead_ = self->latency_.known();
                self->lastLatencyMs_ = *latency;
            }
        }
        const PlayerMode mode = timeline_.mode(now);
        if (mode == PlayerMode::Stopped && timeline_.started()) self->stopTold_ = true;
        return mode;
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
    // How long the sound's last sound is still ahead of being heard, as the
    // server's last timing report tells (one comes every kTimingRequestUs):
    // the bytes it had played out of the stream, less what the output still
    // held then (its latency). The position is not reckoned on past the
    // report: an output that stalls after it (a loaded machine, a graph
    // cycle that comes late) would be overtaken and the sound ended early;
    // waiting for the next report costs a few milliseconds late instead.
    // (The client library's own interpolation runs on even while a stream
    // waits to start, as after a move between outputs.) A position that
    // stands still puts the end back accordingly.
    std::optional<std::int64_t> remainingUs() const {
        const pa_timing_info* timing = pa_stream_get_timing_info(stream_);
        if (!timing || timing->read_index_corrupt) return std::nullopt;
        const auto usOf = [this](std::int64_t bytes) {
            return std::int64_t(
                pa_bytes_to_usec(std::uint64_t(std::max<std::int64_t>(0, bytes)), &spec_));
        };
        const std::int64_t heardUs =
            usOf(timing->read_index) - std::int64_t(timing->sink_usec) - graphLatencyUs_;
        return std::max<std::int64_t>(0, usOf(std::int64_t(soundingBytes_)) - heardUs);
    }

    // PipeWire's PulseAudio server counts samples as played when it hands
    // them to its processing graph, which plays them a graph cycle later,
    // and reports a fixed output latency that leaves that cycle out. The
    // cycle is the smallest latency the server gave any stream's node
    // ("node.latency", a fraction of a second, among the properties of the
    // streams that play and record; PulseAudio has no such property). It is
    // read once the stream is ready and added to the output's latency.
    void askGraphLatency() {
        cancelGraphQueries();
        graphLatencyUs_ = 0;
        graphCandidateUs_ = 0;
        graphListsDone_ = 0;
        graphQueries_[0] = pa_context_get_sink_input_info_list(
            system_.context_, &PulsePlayer::onNodeInfo<pa_sink_input_info>, this);
        graphQueries_[1] = pa_context_get_source_output_info_list(
            system_.context_, &PulsePlayer::onNodeInfo<pa_source_output_info>, this);
    }

    // One stream of the server's lists (playing or recording), or their end.
    template <typename StreamInfo>
    static void onNodeInfo(pa_context*, const StreamInfo* info, int eol, void* self) {
        auto* player = static_cast<PulsePlayer*>(self);
        if (eol) return player->graphListDone();
        if (info) player->takeNodeLatency(info->proplist);
    }

    void takeNodeLatency(const pa_proplist* properties) {
        const char* latency = properties ? pa_proplist_gets(properties, "node.latency") : nullptr;
        long long num = 0, den = 0;
        if (!latency || std::sscanf(latency, "%lld/%lld", &num, &den) != 2 || num <= 0 || den <= 0)
            return;
        const std::int64_t us = num * 1'000'000 / den;
        if (graphCandidateUs_ == 0 || us < graphCandidateUs_) graphCandidateUs_ = us;
    }

    void graphListDone() {
        if (++graphListsDone_ < 2) return;
        graphLatencyUs_ = graphCandidateUs_;
        trace("graph-latency", graphLatencyUs_);
    }

    void cancelGraphQueries() {
        for (pa_operation*& op : graphQueries_) {
            if (!op) continue;
            pa_operation_cancel(op);
            pa_operation_unref(op);
            op = nullptr;
        }
    }

    // Asks the server for fresh timing every kTimingRequestUs while the
    // stream is ready, one request at a time (on the client library's thread).
    static void onTimingTimer(pa_mainloop_api*, pa_time_event* event, const struct timeval*,
                              void* self) {
        auto* player = static_cast<PulsePlayer*>(self);
        if (event != player->timingTimer_ || !player->stream_ ||
            pa_stream_get_state(player->stream_) != PA_STREAM_READY)
            return;
        if (player->timingRequest_ &&
            pa_operation_get_state(player->timingRequest_) != PA_OPERATION_RUNNING) {
            pa_operation_unref(player->timingRequest_);
            player->timingRequest_ = nullptr;
        }
        if (!player->timingRequest_)
            player->timingRequest_ =
                pa_stream_update_timing_info(player->stream_, nullptr, nullptr);
        pa_context_rttime_restart(player->system_.context_, event,
                                  pa_rtclock_now() + kTimingRequestUs);
    }

    void startTimingTimer() {
        stopTimingTimer();
        timingTimer_ = pa_context_rttime_new(system_.context_, pa_rtclock_now() + kTimingRequestUs,
                                             &PulsePlayer::onTimingTimer, this);
    }

    void stopTimingTimer() {
        if (!timingTimer_) return;
        pa_threaded_mainloop_get_api(system_.loop_)->time_free(timingTimer_);
        timingTimer_ = nullptr;
    }

    // The output latency of the sound in this stream: how much later than
    // its duration from the first samples handed over its last sound is
    // heard.
    LatencyReading readLatency() override {
        if (!stream_ || !pcm_ || pa_stream_get_state(stream_) != PA_STREAM_READY)
            return {LatencyReading::State::Unknown};
        if (!timeline_.startedMs()) return {LatencyReading::State::Pending};
        const auto remaining = remainingUs();
        if (!remaining) return {LatencyReading::State::Pending};
        // The clock counts whole milliseconds: one more keeps its rounding
        // from ending the sound before the server's moment (a sound already
        // heard to its end ends now).
        const std::int64_t endMs =
            system_.clock_.nowMs() + (*remaining > 0 ? (*remaining + 999) / 1000 + 1 : 0);
        const std::int64_t latencyMs = endMs - (*timeline_.startedMs() + timeline_.durationMs());
        trace("position", *remaining);
        return {LatencyReading::State::Known, std::min(latencyMs, kLatencyLimitMs)};
    }

    // The server's timing as it stands, for the timing log.
    void trace(const char* event, std::int64_t remaining) const {
        if (!system_.options_.timingLog || !stream_) return;
        const pa_timing_info none{};
        const pa_timing_info* timing = pa_stream_get_timing_info(stream_);
        if (!timing) timing = &none;
        char line[400];
        std::snprintf(line, sizeof line,
                      "%s at_ms=%lld remaining_us=%lld sink_us=%llu transport_us=%llu "
                      "write_index=%lld read_index=%lld playing=%d written=%zu length=%zu "
                      "graph_us=%lld",
                      event, (long long)system_.clock_.nowMs(), (long long)remaining,
                      (unsigned long long)timing->sink_usec,
                      (unsigned long long)timing->transport_usec, (long long)timing->write_index,
                      (long long)timing->read_index, timing->playing, written_,
                      pcm_ ? pcm_->data.size() : 0, (long long)graphLatencyUs_);
        system_.options_.timingLog(line);
    }

    void releaseStream() {
        written_ = 0;
        stopTold_ = false;
        graphLatencyUs_ = 0;
        cancelGraphQueries();
        stopTimingTimer();
        if (timingRequest_) {
            pa_operation_cancel(timingRequest_);
            pa_operation_unref(timingRequest_);
            timingRequest_ = nullptr;
        }
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
                // Its end follows the server's timing from here on (or the
                // test leader's figure). The drain's acknowledgement is not
                // waited for: it comes after the silence a recording ends in.
                ++system_.soundsStarted_;
                system_.noOutputLogged_ = false;
                timeline_.startConfirmed(system_.clock_.nowMs(),
                                         latency_.overrideMs().value_or(lastLatencyMs_));
                trace("first-write", -1);
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
    // still holds what the stream's timing says (the output's own latency
    // when the server gives no position). The end is fixed from here: the
    // position of a stream that has run dry stands still, and would put
    // the end back for ever.
    static void onDrained(pa_stream* stream, int success, void* self) {
        auto* player = static_cast<PulsePlayer*>(self);
        if (stream != player->stream_ || !success) return;
        std::int64_t remainingUs = 0;
        if (const pa_timing_info* timing = pa_stream_get_timing_info(stream))
            remainingUs = std::int64_t(timing->sink_usec);
        if (player->latency_.overrideMs())
            remainingUs = 0;
        else if (auto remaining = player->remainingUs())
            remainingUs = *remaining;
        player->trace("drained", remainingUs);
        player->stopTimingTimer();
        player->timeline_.playedOut(player->system_.clock_.nowMs(), (remainingUs + 999) / 1000);
    }

    void stateChanged(pa_stream* stream) {
        if (stream != stream_) return;
        const pa_stream_state_t state = pa_stream_get_state(stream);
        if (state == PA_STREAM_READY) {
            draining_ = false;
            askGraphLatency();
            startTimingTimer();
            return;
        }
        if (state != PA_STREAM_FAILED && state != PA_STREAM_TERMINATED) return;
        // The output went away, or there is none: the sound ends on its own
        // timing, as a silent player would time it. Only a sound that was
        // sounding is a loss to report; a sound that found no output is
        // logged once until sound plays again.
        const std::int64_t now = system_.clock_.nowMs();
        const bool wasSounding = timeline_.started() && timeline_.mode(now) != PlayerMode::Stopped;
        timeline_.failed(now);
        const std::string reason = pa_strerror(pa_context_errno(system_.context_));
        if (wasSounding)
            system_.outputLost("het geluid is afgebroken: " + reason);
        else
            system_.noOutput("geen geluidsuitvoer (" + reason +
                             "); geluiden worden stil afgespeeld");
    }

    PulseSoundSystem& system_;
    std::string name_;
    std::string fileName_;
    std::optional<WavPcm> pcm_;
    std::size_t soundingBytes_ = 0;
    pa_sample_spec spec_{};
    PromptTimeline timeline_;
    OutputLatency latency_;
    pa_stream* stream_ = nullptr;
    std::size_t written_ = 0;
    std::int64_t lastLatencyMs_ = 0;
    bool draining_ = false;
    pa_operation* drain_ = nullptr;
    pa_operation* timingRequest_ = nullptr;
    pa_operation* graphQueries_[2] = {nullptr, nullptr};
    std::int64_t graphLatencyUs_ = 0;
    std::int64_t graphCandidateUs_ = 0;
    int graphListsDone_ = 0;
    pa_time_event* timingTimer_ = nullptr;
    bool stopTold_ = false;
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
    // What follows without an output is part of this loss.
    noOutputLogged_ = true;
}

void PulseSoundSystem::noOutput(const std::string& reason) {
    if (noOutputLogged_) return;
    options_.log(reason);
    noOutputLogged_ = true;
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
