#include "record/answer_recordings.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <span>
#include <stdexcept>

#include "files/atomic_file.h"
#include "folders/folders.h"
#include "files/private_folder.h"
#include "files/read_file.h"
#include "files/write_error.h"
#include "record/administration_files.h"
#include "ui/wav_pcm.h"
#include "voice/voice_onset.h"

namespace zor::record {

namespace fs = std::filesystem;

namespace {

void put16(std::string& out, std::uint32_t v) {
    out += char(v & 0xFF);
    out += char((v >> 8) & 0xFF);
}
void put32(std::string& out, std::uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

constexpr int kItemsPerSubtest = 12;
// A take lasts seconds (32 kB a second); a larger file is none of the program's.
constexpr std::uintmax_t kMaxRecordingBytes = 64u << 20;

}  // namespace

std::string RecordingsKey(std::string_view key) {
    using folders::kCorrectedLabel;
    while (key.size() > kCorrectedLabel.size() && key.ends_with(kCorrectedLabel))
        key.remove_suffix(kCorrectedLabel.size());
    return std::string(key);
}

fs::path RecordingsFolder(const fs::path& datapath, std::string_view key) {
    return folders::answerRecordingsFolder(datapath, RecordingsKey(key));
}

std::string AnswerFileName(Subtest subtest, int item) {
    char number[16];
    std::snprintf(number, sizeof number, "%02d", item);
    return std::string(SubtestCode(subtest)) + "_" + number + ".wav";
}

std::string AnswerWavBytes(const ui::RecordedAnswer& answer) {
    const auto dataBytes = std::uint32_t(answer.samples.size() * 2);
    const bool cue = answer.promptEndSample.has_value();
    const std::uint32_t cueBytes = cue ? 8 + 4 + 24 : 0;
    std::string out;
    out.reserve(44 + cueBytes + dataBytes);
    out += "RIFF";
    put32(out, 4 + 8 + 16 + cueBytes + 8 + dataBytes);
    out += "WAVE";
    out += "fmt ";
    put32(out, 16);
    put16(out, 1);  // PCM
    put16(out, 1);  // mono
    put32(out, std::uint32_t(answer.sampleRate));
    put32(out, std::uint32_t(answer.sampleRate) * 2);
    put16(out, 2);
    put16(out, 16);
    if (cue) {
        // One cue point in the data chunk, before the data so that a reader
        // that stops at the samples has already seen it.
        out += "cue ";
        put32(out, 4 + 24);
        put32(out, 1);
        put32(out, 1);  // its name
        put32(out, std::uint32_t(*answer.promptEndSample));
        out += "data";
        put32(out, 0);
        put32(out, 0);
        put32(out, std::uint32_t(*answer.promptEndSample));
    }
    out += "data";
    put32(out, dataBytes);
    for (std::int16_t s : answer.samples) put16(out, std::uint16_t(s));
    return out;
}

void WriteAnswerRecording(const fs::path& file, const ui::RecordedAnswer& answer) {
    files::CreatePrivateFolder(file.parent_path());
    files::ReplaceFile(file, AnswerWavBytes(answer));
}

std::optional<ui::RecordedAnswer> ReadAnswerRecording(const fs::path& file) {
    const auto pcm = ui::readWavPcm(file.string());
    if (!pcm || pcm->channels != 1 || pcm->bitsPerSample != 16 || pcm->isFloat) return std::nullopt;
    ui::RecordedAnswer answer;
    answer.sampleRate = pcm->sampleRate;
    answer.samples.resize(pcm->data.size() / 2);
    for (std::size_t i = 0; i < answer.samples.size(); ++i) {
        const auto lo = std::uint8_t(pcm->data[2 * i]);
        const auto hi = std::uint8_t(pcm->data[2 * i + 1]);
        answer.samples[i] = std::int16_t(std::uint16_t(lo | hi << 8));
    }
    if (pcm->cueFrame && *pcm->cueFrame <= answer.samples.size())
        answer.promptEndSample = *pcm->cueFrame;
    return answer;
}

StoredRecordings FindRecordings(const fs::path& datapath, std::string_view key) {
    StoredRecordings found;
    const fs::path folder = RecordingsFolder(datapath, key);
    std::error_code ignored;
    for (int item = 1; item <= kItemsPerSubtest; ++item) {
        if (fs::is_regular_file(folder / AnswerFileName(Subtest::FW, item), ignored))
            found.deletionItems.insert(item);
        if (fs::is_regular_file(folder / AnswerFileName(Subtest::FV, item), ignored))
            found.swapItems.insert(item);
    }
    return found;
}

void CarryRecordings(const fs::path& datapath, std::string_view fromKey, std::string_view toKey) {
    const fs::path from = RecordingsFolder(datapath, fromKey);
    const fs::path to = RecordingsFolder(datapath, toKey);
    if (from == to) return;
    const StoredRecordings earlier = FindRecordings(datapath, fromKey);
    for (Subtest subtest : {Subtest::FW, Subtest::FV}) {
        for (int item : subtest == Subtest::FW ? earlier.deletionItems : earlier.swapItems) {
            const std::string name = AnswerFileName(subtest, item);
            std::error_code ignored;
            if (fs::exists(to / name, ignored)) continue;
            std::string bytes;
            try {
                bytes = files::ReadRegularFile(from / name, kMaxRecordingBytes, "Het bestand is te groot.");
            } catch (const files::ReadError& e) {
                throw std::runtime_error("Kan bestand \"" + (from / name).string() + "\" niet openen. " +
                                         e.what());
            }
            files::CreatePrivateFolder(to);
            files::ReplaceFile(to / name, bytes);
        }
    }
}

std::optional<fs::path> SetRecordingsAside(const fs::path& datapath, std::string_view key) {
    const fs::path folder = RecordingsFolder(datapath, key);
    std::error_code error;
    if (!fs::exists(folder, error)) return std::nullopt;
    const std::string name = folder.filename().string() + " (overschreven";
    fs::path aside = folder.parent_path() / (name + ")");
    for (int n = 2; !error && fs::exists(aside, error) && n < 1000; ++n)
        aside = folder.parent_path() / (name + " " + std::to_string(n) + ")");
    if (!error) fs::rename(folder, aside, error);
    if (error) {
        throw std::runtime_error("Kan map \"" + folder.string() + "\" niet hernoemen. " +
                                 files::DutchReason(error.value()));
    }
    return aside;
}

std::optional<double> VoiceOnsetAfterPrompt(const ui::RecordedAnswer& answer) {
    if (!answer.promptEndSample) return std::nullopt;
    const double mark = double(*answer.promptEndSample) / answer.sampleRate;
    // The answer is looked for while the stopwatch ran: the second after the
    // stop holds its sound, perhaps the next prompt, and is there to be heard.
    const std::size_t tail = std::size_t(answer.sampleRate * AnswerSession::kTailMs / 1000);
    if (answer.samples.size() <= tail) return std::nullopt;
    const std::span<const std::int16_t> running(answer.samples.data(), answer.samples.size() - tail);
    const std::optional<double> onset = voice::FindVoiceOnset(running, answer.sampleRate, mark);
    if (!onset) return std::nullopt;
    return std::max(0.0, *onset - mark);
}

std::string VoiceOnsetText(double seconds) {
    const long tenths = std::lround(seconds * 10);
    return "stem na " + std::to_string(tenths / 10) + "," + std::to_string(tenths % 10) + " s";
}

// --- AnswerSession ------------------------------------------------------------------

AnswerSession::AnswerSession(ui::Application& app, const AdministrationRecord& record,
                             Notify notify)
    : app_(app), record_(record), notify_(std::move(notify)) {}

std::string AnswerSession::noticeText(const std::string& reason) {
    return "Het opnemen van de antwoorden is gestopt. " + reason +
           " De afname gaat door zonder opnames.";
}

void AnswerSession::begin(const fs::path& datapath) {
    datapath_ = datapath;
    recording_ = !datapath.empty();
    openTake_.reset();
    recorder().takeFailure();  // a failure of an earlier administration is no news here
}

void AnswerSession::endInBackground() {
    recording_ = false;
    openTake_.reset();
    recorder().closeTakes();
}

void AnswerSession::end() {
    endInBackground();
    recorder().finishTakes();
}

void AnswerSession::showFailure() {
    if (!recording_) return;
    if (const std::optional<std::string> failure = recorder().takeFailure()) {
        recording_ = false;
        openTake_.reset();
        if (notify_) notify_(noticeText(*failure));
    }
}

void AnswerSession::promptStarted(Subtest subtest, int item, std::int64_t startMs) {
    if (!recording_) return;
    // A take that never saw its stop (no such path is known) ends here.
    if (openTake_) recorder().endTake(*openTake_, startMs);
    const fs::path file =
        RecordingsFolder(datapath_, record_.AfnameKey) / AnswerFileName(subtest, item);
    openTake_ = recorder().beginTake(startMs, [file](const ui::RecordedAnswer& answer) {
        WriteAnswerRecording(file, answer);
    });
}

void AnswerSession::promptEnded() {
    if (recording_ && openTake_) recorder().markPromptEnd(*openTake_, app_.clock().nowMs());
}

void AnswerSession::stopClicked() {
    if (!recording_ || !openTake_) return;
    recorder().endTake(*openTake_, app_.clock().nowMs() + kTailMs);
    openTake_.reset();
}

}  // namespace zor::record
