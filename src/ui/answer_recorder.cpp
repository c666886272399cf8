#include "ui/answer_recorder.h"

#include <algorithm>
#include <cmath>
#include <exception>

namespace zor::ui {

int NullAnswerRecorder::beginTake(std::int64_t, AnswerReceiver) {
    failed_ = true;
    return 0;
}

std::optional<std::string> NullAnswerRecorder::takeFailure() {
    if (!failed_) return std::nullopt;
    failed_ = false;
    return reason_;
}

// --- TakeSamples ---------------------------------------------------------------

void TakeSamples::add(const MicrophoneStream::Block& block) {
    samples_.insert(samples_.end(), block.samples.begin(), block.samples.end());
    const double impliedStart =
        block.capturedEndMs - double(samples_.size()) * 1000.0 / RecordedAnswer::kSampleRate;
    if (!streamStartMs_ || impliedStart < *streamStartMs_) streamStartMs_ = impliedStart;
}

std::int64_t TakeSamples::indexAt(double ms) const {
    return std::llround((ms - *streamStartMs_) * RecordedAnswer::kSampleRate / 1000.0);
}

bool TakeSamples::reaches(std::int64_t ms) const {
    return streamStartMs_ && indexAt(double(ms)) <= std::int64_t(samples_.size());
}

RecordedAnswer TakeSamples::cut(std::int64_t endMs, std::optional<std::int64_t> promptEndMs) const {
    RecordedAnswer answer;
    const std::int64_t length =
        std::max<std::int64_t>(0, (endMs - startMs_) * RecordedAnswer::kSampleRate / 1000);
    answer.samples.assign(std::size_t(length), 0);
    if (streamStartMs_) {
        // Sample i of the take lies at startMs_ + i / rate; before the stream
        // opened it stays silent.
        const std::int64_t offset = indexAt(double(startMs_));
        for (std::int64_t i = 0; i < length; ++i) {
            const std::int64_t source = offset + i;
            if (source >= 0 && source < std::int64_t(samples_.size()))
                answer.samples[std::size_t(i)] = samples_[std::size_t(source)];
        }
    }
    if (promptEndMs && *promptEndMs >= startMs_ && *promptEndMs <= endMs)
        answer.promptEndSample = (*promptEndMs - startMs_) * RecordedAnswer::kSampleRate / 1000;
    return answer;
}

// --- MicrophoneCheck -------------------------------------------------------------

MicrophoneCheck::MicrophoneCheck(Clock& clock) : timer_(clock, kPollMs) {
    timer_.onTimer = [this] { deliver(); };
}

MicrophoneCheck::~MicrophoneCheck() {
    if (thread_.joinable()) thread_.join();
}

void MicrophoneCheck::start(AnswerRecorder& recorder, Answer answer) {
    answer_ = std::move(answer);
    timer_.setEnabled(true);
    std::lock_guard lock(mutex_);
    if (running_) return;
    // The last check has ended: its thread is done or about to be.
    if (thread_.joinable()) thread_.join();
    result_.reset();
    running_ = true;
    thread_ = std::thread([this, &recorder] {
        std::optional<std::string> problem;
        try {
            problem = recorder.microphoneProblem();
        } catch (const std::exception& e) {
            problem = e.what();
        }
        std::lock_guard lock(mutex_);
        result_ = std::move(problem);
        running_ = false;
    });
}

void MicrophoneCheck::cancel() {
    answer_ = nullptr;
    timer_.setEnabled(false);
}

void MicrophoneCheck::deliver() {
    std::optional<std::string> problem;
    {
        std::lock_guard lock(mutex_);
        if (running_ || !result_) return;
        problem = std::move(*result_);
        result_.reset();
    }
    timer_.setEnabled(false);
    const Answer answer = std::move(answer_);
    answer_ = nullptr;
    if (answer) answer(problem);
}

// --- ThreadedAnswerRecorder ------------------------------------------------------

struct ThreadedAnswerRecorder::Take {
    int number = 0;
    std::int64_t startMs = 0;
    AnswerReceiver receiver;
    // Set from the screens' thread, read by the capture thread (under mutex_).
    std::optional<std::int64_t> promptEndMs;
    std::optional<std::int64_t> endMs;
    bool cancelled = false;
    // Its administration is over: a failure is no news.
    bool closed = false;
    bool done = false;
    std::thread thread;
};

ThreadedAnswerRecorder::ThreadedAnswerRecorder() = default;

ThreadedAnswerRecorder::~ThreadedAnswerRecorder() { stopAllTakes(); }

void ThreadedAnswerRecorder::stopAllTakes() {
    std::vector<std::unique_ptr<Take>> takes;
    {
        std::lock_guard lock(mutex_);
        for (auto& take : takes_) take->cancelled = true;
        takes = std::move(takes_);
        takes_.clear();
    }
    changed_.notify_all();
    for (auto& take : takes)
        if (take->thread.joinable()) take->thread.join();
}

int ThreadedAnswerRecorder::beginTake(std::int64_t startMs, AnswerReceiver receiver) {
    reapFinished();
    auto take = std::make_unique<Take>();
    Take& started = *take;
    std::lock_guard lock(mutex_);
    take->number = nextTake_++;
    take->startMs = startMs;
    take->receiver = std::move(receiver);
    takes_.push_back(std::move(take));
    started.thread = std::thread([this, &started] { capture(started); });
    return started.number;
}

void ThreadedAnswerRecorder::markPromptEnd(int number, std::int64_t ms) {
    std::lock_guard lock(mutex_);
    for (auto& take : takes_)
        if (take->number == number && !take->promptEndMs) take->promptEndMs = ms;
}

void ThreadedAnswerRecorder::endTake(int number, std::int64_t endMs) {
    {
        std::lock_guard lock(mutex_);
        for (auto& take : takes_)
            if (take->number == number && !take->endMs) take->endMs = endMs;
    }
    changed_.notify_all();
}

std::optional<std::string> ThreadedAnswerRecorder::takeFailure() {
    std::lock_guard lock(mutex_);
    auto failure = std::move(failure_);
    failure_.reset();
    return failure;
}

void ThreadedAnswerRecorder::failed(const Take& take, const std::string& reason) {
    std::lock_guard lock(mutex_);
    if (!failure_ && !take.closed) failure_ = reason;
}

void ThreadedAnswerRecorder::closeTakes() {
    {
        std::lock_guard lock(mutex_);
        for (auto& take : takes_) {
            take->closed = true;
            if (!take->endMs) take->cancelled = true;
        }
    }
    changed_.notify_all();
    reapFinished();
}

void ThreadedAnswerRecorder::finishTakes() {
    closeTakes();
    std::vector<std::unique_ptr<Take>> takes;
    {
        std::lock_guard lock(mutex_);
        takes = std::move(takes_);
        takes_.clear();
    }
    for (auto& take : takes)
        if (take->thread.joinable()) take->thread.join();
}

void ThreadedAnswerRecorder::reapFinished() {
    std::vector<std::unique_ptr<Take>> finished;
    {
        std::lock_guard lock(mutex_);
        for (auto it = takes_.begin(); it != takes_.end();) {
            if ((*it)->done) {
                finished.push_back(std::move(*it));
                it = takes_.erase(it);
            } else {
                ++it;
            }
        }
    }
    for (auto& take : finished) take->thread.join();
}

void ThreadedAnswerRecorder::capture(Take& take) {
    const auto finish = [&] {
        std::lock_guard lock(mutex_);
        take.done = true;
    };
    TakeSamples samples(take.startMs);
    try {
        std::unique_ptr<MicrophoneStream> stream = openStream(take.startMs);
        for (;;) {
            {
                std::lock_guard lock(mutex_);
                if (take.cancelled) {
                    take.done = true;
                    return;
                }
                if (take.endMs && samples.reaches(*take.endMs)) break;
            }
            samples.add(stream->read());
        }
        stream.reset();
        std::optional<std::int64_t> promptEnd;
        std::int64_t end = 0;
        {
            std::lock_guard lock(mutex_);
            promptEnd = take.promptEndMs;
            end = *take.endMs;
        }
        take.receiver(samples.cut(end, promptEnd));
    } catch (const std::exception& e) {
        failed(take, e.what());
    } catch (...) {
        failed(take, "De opname is mislukt.");
    }
    finish();
}

}  // namespace zor::ui
