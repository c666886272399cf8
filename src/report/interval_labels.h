#pragma once
// Confidence-interval labels of the standard scores: one fixed list each for
// speed, accuracy and the index, nine characters per label.
#include <string>

namespace zor::report {

enum class IntervalList { Speed, Accuracy, Index };

// Where no interval applies.
inline constexpr const char* kNoInterval = "[ n.v.t. ]";

// The label of the list for a score rounded to the nearest whole number (a half
// to the even neighbour); kNoInterval when the rounded score lies outside 1..19.
std::string IntervalLabel(IntervalList list, long double score);

}  // namespace zor::report
