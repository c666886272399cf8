#include "norms/age_band.h"

namespace zor::norms {

int AgeBand(int ageMonths, bool birthDateComplete) {
    constexpr int kFirstMonth = 78;
    constexpr int kLastMonth = 173;
    if (!birthDateComplete || ageMonths < kFirstMonth || ageMonths > kLastMonth) return kNoBand;
    return (ageMonths - kFirstMonth) / 12 + 1;
}

}  // namespace zor::norms
