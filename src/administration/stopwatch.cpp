#include "administration/stopwatch.h"

#include <chrono>
#include <cmath>
#include <ctime>
#include <stdexcept>

#include "norms/rounding.h"

namespace zor::administration {

namespace {

constexpr long double kSecondsPerDay = 86400;
// Days from 30 December 1899, the date value 0, to 1 January 1970.
constexpr double kUnixEpochDate = 25569;

constexpr char kDecimalSeparator = ',';
constexpr char kGroupSeparator = '.';
constexpr int kSignificantDigits = 5;

// The elapsed seconds as both time texts start from them: the run plus one
// 86400th of a second, rounded to one decimal.
long double RoundedSeconds(long double elapsedSeconds) {
    return norms::RoundN(elapsedSeconds + 1 / kSecondsPerDay, 1);
}

std::string Grouped(long long whole) {
    std::string digits = std::to_string(whole);
    std::string out;
    const int n = static_cast<int>(digits.size());
    for (int i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0) out += kGroupSeparator;
        out += digits[i];
    }
    return out;
}

// Five significant digits in scientific form, "1,2346E5".
std::string Scientific(long double value) {
    int exponent = static_cast<int>(std::floor(std::log10(value)));
    long long mantissa = std::llround(value / std::pow(10.0L, exponent - (kSignificantDigits - 1)));
    if (mantissa >= 100000) {
        mantissa /= 10;
        ++exponent;
    }
    std::string digits = std::to_string(mantissa);
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    std::string out = digits.substr(0, 1);
    if (digits.size() > 1) out += kDecimalSeparator + digits.substr(1);
    return out + "E" + std::to_string(exponent);
}

}  // namespace

void TYRChronometre::readCalendar(double& date, double& time) const {
    const auto now = clock_.wallNow();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&seconds, &local);
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() %
        1000;
    const long long sinceMidnight = local.tm_hour * 3600LL + local.tm_min * 60LL + local.tm_sec;
    time = (static_cast<double>(sinceMidnight) * 1000 + static_cast<double>(ms)) / 86400000.0;
    const long long localSeconds = static_cast<long long>(seconds) + local.tm_gmtoff;
    date = kUnixEpochDate + std::floor(static_cast<double>(localSeconds) / 86400.0);
}

void TYRChronometre::ChronoStart() {
    if (ChronoOn) return;
    readCalendar(StartDate, StartTime);
    startMs_ = clock_.nowMs();
    ChronoOn = true;
    StopDate = 0;
    StopTime = 0;
}

void TYRChronometre::ChronoStop() {
    if (!ChronoOn) return;
    readCalendar(StopDate, StopTime);
    stopMs_ = clock_.nowMs();
    ChronoOn = false;
}

long double TYRChronometre::ChronoElapsed() const {
    const std::int64_t reference = ChronoOn ? clock_.nowMs() : stopMs_;
    return static_cast<long double>(reference - startMs_) / 1000;
}

int TYRChronometre::ChronoDays(double a, double b) {
    const double days = std::nearbyint(a - b);
    if (!(days >= 0 && days <= 65535)) throw std::range_error("Range check error");
    return static_cast<int>(days);
}

std::string RunningTimeText(long double elapsedSeconds) {
    const long double t = RoundedSeconds(elapsedSeconds);
    const std::string sign = t < 0 ? "-" : "";
    const long double magnitude = std::fabs(t);
    const long long tenths = std::llround(magnitude * 10);
    if (tenths < 100000) {
        return sign + Grouped(tenths / 10) + kDecimalSeparator + std::to_string(tenths % 10);
    }
    // Five integer digits leave no room for the decimal within five
    // significant digits: rounded to whole seconds, shown with ",0".
    const long long whole = std::llround(magnitude);
    if (whole < 100000) return sign + Grouped(whole) + kDecimalSeparator + "0";
    return sign + Scientific(magnitude);
}

std::string RunningTimeCaption(long double elapsedSeconds) {
    return "Tijd: " + RunningTimeText(elapsedSeconds) + " sec.";
}

std::string StoredTimeText(long double elapsedSeconds) {
    // Always whole tenths in plain digits, also beyond five digits: the
    // totals of the report read this cell as a whole number.
    return std::to_string(std::llround(RoundedSeconds(elapsedSeconds) * 10));
}

}  // namespace zor::administration
