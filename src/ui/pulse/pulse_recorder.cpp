#include "ui/pulse/pulse_recorder.h"

#include <pulse/error.h>
#include <pulse/pulseaudio.h>
#include <pulse/simple.h>

#include <chrono>
#include <cstdlib>
#include <stdexcept>

namespace zor::ui::pulse {

namespace {

// A block of 10 ms: the finest step a take's end can fall on.
constexpr std::size_t kBlockSamples = RecordedAnswer::kSampleRate / 100;

std::string reasonOf(int error) { return pa_strerror(error); }

class PulseStream : public MicrophoneStream {
  public:
    PulseStream(const Clock& clock) : clock_(clock) {
        pa_sample_spec sampleFormat{};
        sampleFormat.format = PA_SAMPLE_S16LE;
        sampleFormat.rate = RecordedAnswer::kSampleRate;
        sampleFormat.channels = 1;
        pa_buffer_attr attr{};
        attr.maxlength = std::uint32_t(-1);
        attr.fragsize = std::uint32_t(kBlockSamples * sizeof(std::int16_t));
        int error = 0;
        stream_ = pa_simple_new(nullptr, "ZOR", PA_STREAM_RECORD, nullptr, "Antwoord opnemen",
                                &sampleFormat, nullptr, &attr, &error);
        if (!stream_)
            throw std::runtime_error("De microfoon kan niet worden geopend: " + reasonOf(error) +
                                     ".");
    }
    ~PulseStream() override { pa_simple_free(stream_); }

    Block read() override {
        Block block;
        block.samples.resize(kBlockSamples);
        int error = 0;
        if (pa_simple_read(stream_, block.samples.data(), kBlockSamples * sizeof(std::int16_t),
                           &error) < 0)
            throw std::runtime_error("De microfoon is tijdens de opname weggevallen: " +
                                     reasonOf(error) + ".");
        const double readMs = double(clock_.nowMs());
        const pa_usec_t latency = pa_simple_get_latency(stream_, &error);
        block.capturedEndMs = readMs - (latency == pa_usec_t(-1) ? 0.0 : double(latency) / 1000.0);
        return block;
    }

  private:
    const Clock& clock_;
    pa_simple* stream_ = nullptr;
};

// One question to the server on a main loop of its own: which source record
// streams get and whether it is a monitor.
class SourceQuery {
  public:
    explicit SourceQuery(int waitMs) : waitMs_(waitMs) {
        loop_ = pa_mainloop_new();
        context_ = pa_context_new(pa_mainloop_get_api(loop_), "ZOR microfooncontrole");
    }
    ~SourceQuery() {
        if (context_) {
            pa_context_disconnect(context_);
            pa_context_unref(context_);
        }
        pa_mainloop_free(loop_);
    }

    std::optional<std::string> problem() {
        if (!context_ ||
            pa_context_connect(context_, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0)
            return "Er is geen geluidsserver bereikbaar, dus ook geen microfoon.";
        if (!runUntil([this] {
                const auto state = pa_context_get_state(context_);
                return state == PA_CONTEXT_READY || !PA_CONTEXT_IS_GOOD(state);
            }) ||
            pa_context_get_state(context_) != PA_CONTEXT_READY)
            return "Er is geen geluidsserver bereikbaar, dus ook geen microfoon.";

        const char* named = std::getenv("PULSE_SOURCE");
        explicitSource_ = named && *named;
        if (explicitSource_) {
            source_ = named;
        } else {
            bool answered = false;
            pa_operation_unref(pa_context_get_server_info(
                context_,
                [](pa_context*, const pa_server_info* info, void* self) {
                    auto* query = static_cast<SourceQuery*>(self);
                    if (info && info->default_source_name)
                        query->source_ = info->default_source_name;
                    query->serverAnswered_ = true;
                },
                this));
            answered = runUntil([this] { return serverAnswered_; });
            if (!answered || source_.empty()) return "Er is geen microfoon aangesloten.";
        }
        pa_operation_unref(pa_context_get_source_info_by_name(
            context_, source_.c_str(),
            [](pa_context*, const pa_source_info* info, int eol, void* self) {
                auto* query = static_cast<SourceQuery*>(self);
                if (info) {
                    query->found_ = true;
                    query->monitor_ = info->monitor_of_sink != PA_INVALID_INDEX;
                }
                if (eol) query->sourceAnswered_ = true;
            },
            this));
        if (!runUntil([this] { return sourceAnswered_; }) || !found_)
            return "Er is geen microfoon aangesloten.";
        if (monitor_ && !explicitSource_)
            return "Er is geen microfoon aangesloten (de geluidsserver biedt alleen het geluid "
                   "van de luidsprekers aan).";
        return std::nullopt;
    }

  private:
    template <typename Done>
    bool runUntil(Done done) {
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs_);
        while (!done()) {
            if (std::chrono::steady_clock::now() >= until) return false;
            // Waits at most 10 ms for an event, so the limit holds.
            if (pa_mainloop_prepare(loop_, 10000) < 0 || pa_mainloop_poll(loop_) < 0 ||
                pa_mainloop_dispatch(loop_) < 0)
                return false;
        }
        return true;
    }

    int waitMs_;
    pa_mainloop* loop_ = nullptr;
    pa_context* context_ = nullptr;
    std::string source_;
    bool explicitSource_ = false;
    bool serverAnswered_ = false;
    bool sourceAnswered_ = false;
    bool found_ = false;
    bool monitor_ = false;
};

}  // namespace

std::optional<std::string> PulseAnswerRecorder::microphoneProblem() {
    return SourceQuery(connectWaitMs_).problem();
}

std::unique_ptr<MicrophoneStream> PulseAnswerRecorder::openStream(std::int64_t) {
    return std::make_unique<PulseStream>(clock_);
}

}  // namespace zor::ui::pulse
