#pragma once
// value × numerator / denominator through a 64-bit intermediate, rounded to the
// nearest whole number with halves away from zero, as the platform's MulDiv;
// -1 when the denominator is 0.
#include <cstdint>

namespace zor::emf {

constexpr std::int32_t mulDiv(std::int64_t value, std::int64_t numerator,
                              std::int64_t denominator) {
    if (denominator == 0) return -1;
    const std::int64_t product = value * numerator;
    const bool negative = (product < 0) != (denominator < 0);
    const std::int64_t p = product < 0 ? -product : product;
    const std::int64_t d = denominator < 0 ? -denominator : denominator;
    const std::int64_t magnitude = (p + d / 2) / d;
    return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

}  // namespace zor::emf
