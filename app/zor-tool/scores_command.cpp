// zor-tool scores: the standard scores of stored administrations, computed again
// from their data files.
//   zor-tool scores [--date dd-mm-jjjj] FW.wda FV.vda
//   zor-tool scores [--date dd-mm-jjjj] datamap sleutel
//   zor-tool scores [--date dd-mm-jjjj] [-j N] --csv datamap
// A data folder is the "Data" folder itself or the folder that holds it. --csv
// scores the administrations on N threads (default: one per core); the table is
// in key order whatever N is.
#include <algorithm>
#include <set>

#include "administration_scores.h"
#include "command_line.h"
#include "folders/folders.h"
#include "parallel_items.h"
#include "record/administration_files.h"
#include "subcommand.h"

namespace zor::tool {
namespace {

struct ScoresOptions {
    std::optional<record::Date> date;
    bool csv = false;
    int jobs = 1;
    std::vector<std::string> operands;
};

std::optional<ScoresOptions> ParseOptions(const Arguments& arguments, std::ostream& out,
                                          std::ostream& err, int& status) {
    const std::optional<FolderCommandLine> parsed =
        ParseFolderCommandLine("scores", arguments, out, err, status);
    if (!parsed) return std::nullopt;
    ScoresOptions options{parsed->date, parsed->line.has("--csv"), parsed->jobs,
                          parsed->line.operands};
    if (options.operands.size() != (options.csv ? 1u : 2u)) {
        status = UsageError(*FindSubcommand("scores"), "verkeerd aantal argumenten", err);
        return std::nullopt;
    }
    return options;
}

fs::path DataFolderOf(const fs::path& folder) {
    std::error_code error;
    const fs::path data = folders::dataFilesFolder(folder);
    return fs::is_directory(data, error) ? data : folder;
}

// Keys of every administration in the folder that has a data file of either subtest.
std::optional<std::vector<std::string>> KeysIn(const fs::path& folder, std::ostream& err) {
    std::error_code error;
    fs::directory_iterator entries(folder, error);
    if (error) {
        err << "zor-tool scores: " << folder.string() << ": " << error.message() << "\n";
        return std::nullopt;
    }
    std::set<std::string> keys;
    for (const fs::directory_entry& entry : entries) {
        const std::string name = entry.path().filename().string();
        for (const folders::DataFile which : {folders::DataFile::deletion, folders::DataFile::swap}) {
            if (auto key = folders::keyOfDataFileName(name, which)) keys.insert(std::move(*key));
        }
    }
    return std::vector<std::string>(keys.begin(), keys.end());
}

// A table cell; quoted when it holds a comma, a quote or a line break.
std::string CsvCell(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

std::variant<AdministrationScores, ScoringError> ScoreKey(AdministrationScorer& scorer,
                                                          const fs::path& folder,
                                                          const std::string& key,
                                                          const ScoresOptions& options) {
    return scorer.Score(folder / folders::dataFileName(key, folders::DataFile::deletion),
                        folder / folders::dataFileName(key, folders::DataFile::swap), options.date);
}

int PrintOne(const ScoresOptions& options, std::ostream& out, std::ostream& err) {
    std::error_code error;
    const fs::path first = options.operands[0];
    AdministrationScorer scorer(Today());
    const auto scored = fs::is_directory(first, error)
                            ? ScoreKey(scorer, DataFolderOf(first), options.operands[1], options)
                            : scorer.Score(first, options.operands[1], options.date);
    if (const auto* failure = std::get_if<ScoringError>(&scored)) {
        err << "zor-tool scores: " << failure->message << "\n";
        return kExitFailure;
    }
    const std::vector<std::string> values = ScoreValues(std::get<AdministrationScores>(scored));
    std::string text;
    for (std::size_t i = 0; i < values.size(); ++i)
        text += ScoreNames()[i] + "=" + values[i] + "\n";
    out << text;
    return kExitSuccess;
}

int PrintTable(const ScoresOptions& options, std::ostream& out, std::ostream& err) {
    const fs::path folder = DataFolderOf(options.operands[0]);
    const auto keys = KeysIn(folder, err);
    if (!keys) return kExitFailure;

    std::string table = "key";
    for (const std::string& name : ScoreNames()) table += "," + name;
    table += "\n";
    // One scorer per thread: a scorer's record is reused from one administration to the next.
    std::vector<AdministrationScorer> scorers(std::size_t(std::max(options.jobs, 1)),
                                              AdministrationScorer(Today()));
    out << table;
    const ParallelRun run{options.jobs, ProgressStreamFor(err), "afnames"};
    return RunItems(
        keys->size(), run,
        [&](std::size_t item, std::size_t worker) {
            const std::string& key = (*keys)[item];
            const auto scored = ScoreKey(scorers[worker], folder, key, options);
            if (const auto* failure = std::get_if<ScoringError>(&scored)) {
                return ItemResult{false, "", "zor-tool scores: " + failure->message + "\n"};
            }
            std::string row = CsvCell(key);
            for (const std::string& value : ScoreValues(std::get<AdministrationScores>(scored))) {
                row += ',';
                row += CsvCell(value);
            }
            return ItemResult{true, row + "\n", ""};
        },
        out, err);
}

}  // namespace

int RunScores(const Arguments& arguments, std::ostream& out, std::ostream& err) {
    int status = kExitSuccess;
    const std::optional<ScoresOptions> options = ParseOptions(arguments, out, err, status);
    if (!options) return status;
    return options->csv ? PrintTable(*options, out, err) : PrintOne(*options, out, err);
}

}  // namespace zor::tool
