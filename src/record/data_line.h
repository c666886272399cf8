#pragma once
// The data line: one subtest of one administration as ";"-separated fields.
//   0 code, 1 subtest ("FW"/"FV"), 2 sex, 3-5 birth day, month, year,
//   6-8 administration day, month, year, 9 school, 10 group, 11 test leader,
//   12 last item done, 13 status, then time and mark of each step passed,
//   then, once the subtest is finished, its speed standard score.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "record/calendar.h"

namespace zor::record {

enum class Subtest { FW, FV };

namespace field {
inline constexpr int kCode = 0;
inline constexpr int kSubtest = 1;
inline constexpr int kSex = 2;
inline constexpr int kBirthDay = 3;
inline constexpr int kBirthMonth = 4;
inline constexpr int kBirthYear = 5;
inline constexpr int kAfnameDay = 6;
inline constexpr int kAfnameMonth = 7;
inline constexpr int kAfnameYear = 8;
inline constexpr int kSchool = 9;
inline constexpr int kGroup = 10;
inline constexpr int kTestLeader = 11;
inline constexpr int kLastItem = 12;
inline constexpr int kStatus = 13;
inline constexpr int kFirstPair = 14;
}  // namespace field

// Fields beyond this number are ignored when a line is read.
inline constexpr int kMaxDataLineFields = 50;
// The longest subject code a data line may carry: 30 typed characters and a
// sequence suffix such as " #12".
inline constexpr std::size_t kMaxCodeLength = 40;
// An item time is a whole number of tenths of a second of at most five digits
// (the stopwatch keeps five significant digits).
inline constexpr std::size_t kMaxTimeDigits = 5;
// Dates before this year are no birth or administration dates of a child tested today.
inline constexpr int kFirstStoredYear = 1900;

// "FW" or "FV".
std::string_view SubtestCode(Subtest subtest);
// Result rows of a subtest: 15 for FW (3 examples, 12 items), 12 for FV.
int ResultRows(Subtest subtest);
// The box text shown when a line is refused.
std::string_view RejectionMessage(Subtest subtest);

// Always kMaxDataLineFields fields; fields not present are empty.
std::vector<std::string> SplitDataLine(std::string_view line);

// A text as a data-line field: a ";" would split the field and a line break
// the line, so ";" becomes "," and control characters become spaces.
std::string DataField(std::string_view text);

// A field's text in double quotes for a message, cut after 20 characters and
// made printable.
std::string QuotedField(std::string_view text);

// The finished subtest carries its speed score: FW at status 4, 6 and 7, FV at 3, 5 and 7.
bool StatusCallsForScore(Subtest subtest, int status);

// A score rounded to one decimal in its shortest general form, for example
// "10,5", "7" or "0" with a comma as separator.
std::string FormatScore(long double score, char decimalSeparator);

// The step number of a last-item text: 0 for none (empty), "vb1".."vb3" are
// steps 1..3 of FW; nothing when the text is no item of the subtest.
std::optional<int> LastItemStep(Subtest subtest, std::string_view lastItem);

// Whether a character may appear in a subject code: the characters the code
// field accepts, and the space of a sequence suffix.
bool IsCodeCharacter(char c);

// A date as a data line stores it: day and month of two digits, a year of four
// digits from kFirstStoredYear on, together a calendar date.
std::optional<Date> StoredDate(std::string_view day, std::string_view month, std::string_view year);

// Why the line is no sound data line of the subtest, or nothing when it is. The
// message is Dutch and names the field (counted from 1). Checked: the subtest,
// the code, the sex, the birth and administration dates (real dates, birth
// first), status and last item, and that the result pairs and the score present
// are exactly those that status and last item call for, with values in range.
std::optional<std::string> FindDataLineProblem(std::string_view line, Subtest subtest);

}  // namespace zor::record
