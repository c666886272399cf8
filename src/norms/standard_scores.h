#pragma once
// The seven standard scores on the Wechsler scale (1..19, mean 10) from the raw
// scores and the age band. A score that cannot be formed is exactly 0.
#include "norms/raw_scores.h"

namespace zor::norms {

// v limited to 1..19; an exact 0 (not computed) stays 0.
long double Clamp(long double v);

long double SpeedScoreFW(int band, long double T);
long double AccuracyScoreFW(int band, long double CW);
long double IndexBand1(int band, long double speedScoreFW, long double accuracyScoreFW);
long double SpeedScoreFV(int band, long double S);
long double SpeedScore(int band, long double speedScoreFW, long double speedScoreFV);
long double AccuracyScore(int band, long double C);
long double IndexScore(int band, long double indexBand1, long double speedScore,
                       long double accuracyScore);

struct StandardScores {
    long double speedScoreFW = 0;
    long double accuracyScoreFW = 0;
    long double indexBand1 = 0;
    long double speedScoreFV = 0;
    long double speedScore = 0;
    long double accuracyScore = 0;
    long double indexScore = 0;
};

// All seven scores of one administration; band 0 gives all zero.
StandardScores ComputeStandardScores(int band, const RawScores& raw);

}  // namespace zor::norms
