#pragma once
// The child's recorded answers, kept beside the data files: one folder per
// administration key, "<data folder>/Opnames/<key>/", with one WAV file per
// test item, "FW_NN.wav" (phoneme deletion, items 01-12) and "FV_NN.wav"
// (phoneme swap, items 01-12). A file holds 16 kHz mono 16-bit samples from
// the start of the item's prompt to a second after the stopwatch was stopped,
// with one cue point at the sample where the stopwatch started (the prompt's
// audible end). Files and folders are private (0600/0700), written whole and
// atomically, and never deleted by the program. They are information for the
// test leader only: data files, scores and reports do not depend on them.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "record/administration_record.h"
#include "record/data_line.h"
#include "ui/answer_recorder.h"
#include "ui/application.h"

namespace zor::record {

// The key whose recordings an administration has: a corrected administration
// ("<key>_gecorrigeerd", also corrected again) has its original's.
std::string RecordingsKey(std::string_view key);
// The folder of `key`'s recordings under the data folder (the "datapath"
// setting): the folders service's folder of RecordingsKey(key).
std::filesystem::path RecordingsFolder(const std::filesystem::path& datapath, std::string_view key);
// "FW_03.wav", "FV_12.wav".
std::string AnswerFileName(Subtest subtest, int item);

// The bytes of a recording's WAV file.
std::string AnswerWavBytes(const ui::RecordedAnswer& answer);
// Writes a recording, making its folder when missing; throws files::WriteError.
void WriteAnswerRecording(const std::filesystem::path& file, const ui::RecordedAnswer& answer);
// Reads a recording back; nothing when the file is missing or is no 16-bit
// mono WAV file.
std::optional<ui::RecordedAnswer> ReadAnswerRecording(const std::filesystem::path& file);

// The items that have a recording.
struct StoredRecordings {
    std::set<int> deletionItems;  // FW
    std::set<int> swapItems;      // FV
    bool any() const { return !deletionItems.empty() || !swapItems.empty(); }
    bool has(Subtest subtest, int item) const {
        return (subtest == Subtest::FW ? deletionItems : swapItems).count(item) > 0;
    }
};
StoredRecordings FindRecordings(const std::filesystem::path& datapath, std::string_view key);

// An administration resumed on a later day moves to a new key: its earlier
// recordings are copied to the new key's folder, so that they go with it.
// Files the new folder already holds stay as they are; the old folder stays
// too. Throws files::WriteError, or std::runtime_error naming a recording
// that cannot be read.
void CarryRecordings(const std::filesystem::path& datapath, std::string_view fromKey,
                     std::string_view toKey);

// An administration overwritten by a new one of the same key keeps its
// recordings apart, so that none is taken for the new administration's: its
// folder is renamed "<key> (overschreven)" ("<key> (overschreven 2)", ...).
// Returns where they went; nothing when there were none. Throws
// std::runtime_error with a Dutch message naming the folder.
std::optional<std::filesystem::path> SetRecordingsAside(const std::filesystem::path& datapath,
                                                        std::string_view key);

// Seconds from the prompt's end (the recording's mark) to the first voiced
// sound after it and before the stop; nothing without a mark or a voice.
std::optional<double> VoiceOnsetAfterPrompt(const ui::RecordedAnswer& answer);
// "stem na 1,3 s": the time from the prompt's end to the voice, one decimal.
std::string VoiceOnsetText(double seconds);

// The recording of one administration's answers, driven by the test screens.
// Recording ends for the administration at the first failure (no microphone,
// a microphone that goes away, a full disk): the notice goes to `notify` once,
// before the next prompt or when the administration finishes, never between
// a prompt and its mark. The administration goes on without recordings.
class AnswerSession {
  public:
    using Notify = std::function<void(const std::string&)>;
    static constexpr std::int64_t kTailMs = 1000;

    // Records on the application's recorder; `record` is the administration,
    // whose key names the folder of each take.
    AnswerSession(ui::Application& app, const AdministrationRecord& record, Notify notify);

    // Recording starts for this administration, into `datapath`'s recordings.
    void begin(const std::filesystem::path& datapath);
    // Recording ends; takes whose stopwatch was stopped are still written,
    // in their own time: this returns at once.
    void endInBackground();
    // As endInBackground, and waits until those takes are written.
    void end();
    bool recording() const { return recording_; }

    // An item's timed prompt started at `startMs` (its play was requested);
    // showFailure() has run before the request.
    void promptStarted(Subtest subtest, int item, std::int64_t startMs);
    // The stopwatch started now.
    void promptEnded();
    // The stopwatch was stopped now; the take goes on for kTailMs.
    void stopClicked();
    // Shows a failure that came up since the last prompt.
    void showFailure();

    static std::string noticeText(const std::string& reason);

  private:
    ui::AnswerRecorder& recorder() const { return app_.recorder(); }

    ui::Application& app_;
    const AdministrationRecord& record_;
    Notify notify_;
    std::filesystem::path datapath_;
    bool recording_ = false;
    std::optional<int> openTake_;
};

}  // namespace zor::record
