#include "norms/standard_scores.h"

#include <array>

namespace zor::norms {
namespace {

// One term of a regression formula: coefficient × x^xPower × a^aPower.
struct Term {
    long double coefficient;
    int xPower;
    int aPower;
};

long double Power(long double base, int exponent) {
    long double result = 1;
    for (int i = 0; i < exponent; ++i) result *= base;
    return result;
}

// Sums the terms in their table order, each in extended precision.
template <std::size_t N>
long double Evaluate(const std::array<Term, N>& terms, long double x, long double a) {
    long double sum = 0;
    for (const Term& term : terms)
        sum += term.coefficient * Power(x, term.xPower) * Power(a, term.aPower);
    return sum;
}

constexpr std::array<Term, 16> kSpeedFWTerms = {{
    {-0.237232354L, 1, 1},
    {22.859892473L, 0, 0},
    {-0.405969359L, 1, 0},
    {0.00613275L, 2, 1},
    {2.67949255L, 0, 1},
    {-5.6665e-5L, 3, 1},
    {0.002813146L, 2, 0},
    {3e-9L, 4, 3},
    {-4.503e-6L, 3, 2},
    {2.41e-7L, 4, 1},
    {-1.04e-7L, 4, 0},
    {-0.507120227L, 0, 2},
    {0.026990793L, 0, 3},
    {0.001051301L, 1, 3},
    {-7.3e-6L, 2, 4},
    {5.9117e-5L, 2, 3},
}};

constexpr std::array<Term, 7> kSpeedFVTerms = {{
    {-0.527241468L, 1, 1},
    {20.79435771L, 0, 0},
    {0.007973953L, 2, 2},
    {-5.3126e-5L, 3, 3},
    {1.2e-7L, 4, 4},
    {-1.04752e-4L, 1, 4},
    {0.022275301L, 0, 2},
}};

constexpr std::array<Term, 8> kAccuracyTerms = {{
    {5.0237e-5L, 0, 5},
    {-4.200749456L, 0, 0},
    {0.115283315L, 5, 1},
    {15.322131208L, 1, 0},
    {4.5132e-5L, 2, 5},
    {-2.066513887L, 4, 0},
    {-0.001475925L, 1, 4},
    {-4.5842e-5L, 5, 4},
}};

// Above this S (tens of seconds) the swap speed score of a band is 1; index = band.
constexpr std::array<long double, 9> kSpeedFVLimit = {0,     0,     82.4L, 54.1L, 39.4L,
                                                      30.0L, 23.5L, 18.4L, 14.3L};

constexpr long double kMaximum = 19;
constexpr long double kMinimum = 1;

bool InBands(int band, int first, int last) { return band >= first && band <= last; }

}  // namespace

long double Clamp(long double v) {
    if (v > kMaximum && v != 0) v = kMaximum;
    if (v < kMinimum && v != 0) v = kMinimum;
    return v;
}

long double SpeedScoreFW(int band, long double T) {
    if (!InBands(band, 1, 8) || T == kNotAvailable) return 0;
    long double score = Clamp(Evaluate(kSpeedFWTerms, T, band));
    if (T < 4 && score != 0) score = kMaximum;
    if (T > 120 && score != 0) score = kMinimum;
    return score;
}

long double AccuracyScoreFW(int band, long double CW) {
    if (band != 1 || CW == kNotAvailable) return 0;
    return Clamp(1.190454628L * CW + 1.132570506L);
}

long double IndexBand1(int band, long double speedScoreFW, long double accuracyScoreFW) {
    if (band != 1 || speedScoreFW == 0 || accuracyScoreFW == 0) return 0;
    return Clamp((speedScoreFW + accuracyScoreFW) * 0.621363648L - 2.452528064L);
}

long double SpeedScoreFV(int band, long double S) {
    if (!InBands(band, 2, 8) || S == kNotAvailable) return 0;
    long double score = Clamp(Evaluate(kSpeedFVTerms, S, band));
    if (S < 0.7L && score != 0) score = kMaximum;
    if (S > kSpeedFVLimit[band] && score != 0) score = kMinimum;
    return score;
}

long double SpeedScore(int band, long double speedScoreFW, long double speedScoreFV) {
    if (!InBands(band, 2, 8) || speedScoreFW == 0 || speedScoreFV == 0) return 0;
    return Clamp(((speedScoreFW + speedScoreFV) / 10) * 5.774376003L - 1.547894392L);
}

long double AccuracyScore(int band, long double C) {
    if (!InBands(band, 2, 4) || C == kNotAvailable) return 0;
    long double score = Evaluate(kAccuracyTerms, C, band + 6);
    if (band == 4 && C < 0.4L && score != 0) score = kMinimum;
    return Clamp(score);
}

long double IndexScore(int band, long double indexBand1, long double speedScore,
                       long double accuracyScore) {
    long double score = 0;
    if (band == 1 && indexBand1 != 0) {
        score = indexBand1;
    } else if (InBands(band, 2, 4) && speedScore != 0 && accuracyScore != 0) {
        score = (speedScore + accuracyScore) * 0.568574L - 1.39053L;
    } else if (speedScore != 0) {
        score = speedScore;
    }
    return Clamp(score);
}

StandardScores ComputeStandardScores(int band, const RawScores& raw) {
    StandardScores s;
    s.speedScoreFW = SpeedScoreFW(band, raw.T);
    s.accuracyScoreFW = AccuracyScoreFW(band, raw.CW);
    s.indexBand1 = IndexBand1(band, s.speedScoreFW, s.accuracyScoreFW);
    s.speedScoreFV = SpeedScoreFV(band, raw.S);
    s.speedScore = SpeedScore(band, s.speedScoreFW, s.speedScoreFV);
    s.accuracyScore = AccuracyScore(band, raw.C);
    s.indexScore = IndexScore(band, s.indexBand1, s.speedScore, s.accuracyScore);
    return s;
}

}  // namespace zor::norms
