#include "norms/rounding.h"

#include <cmath>
#include <stdexcept>

namespace zor::norms {
namespace {

// Powers of ten as exact integers, so that the scaling adds no error of its own.
long double PowerOfTen(int n) {
    long double p = 1;
    for (int i = 0; i < n; ++i) p *= 10;
    return p;
}

long double RoundWhole(long double y) {
    const long double whole = std::trunc(y);
    return whole + std::trunc((y - whole) * 2);
}

}  // namespace

long double RoundN(long double x, int n) {
    if (n < -12 || n > 12) throw std::out_of_range("RoundN: Value must be in -12..12");
    if (n > 0) return RoundWhole(x * PowerOfTen(n)) / PowerOfTen(n);
    if (n < 0) return RoundWhole(x / PowerOfTen(-n)) * PowerOfTen(-n);
    return RoundWhole(x);
}

long double RoundD(int n, long double x) {
    const long double p = n >= 0 ? PowerOfTen(n) : 1 / PowerOfTen(-n);
    return RoundWhole(x * p) / p;
}

std::int64_t RoundHalfUp(long double x) {
    const long double whole = std::trunc(x);
    return static_cast<std::int64_t>(whole) + (x - whole >= 0.5L ? 1 : 0);
}

}  // namespace zor::norms
