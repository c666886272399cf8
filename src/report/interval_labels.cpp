#include "report/interval_labels.h"

#include <array>
#include <cmath>
#include <utility>

namespace zor::report {
namespace {

using Bounds = std::pair<int, int>;
using List = std::array<Bounds, 19>;

constexpr List kSpeed = {{{1, 3}, {2, 3}, {3, 4}, {4, 6}, {4, 6}, {5, 7}, {6, 8}, {7, 9},
                          {8, 10}, {9, 11}, {10, 12}, {11, 13}, {12, 14}, {13, 15}, {14, 16},
                          {14, 16}, {15, 17}, {16, 18}, {17, 19}}};
constexpr List kAccuracy = {{{1, 4}, {2, 5}, {3, 6}, {3, 7}, {4, 7}, {5, 8}, {6, 9}, {7, 10},
                             {8, 11}, {8, 12}, {9, 12}, {10, 13}, {11, 14}, {12, 15}, {13, 16},
                             {13, 17}, {14, 17}, {15, 18}, {16, 19}}};
constexpr List kIndex = {{{1, 2}, {2, 3}, {3, 4}, {4, 5}, {5, 6}, {6, 7}, {6, 8}, {7, 9},
                          {8, 10}, {9, 11}, {10, 12}, {11, 13}, {12, 14}, {13, 14}, {14, 15},
                          {15, 16}, {16, 17}, {17, 18}, {18, 19}}};

const List& ListOf(IntervalList list) {
    switch (list) {
        case IntervalList::Speed: return kSpeed;
        case IntervalList::Accuracy: return kAccuracy;
        case IntervalList::Index: return kIndex;
    }
    return kSpeed;
}

// "[", lower bound right-aligned in two, " - ", upper bound left-aligned in two, "]".
std::string Format(Bounds bounds) {
    std::string lower = std::to_string(bounds.first);
    std::string upper = std::to_string(bounds.second);
    if (lower.size() < 2) lower.insert(0, 1, ' ');
    if (upper.size() < 2) upper.push_back(' ');
    return "[" + lower + " - " + upper + "]";
}

// Nearest whole number, a half going to the even neighbour.
long double RoundToEven(long double x) {
    const long double down = std::floor(x);
    const long double fraction = x - down;
    if (fraction > 0.5L) return down + 1;
    if (fraction < 0.5L) return down;
    return std::fmod(down, 2.0L) == 0 ? down : down + 1;
}

}  // namespace

std::string IntervalLabel(IntervalList list, long double score) {
    const long double rounded = RoundToEven(score);
    if (!(rounded >= 1 && rounded <= 19)) return kNoInterval;
    return Format(ListOf(list)[static_cast<std::size_t>(rounded) - 1]);
}

}  // namespace zor::report
