#include "record/recovery_journal.h"

#include <algorithm>
#include <charconv>

#include "files/atomic_file.h"
#include "files/private_folder.h"
#include "files/write_error.h"
#include "folders/folders.h"
#include "record/calendar.h"

namespace zor::record {
namespace {

using Clock = std::chrono::system_clock;

constexpr std::string_view kHeader = "ZOR-herstelbestand;1";
constexpr std::string_view kEnd = "einde";
// Far more lines than any administration file holds.
constexpr std::size_t kMaxSectionLines = AdministrationRecord::kDataGridRows;

// The last-item text of a step: FW numbers its examples "vb1".."vb3".
std::string LastItemText(Subtest subtest, int step) {
    if (step <= 0) return {};
    if (subtest == Subtest::FW && step <= 3) return "vb" + std::to_string(step);
    return std::to_string(step);
}

// A stopped step without its mark goes back to not taken: resuming repeats it.
void ForgetUnmarkedStep(AdministrationRecord& record, Subtest subtest) {
    const bool fw = subtest == Subtest::FW;
    int& step = fw ? record.CurrentStepFW : record.CurrentStepFV;
    StringGrid& grid = fw ? record.SGRscoreFW : record.SGRscoreFV;
    const int row = step - 2;
    if (row < 0 || row >= AdministrationRecord::kScoreGridRows) return;
    if (!grid.Cell(AdministrationRecord::kMarkColumn, row).empty()) return;
    grid.SetCell(AdministrationRecord::kTimeColumn, row, "");
    --step;
    (fw ? record.ElaatsteFW : record.ELaatsteFV) = LastItemText(subtest, step - 1);
}

std::optional<std::size_t> Count(std::string_view text) {
    std::size_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

// Reads "<name>;<n>" and the n lines after it.
bool ReadSection(const std::vector<std::string>& lines, std::size_t& at, std::string_view name,
                 std::vector<std::string>& out) {
    if (at >= lines.size()) return false;
    const std::string& head = lines[at];
    const std::string prefix = std::string(name) + ";";
    if (head.rfind(prefix, 0) != 0) return false;
    const std::optional<std::size_t> n = Count(std::string_view(head).substr(prefix.size()));
    if (!n || *n > kMaxSectionLines || lines.size() - at - 1 < *n) return false;
    out.assign(lines.begin() + static_cast<std::ptrdiff_t>(at + 1),
               lines.begin() + static_cast<std::ptrdiff_t>(at + 1 + *n));
    at += 1 + *n;
    return true;
}

JournalRead Damaged(std::string problem) { return {std::nullopt, {}, std::move(problem)}; }

}  // namespace

fs::path JournalPath(const fs::path& datapath, std::string_view key) {
    return folders::recoveryFolder(datapath) / (std::string(key) + std::string(kJournalExtension));
}

fs::path SetAsideFolder(const fs::path& datapath) {
    return folders::recoveryFolder(datapath) / kSetAsideFolderName;
}

std::optional<JournalState> StateAtLastMark(const AdministrationRecord& record) {
    if (record.MdataFW.empty() || record.Ecode.empty() || !IsAfnameKey(record.AfnameKey))
        return std::nullopt;
    const int row = record.FindSubjectRow(record.Ecode);
    if (row <= 0) return std::nullopt;
    AdministrationRecord copy = record;
    ForgetUnmarkedStep(copy, Subtest::FW);
    ForgetUnmarkedStep(copy, Subtest::FV);
    copy.ReplaceDataLines(row);
    return JournalState{copy.AfnameKey, copy.MemoCom, copy.MdataFW, copy.MdataFV};
}

std::vector<std::string> JournalLines(const JournalState& state, Clock::time_point updated) {
    std::vector<std::string> lines{std::string(kHeader), "sleutel;" + state.key,
                                   "bijgewerkt;" + LocalDateTimeText(updated)};
    for (const auto& [name, section] : {std::pair{"zta", &state.memo},
                                        std::pair{"FW", &state.dataFW},
                                        std::pair{"FV", &state.dataFV}}) {
        lines.push_back(std::string(name) + ";" + std::to_string(section->size()));
        lines.insert(lines.end(), section->begin(), section->end());
    }
    lines.emplace_back(kEnd);
    return lines;
}

JournalRead ReadJournal(const fs::path& file) {
    const LinesFile read = ReadLinesFile(file);
    if (read.error) return Damaged(read.error->message);
    const std::vector<std::string>& lines = read.lines;
    if (lines.size() < 3 || lines[0] != kHeader) return Damaged("het is geen ZOR-herstelbestand");
    if (lines[1].rfind("sleutel;", 0) != 0 || lines[2].rfind("bijgewerkt;", 0) != 0)
        return Damaged("de kop van het bestand is onvolledig");
    JournalState state;
    state.key = lines[1].substr(8);
    if (!IsAfnameKey(state.key)) return Damaged("de afnamenaam \"" + state.key + "\" is ongeldig");
    if (file.filename() != JournalPath({}, state.key).filename())
        return Damaged("de afnamenaam \"" + state.key + "\" past niet bij de bestandsnaam");
    std::size_t at = 3;
    if (!ReadSection(lines, at, "zta", state.memo) || !ReadSection(lines, at, "FW", state.dataFW) ||
        !ReadSection(lines, at, "FV", state.dataFV))
        return Damaged("een deel van het bestand ontbreekt of is onvolledig");
    if (at + 1 != lines.size() || lines[at] != kEnd) return Damaged("het einde van het bestand ontbreekt");
    if (state.memo.empty() || state.memo[0] != state.key)
        return Damaged("de regels van het afnamebestand horen niet bij \"" + state.key + "\"");
    if (state.dataFW.empty() || state.dataFW.size() != state.dataFV.size())
        return Damaged("de dataregels ontbreken");
    for (const auto& [subtest, section] :
         {std::pair{Subtest::FW, &state.dataFW}, std::pair{Subtest::FV, &state.dataFV}}) {
        for (const std::string& line : *section) {
            if (auto problem = FindDataLineProblem(line, subtest))
                return Damaged("dataregel " + std::string(SubtestCode(subtest)) + ": " + *problem);
        }
    }
    return {std::move(state), lines[2].substr(11), {}};
}

std::optional<FileError> WriteJournal(const fs::path& datapath, const JournalState& state,
                                      Clock::time_point updated) {
    const fs::path file = JournalPath(datapath, state.key);
    try {
        files::CreatePrivateFolder(file.parent_path());
        files::ReplaceFile(file, LinesFileContent(JournalLines(state, updated)));
    } catch (const files::WriteError& error) {
        return FileError{error.file(), error.what()};
    }
    return std::nullopt;
}

std::vector<fs::path> FindJournals(const fs::path& datapath) {
    std::vector<fs::path> journals;
    std::error_code error;
    for (fs::directory_iterator it(folders::recoveryFolder(datapath), error), end; !error && it != end;
         it.increment(error)) {
        if (it->path().extension() == kJournalExtension && it->is_regular_file(error))
            journals.push_back(it->path());
    }
    std::sort(journals.begin(), journals.end());
    return journals;
}

std::optional<FileError> WriteRecoveredFiles(const fs::path& datapath, const JournalState& state) {
    AdministrationRecord record;
    record.AfnameKey = state.key;
    record.MemoCom = state.memo;
    record.MdataFW = state.dataFW;
    record.MdataFV = state.dataFV;
    return WriteAdministrationFiles(record, datapath);
}

SetAsideResult SetJournalAside(const fs::path& datapath, const fs::path& journal,
                               Clock::time_point now) {
    const fs::path folder = SetAsideFolder(datapath);
    std::error_code error;
    try {
        files::CreatePrivateFolder(folder);
    } catch (const files::WriteError& failure) {
        return {{}, FileError{journal, failure.what()}};
    }
    fs::path target = folder / journal.filename();
    for (int n = 2; fs::exists(target, error) && n < 1000; ++n) {
        target = folder / (journal.stem().string() + " (" + std::to_string(n) + ")" +
                           std::string(kJournalExtension));
    }
    if (!error) fs::rename(journal, target, error);
    if (error) {
        return {{},
                FileError{journal, "Kan herstelbestand \"" + journal.string() +
                                       "\" niet apart zetten in \"" + folder.string() + "\" (" +
                                       LocalDateTimeText(now) + "). " + error.message()}};
    }
    return {target, std::nullopt};
}

std::optional<std::string> JournalKeeper::Update(const AdministrationRecord& record,
                                                 const fs::path& datapath, bool open,
                                                 Clock::time_point now) {
    if (!open) {
        if (journal_ && written_ && saved_ && *written_ == *saved_) {
            std::error_code ignored;
            fs::remove(*journal_, ignored);
        }
        Forget();
        return std::nullopt;
    }
    std::optional<JournalState> state = StateAtLastMark(record);
    if (!state || datapath.empty()) return std::nullopt;
    if (state == written_ && datapath == datapath_) return std::nullopt;
    if (state == attempted_ && datapath == datapath_) return std::nullopt;  // failed before
    attempted_ = state;
    datapath_ = datapath;
    if (std::optional<FileError> error = WriteJournal(datapath, *state, now)) {
        if (failureNotified_) return std::nullopt;
        failureNotified_ = true;
        return "Het herstelbestand kan niet worden bijgewerkt. " + error->message +
               "\nDe testafname gaat gewoon door. Sla de afname na afloop op; lukt dat niet, dan "
               "start de backup-procedure.";
    }
    const fs::path file = JournalPath(datapath, state->key);
    if (journal_ && *journal_ != file) {
        std::error_code ignored;  // the administration moved to another key
        fs::remove(*journal_, ignored);
    }
    journal_ = file;
    written_ = std::move(state);
    return std::nullopt;
}

void JournalKeeper::Saved(const AdministrationRecord& record) { saved_ = StateAtLastMark(record); }

void JournalKeeper::Forget() {
    journal_.reset();
    written_.reset();
    attempted_.reset();
    saved_.reset();
    failureNotified_ = false;
}

}  // namespace zor::record
