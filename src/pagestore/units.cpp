#include "pagestore/units.h"

#include <climits>

#include "emf/mul_div.h"

namespace zor::pagestore {
namespace {

int unitsPerInch(TUnits unit, int dotsPerInch) {
    switch (unit) {
        case mmPixel:
            return dotsPerInch;
        case mmLoMetric:
            return 254;
        case mmHiMetric:
            return 2540;
        case mmLoEnglish:
            return 100;
        case mmHiEnglish:
            return 1000;
        case mmTWIPS:
            return 1440;
        case mmPoints:
            return 72;
    }
    return 1;
}

// Exact products stay in range: the result saturates instead of wrapping.
int saturate(long long v) {
    if (v > INT_MAX) return INT_MAX;
    if (v < INT_MIN) return INT_MIN;
    return static_cast<int>(v);
}

}  // namespace

int convertUnits(int value, int dotsPerInch, TUnits from, TUnits to, int screenDotsPerInch) {
    if (from == to) {
        if (from == mmPixel) return emf::mulDiv(value, dotsPerInch, screenDotsPerInch);
        return value;
    }
    if ((from == mmLoMetric && to == mmHiMetric) || (from == mmLoEnglish && to == mmHiEnglish))
        return saturate(value * 10LL);
    if (from == mmPoints && to == mmTWIPS) return saturate(value * 20LL);
    if ((from == mmHiMetric && to == mmLoMetric) || (from == mmHiEnglish && to == mmLoEnglish))
        return value / 10;
    if (from == mmTWIPS && to == mmPoints) return value / 20;
    return emf::mulDiv(value, unitsPerInch(to, dotsPerInch), unitsPerInch(from, dotsPerInch));
}

}  // namespace zor::pagestore
