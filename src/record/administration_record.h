#pragma once
// The in-memory record of one administration: the subject fields as text, the
// per-item results of both subtests, the data lines of the two data files and
// the lines of the incomplete-administration file. The subject-entry screen owns
// one; the correction screen owns another of the same shape.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "norms/raw_scores.h"
#include "norms/standard_scores.h"
#include "record/calendar.h"
#include "record/data_line.h"
#include "record/string_grid.h"

namespace zor::record {

// The sex choice; the values are the radio group's item indexes.
enum class Sex { None = -1, Meisje = 0, Jongen = 1 };

// Longest code the test leader may type; a sequence suffix may lengthen it.
inline constexpr int kMaxTypedCodeLength = 30;
// Longest texts the entry screen accepts in its free-text fields.
inline constexpr std::size_t kMaxSchoolLength = 30;
inline constexpr std::size_t kMaxGroupLength = 2;
inline constexpr std::size_t kMaxTestLeaderLength = 30;

// What reading a data line into the record did.
struct ParseResult {
    enum class Outcome { kNoLine, kLoaded, kRejected };
    Outcome outcome = Outcome::kNoLine;
    std::string message;  // the box text of a refused line
    std::string problem;  // what is wrong with it, naming the field
};

// Band, raw totals and the seven standard scores of the record.
struct RecordScores {
    int band = 0;
    norms::RawTotals totals;
    norms::StandardScores scores;
};

class AdministrationRecord {
  public:
    static constexpr int kDataGridRows = 200;
    static constexpr int kScoreGridRows = 15;
    // Score grid columns: 0 row label, 1 time in tenths of a second, 2 "1" right / "0" wrong.
    static constexpr int kTimeColumn = 1;
    static constexpr int kMarkColumn = 2;
    // FW rows 0-2 hold the examples, 3-14 the twelve test items.
    static constexpr int kFirstItemRowFW = 3;

    AdministrationRecord();

    // Subject fields, as the entry screen shows them.
    std::string Ecode;
    Sex RGsekse = Sex::None;
    std::string Egebdag;
    std::string Egebmnd;
    std::string Egebjaar;
    std::string Eafndag;
    std::string Eafnmnd;
    std::string Eafnjaar;
    std::string Eschool;
    std::string Egroep;
    std::string Etl;
    // Last item done: FV "1".."12"; FW "vb1".."vb3", then "4".."15"; empty = none.
    std::string ELaatsteFV;
    std::string ElaatsteFW;
    // The age as years;months, set by MayContinue.
    std::string Edit3;

    // Today's date, set by the entry screen each time it is shown.
    Date AfnameDate;
    std::uint16_t AfnameYear = 0;
    std::uint16_t AfnameMonth = 0;
    std::uint16_t AfnameDay = 0;
    std::string AfnameKey;
    std::string VolgnrSuffix;
    std::string ResumeFileName;
    // 1 swap chosen first, 2 deletion first, 3 swap finished only, 4 deletion finished
    // only, 5 swap finished and deletion under way, 6 the reverse, 7 both finished.
    int AfnameStatus = 0;
    bool SubjectValid = false;
    int AgeMonths = 0;
    long double SpeedSSFW = 0;
    long double SpeedSSFV = 0;
    // The step each test screen administers next (1-based); the number of result
    // pairs in a data line is this minus one. The test screens keep them here.
    int CurrentStepFW = 1;
    int CurrentStepFV = 1;

    // Lines of the incomplete-administration file: 0 the key, 1 the sequence number.
    std::vector<std::string> MemoCom;
    // Lines of the two data files; line i of both belongs to the same administration.
    std::vector<std::string> MdataFW;
    std::vector<std::string> MdataFV;
    // 2 × 200: column 0 labels " 1" … " 200", column 1 a copy of the list line.
    StringGrid SGdataFW;
    StringGrid SGdataFV;
    // 3 × 15 per-item results (columns above).
    StringGrid SGRscoreFW;
    StringGrid SGRscoreFV;

    // Prepares a new administration: empties the subject fields, lists and results
    // and sets the administration date fields from AfnameDate. The entry screen
    // resets its introductions, test screens and buttons itself.
    void ResetAfname();
    // Builds the FW line, then the FV line, appends them and refreshes the grids.
    void AppendDataLines();
    // Rebuilds both lines (FW first) in place of line `row` (1-based).
    void ReplaceDataLines(int row);
    // 1-based row of the last FW data line whose code equals `code`; 0 for none.
    int FindSubjectRow(std::string_view code) const;
    // Age from birth to later as "years;months"; sets AgeMonths.
    std::string ComputeAge(const Date& later, const Date& birth);

    // Totals over the twelve test items, as text; throw norms::ConversionError for
    // a cell that is not a whole number.
    std::string TotalTimeFW() const;
    std::string TotalTimeFV() const;
    std::string TotalCorrectFW() const;
    std::string TotalCorrectFV() const;
    norms::RawTotals Totals() const;

    // Sets SpeedSSFW and SpeedSSFV from the totals and AgeMonths; nothing changes
    // when a cell does not convert.
    void BerekenSpeedSS();
    // Band and all seven scores at an age in months, as the report composes them.
    RecordScores ComputeScores(int ageMonths) const;

    std::string BuildDataLineFW();
    std::string BuildDataLineFV() const;
    // Fills the record from line `row` (1-based) of MdataFW / MdataFV. A refused
    // line resets the record and empties the data grid's column 1.
    ParseResult ParseDataLineFW(int row);
    ParseResult ParseDataLineFV(int row);

    // Checks the subject fields; when they are complete and the birth date is a
    // date, sets SubjectValid, Edit3 and AgeMonths and returns true; otherwise
    // clears SubjectValid and returns false.
    bool MayContinue();
    // Birth day, month and year of 2, 2 and 4 characters forming a calendar date.
    std::optional<Date> BirthDate() const;
    bool BirthDateFilled() const;
    // Ecode, "_", administration date as dd-mm-yyyy.
    std::string SubjectKey() const;
    // Splits AfnameDate into AfnameYear, AfnameMonth, AfnameDay and shows it in
    // Eafndag, Eafnmnd (two digits) and Eafnjaar.
    void ShowAfnameDate();
    // Copies every list line into column 1 of its data grid row.
    void RefreshDataGrids();

  private:
    std::string BuildDataLine(Subtest subtest) const;
    ParseResult ParseDataLine(Subtest subtest, int row);
};

}  // namespace zor::record
