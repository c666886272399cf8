#pragma once
// Scoring one stored administration from its two data files.
#include <filesystem>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "record/administration_record.h"
#include "record/calendar.h"

namespace zor::tool {

namespace fs = std::filesystem;

// Today on this machine's clock: the latest administration date (plus one day)
// a stored administration may carry.
record::Date Today();

struct AdministrationScores {
    std::string code;
    std::optional<int> ageMonths;  // none without a birth date
    record::RecordScores scores;
};

// Why an administration could not be scored: "file:line: reason" or "file: reason".
struct ScoringError {
    std::string message;
};

// Scores administrations one after another in one record, which is costly to
// create and is filled completely by every pair of data lines.
class AdministrationScorer {
  public:
    // `today` bounds the administration dates the data files may carry.
    explicit AdministrationScorer(const record::Date& today);

    // Reads the two data files through the one reader of stored administrations
    // and scores the administration at `date`, or at its administration date
    // when absent.
    std::variant<AdministrationScores, ScoringError> Score(const fs::path& dataFW,
                                                           const fs::path& dataFV,
                                                           const std::optional<record::Date>& date);

  private:
    record::Date today_;
    record::AdministrationRecord admin_;
};

// The names of the printed values, in their order.
const std::vector<std::string>& ScoreNames();
// The printed values of one administration, in the order of ScoreNames(); the
// standard scores rounded to one decimal with a decimal point.
std::vector<std::string> ScoreValues(const AdministrationScores& scores);

}  // namespace zor::tool
