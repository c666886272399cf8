#pragma once
// Age bands of the norms: 1 to 8 in steps of twelve months from 78 months on.

namespace zor::norms {

inline constexpr int kNoBand = 0;

// Band 1 (78..89 months) to 8 (162..173 months); 0 outside the norms or when
// the birth date is incomplete.
int AgeBand(int ageMonths, bool birthDateComplete);

}  // namespace zor::norms
