#pragma once
// Raw scores of one administration: the totals over the twelve test items of
// each subtest and the inputs T, S, CW, CV and C of the norm formulas.
#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace zor::norms {

// A raw score that cannot be formed.
inline constexpr long double kNotAvailable = 999;
// An empty result cell counts as this many tenths (time) or right answers (mark).
inline constexpr std::int64_t kEmptyCellValue = 999;
inline constexpr int kTestItems = 12;

// A result cell whose text is not a whole number.
class ConversionError : public std::runtime_error {
  public:
    explicit ConversionError(std::string_view text);
};

// The cells of the twelve test items of one subtest, in item order.
using ItemCells = std::array<std::string_view, kTestItems>;

// Whole number of a cell: optional sign and decimal digits in the 32-bit range.
// Throws ConversionError otherwise.
std::int32_t CellToInt(std::string_view text);

// Sum of the time cells (tenths; empty = 999) divided by 10 and rounded half
// up to whole seconds, before any 999 substitution.
std::int64_t TotalTimeSeconds(const ItemCells& timeCells);
// Sum of the mark cells (empty = 999), before any 999 substitution.
std::int64_t TotalCorrect(const ItemCells& markCells);

// The four totals as the record's total functions return them.
struct RawTotals {
    std::int64_t timeFW = 0;
    std::int64_t timeFV = 0;
    std::int64_t correctFW = 0;
    std::int64_t correctFV = 0;
};

// The inputs of the norm formulas, 999 where not available.
struct RawScores {
    long double T = kNotAvailable;   // FW seconds
    long double S = kNotAvailable;   // FV seconds / 10
    long double CW = kNotAvailable;  // FW right answers
    long double CV = kNotAvailable;  // FV right answers
    long double C = kNotAvailable;   // (CV + CW) / 10
};

RawScores FormRawScores(const RawTotals& totals);

}  // namespace zor::norms
