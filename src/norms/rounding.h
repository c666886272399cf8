#pragma once
// Rounding rules shared by the stopwatch, the data lines and the report: all
// round halves away from zero in extended precision.
#include <cstdint>

namespace zor::norms {

// x rounded to n decimals, halves away from zero; n must lie in -12..12,
// otherwise std::out_of_range "RoundN: Value must be in -12..12".
long double RoundN(long double x, int n);

// x rounded to n decimals, halves away from zero: with p = 10^n,
// (trunc(x·p) + trunc(2·frac(x·p))) / p. Used with n = 1 for every shown score.
long double RoundD(int n, long double x);

// Whole part of x, plus one when the fraction is 0.5 or more.
std::int64_t RoundHalfUp(long double x);

}  // namespace zor::norms
