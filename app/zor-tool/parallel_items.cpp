#include "parallel_items.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <charconv>
#include <chrono>
#include <exception>
#include <iostream>
#include <mutex>
#include <thread>
#include <vector>

namespace zor::tool {
namespace {

// Collects finished items and writes every item whose predecessors are all written.
class OrderedWriter {
  public:
    OrderedWriter(std::size_t count, const ParallelRun& run, std::ostream& out, std::ostream& err)
        : results_(count), run_(run), out_(out), err_(err) {}

    void finish(std::size_t item, ItemResult result) {
        std::lock_guard lock(mutex_);
        results_[item] = std::move(result);
        ++done_;
        while (next_ < results_.size() && results_[next_]) {
            ItemResult& ready = *results_[next_];
            if (!ready.ok) {
                clearProgress();
                err_ << ready.failure;
                if (!ready.failure.ends_with('\n')) err_ << '\n';
                allOk_ = false;
            }
            out_ << ready.output;
            results_[next_].reset();
            ++next_;
        }
        showProgress();
    }

    bool finishAll() {
        std::lock_guard lock(mutex_);
        clearProgress();
        out_.flush();
        return allOk_;
    }

  private:
    void showProgress() {
        if (!run_.progress) return;
        const auto now = std::chrono::steady_clock::now();
        if (done_ != results_.size() && now - shownAt_ < std::chrono::milliseconds(100)) return;
        shownAt_ = now;
        *run_.progress << '\r' << run_.label << ' ' << done_ << '/' << results_.size()
                       << std::flush;
        showing_ = true;
    }

    void clearProgress() {
        if (!showing_) return;
        *run_.progress << "\r\033[K" << std::flush;
        showing_ = false;
    }

    std::mutex mutex_;
    std::vector<std::optional<ItemResult>> results_;
    const ParallelRun& run_;
    std::ostream& out_;
    std::ostream& err_;
    std::size_t next_ = 0;
    std::size_t done_ = 0;
    bool allOk_ = true;
    bool showing_ = false;
    std::chrono::steady_clock::time_point shownAt_{};
};

}  // namespace

int RunItems(std::size_t count, const ParallelRun& run,
             const std::function<ItemResult(std::size_t item, std::size_t worker)>& work,
             std::ostream& out, std::ostream& err) {
    OrderedWriter writer(count, run, out, err);
    std::atomic<std::size_t> nextItem = 0;
    auto workLoop = [&](std::size_t worker) {
        for (std::size_t item = nextItem++; item < count; item = nextItem++) {
            ItemResult result;
            try {
                result = work(item, worker);
            } catch (const std::exception& e) {
                result = {false, "", e.what()};
            } catch (...) {
                result = {false, "", "onbekende fout"};
            }
            writer.finish(item, std::move(result));
        }
    };
    const std::size_t threads = std::min<std::size_t>(std::size_t(std::max(run.jobs, 1)), count);
    {
        std::vector<std::jthread> helpers;
        for (std::size_t worker = 1; worker < threads; ++worker)
            helpers.emplace_back(workLoop, worker);
        workLoop(0);
    }
    return writer.finishAll() ? kExitSuccess : kExitFailure;
}

std::optional<FolderCommandLine> ParseFolderCommandLine(std::string_view name,
                                                        const Arguments& arguments,
                                                        std::ostream& out, std::ostream& err,
                                                        int& status) {
    const Subcommand& command = *FindSubcommand(name);
    std::optional<CommandLine> line = ParseCommandLine(command, arguments, out, err, status);
    if (!line) return std::nullopt;
    FolderCommandLine parsed{std::move(*line), std::nullopt,
                             int(std::max(1u, std::thread::hardware_concurrency()))};
    status = kExitUsage;
    if (!ReadDateOption(command, parsed.line, parsed.date, err)) return std::nullopt;
    if (const std::optional<std::string> text = parsed.line.value("-j")) {
        int value = 0;
        const auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), value);
        if (error != std::errc() || end != text->data() + text->size() || value < 1 || value > 256) {
            UsageError(command, "-j: \"" + *text + "\" is geen aantal taken van 1 tot 256", err);
            return std::nullopt;
        }
        parsed.jobs = value;
    }
    status = kExitSuccess;
    return parsed;
}

std::ostream* ProgressStreamFor(std::ostream& err) {
    return &err == &std::cerr && isatty(STDERR_FILENO) ? &err : nullptr;
}

}  // namespace zor::tool
