#include "norms/raw_scores.h"

#include <charconv>
#include <limits>

#include "norms/rounding.h"

namespace zor::norms {
namespace {

std::int64_t SumCells(const ItemCells& cells) {
    std::int64_t sum = 0;
    for (std::string_view cell : cells) sum += cell.empty() ? kEmptyCellValue : CellToInt(cell);
    return sum;
}

}  // namespace

namespace {

std::string ConversionMessage(std::string_view text) {
    std::string message = "'";
    message += text;
    message += "' is geen geldige integerwaarde";
    return message;
}

}  // namespace

ConversionError::ConversionError(std::string_view text)
    : std::runtime_error(ConversionMessage(text)) {}

std::int32_t CellToInt(std::string_view text) {
    std::string_view digits = text;
    if (!digits.empty() && (digits.front() == '+' || digits.front() == '-'))
        digits.remove_prefix(1);
    if (digits.empty() || digits.find_first_not_of("0123456789") != std::string_view::npos) {
        throw ConversionError(text);
    }
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc() || value > std::numeric_limits<std::int32_t>::max()) {
        throw ConversionError(text);
    }
    return static_cast<std::int32_t>(text.front() == '-' ? -value : value);
}

std::int64_t TotalTimeSeconds(const ItemCells& timeCells) {
    return RoundHalfUp(static_cast<long double>(SumCells(timeCells)) / 10);
}

std::int64_t TotalCorrect(const ItemCells& markCells) { return SumCells(markCells); }

RawScores FormRawScores(const RawTotals& totals) {
    RawScores raw;
    if (totals.timeFW < 1000) raw.T = totals.timeFW;
    if (totals.timeFV < 1000) raw.S = static_cast<long double>(totals.timeFV) / 10;
    if (totals.correctFW < 13) raw.CW = totals.correctFW;
    if (totals.correctFV < 13) raw.CV = totals.correctFV;
    if (raw.CW != kNotAvailable && raw.CV != kNotAvailable) raw.C = (raw.CV + raw.CW) / 10;
    return raw;
}

}  // namespace zor::norms
