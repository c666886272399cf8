#pragma once
// Recording the child's spoken answers. A take is the sound of one test item,
// from the start of its prompt to a moment after the test leader stopped the
// stopwatch. The microphone is read on a thread of its own, never on the
// screens' thread, so a take cannot delay a prompt, the stopwatch or a mark;
// the screens only tell the recorder the times of the take on the clock's
// monotonic scale. A finished take is handed to its receiver on the capture
// thread. Whether there is a microphone at all is found out off the screens'
// thread too (MicrophoneCheck). A microphone that fails or a receiver that
// throws ends that take and leaves a Dutch reason for the screens to show at
// a quiet moment.
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "ui/clock.h"
#include "ui/timer.h"

namespace zor::ui {

// The sound of one take: mono 16-bit samples.
struct RecordedAnswer {
    static constexpr int kSampleRate = 16000;
    std::vector<std::int16_t> samples;
    int sampleRate = kSampleRate;
    // The sample at which the prompt's end was heard (the stopwatch started);
    // nothing when the take ended before it.
    std::optional<std::int64_t> promptEndSample;
};

// Receives a finished take on the capture thread; throws (a files::WriteError,
// ...) when it cannot keep it, with a Dutch message.
using AnswerReceiver = std::function<void(const RecordedAnswer&)>;

class AnswerRecorder {
  public:
    virtual ~AnswerRecorder() = default;
    // Why no microphone can be recorded (Dutch), or nothing when one can.
    virtual std::optional<std::string> microphoneProblem() = 0;
    // Starts a take at `startMs` (now); returns at once with its number.
    virtual int beginTake(std::int64_t startMs, AnswerReceiver receiver) = 0;
    // The prompt of the take was heard to end at `ms`.
    virtual void markPromptEnd(int take, std::int64_t ms) = 0;
    // The take ends at `endMs` (a moment after now); it is handed over then.
    virtual void endTake(int take, std::int64_t endMs) = 0;
    // The first failure since the last call, as a Dutch sentence.
    virtual std::optional<std::string> takeFailure() = 0;
    // The administration is over: drops takes without an end; the others are
    // still handed over, in their own time, and their failures are no news
    // any more. Returns at once.
    virtual void closeTakes() = 0;
    // As closeTakes, then waits until every take that has an end has been
    // handed over or has failed (the program closes).
    virtual void finishTakes() = 0;
};

// No microphone: every take is refused with the reason given.
class NullAnswerRecorder : public AnswerRecorder {
  public:
    explicit NullAnswerRecorder(std::string reason = "Er is geen microfoon aangesloten.")
        : reason_(std::move(reason)) {}
    std::optional<std::string> microphoneProblem() override { return reason_; }
    int beginTake(std::int64_t, AnswerReceiver) override;
    void markPromptEnd(int, std::int64_t) override {}
    void endTake(int, std::int64_t) override {}
    std::optional<std::string> takeFailure() override;
    void closeTakes() override {}
    void finishTakes() override {}

  private:
    std::string reason_;
    bool failed_ = false;
};

// An open microphone: reads the next block of samples, blocking until they
// are there; throws std::runtime_error with a Dutch message when it fails.
class MicrophoneStream {
  public:
    struct Block {
        std::vector<std::int16_t> samples;
        // When the block's last sample was captured, on the clock's scale:
        // the time of the read less the device's delay.
        double capturedEndMs = 0;
    };
    virtual ~MicrophoneStream() = default;
    virtual Block read() = 0;
};

// Takes on microphone streams: each take opens its own stream on a thread of
// its own and reads it until the take's end is reached. The sample times
// come from the blocks' capture times; since a late read only makes a block
// look later, the earliest start any block implies is taken as the stream's
// start, which a slow thread cannot push back.
class ThreadedAnswerRecorder : public AnswerRecorder {
  public:
    ThreadedAnswerRecorder();
    ~ThreadedAnswerRecorder() override;
    int beginTake(std::int64_t startMs, AnswerReceiver receiver) override;
    void markPromptEnd(int take, std::int64_t ms) override;
    void endTake(int take, std::int64_t endMs) override;
    std::optional<std::string> takeFailure() override;
    void closeTakes() override;
    void finishTakes() override;

  protected:
    // Opens a stream of RecordedAnswer::kSampleRate mono samples for the take
    // that starts at `takeStartMs`; throws
    // std::runtime_error with a Dutch message. Runs on the capture thread.
    virtual std::unique_ptr<MicrophoneStream> openStream(std::int64_t takeStartMs) = 0;
    // The subclass's destructor calls this first: its streams go before it does.
    void stopAllTakes();

  private:
    struct Take;
    void capture(Take& take);
    void failed(const Take& take, const std::string& reason);
    void reapFinished();

    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::unique_ptr<Take>> takes_;
    int nextTake_ = 1;
    std::optional<std::string> failure_;
};

// Whether a microphone can be recorded, found out on a thread of its own: a
// recorder's check asks the sound server, which may keep it waiting, and the
// screens never wait for it. The answer reaches the screens' thread on a tick
// of a timer of the clock.
class MicrophoneCheck {
  public:
    // Gets the recorder's microphoneProblem(): a Dutch reason, or nothing.
    using Answer = std::function<void(const std::optional<std::string>& problem)>;
    static constexpr int kPollMs = 50;

    explicit MicrophoneCheck(Clock& clock);
    // Waits for a check that still runs (the recorder's check has a time
    // limit of its own); `recorder` must live until then.
    ~MicrophoneCheck();
    MicrophoneCheck(const MicrophoneCheck&) = delete;
    MicrophoneCheck& operator=(const MicrophoneCheck&) = delete;

    // Asks `recorder`; `answer` runs on the screens' thread once the answer is
    // there. A request while a check runs takes that check's answer.
    void start(AnswerRecorder& recorder, Answer answer);
    // The answer is no longer wanted.
    void cancel();
    // Whether an answer is still to come.
    bool waiting() const { return bool(answer_); }

  private:
    void deliver();

    Timer timer_;
    Answer answer_;
    std::thread thread_;
    std::mutex mutex_;
    // Under mutex_: a check runs; the answer of the last one.
    bool running_ = false;
    std::optional<std::optional<std::string>> result_;
};

// The samples of a stream between two clock times, given its blocks as they
// came: the part of ThreadedAnswerRecorder that decides which samples a take
// holds, apart from any thread.
class TakeSamples {
  public:
    explicit TakeSamples(std::int64_t startMs) : startMs_(startMs) {}
    void add(const MicrophoneStream::Block& block);
    // Whether the samples reach `ms`.
    bool reaches(std::int64_t ms) const;
    // The take from its start to `endMs`, the prompt's end marked.
    RecordedAnswer cut(std::int64_t endMs, std::optional<std::int64_t> promptEndMs) const;

  private:
    std::int64_t indexAt(double ms) const;

    std::int64_t startMs_;
    std::vector<std::int16_t> samples_;
    // The clock time of sample 0 of the stream.
    std::optional<double> streamStartMs_;
};

}  // namespace zor::ui
