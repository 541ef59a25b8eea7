// SPDX-License-Identifier: MIT
#include "date_value.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

#include "errors.h"

namespace kestrow {
namespace {

struct Civil {
    int year;
    int month;
    int day;
};

// Days from 1970-01-01 to a proleptic Gregorian date (H. Hinnant's algorithm).
constexpr std::int64_t DaysFromCivil(std::int64_t y, int m, int d) {
    y -= m <= 2 ? 1 : 0;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

constexpr Civil CivilFromDays(std::int64_t z) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    const int d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    const int m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    return {static_cast<int>(yoe + era * 400 + (m <= 2 ? 1 : 0)), m, d};
}

constexpr std::int64_t kSerialEpoch = DaysFromCivil(1899, 12, 30);
constexpr std::int64_t kFirstSerial = DaysFromCivil(100, 1, 1) - kSerialEpoch;
constexpr std::int64_t kLastSerial = DaysFromCivil(9999, 12, 31) - kSerialEpoch;
constexpr int kSecondsPerDay = 86400;

Civil CivilOf(DateValue value) {
    return CivilFromDays(static_cast<std::int64_t>(std::trunc(value)) + kSerialEpoch);
}

// Seconds since midnight of the time-of-day part, rounded to the second; a
// rounding that reaches 24:00 carries into the next day and reads 0.
int ClockSeconds(DateValue value) {
    const double fraction = std::fabs(value - std::trunc(value));
    const int seconds = static_cast<int>(std::floor(fraction * kSecondsPerDay + 0.5));
    return seconds >= kSecondsPerDay ? 0 : seconds;
}

double RoundHalfEven(double x) {
    const double low = std::floor(x);
    const double diff = x - low;
    if (diff > 0.5) return low + 1;
    if (diff < 0.5) return low;
    return std::fmod(low, 2.0) == 0.0 ? low : low + 1;
}

}  // namespace

DateValue MakeDate(std::int16_t year, std::int16_t month, std::int16_t day) {
    const int monthIndex = month - 1;
    const int yearShift = monthIndex >= 0 ? monthIndex / 12 : -((11 - monthIndex) / 12);
    const int y = year + yearShift;
    const int m = monthIndex - yearShift * 12 + 1;
    const std::int64_t serial = DaysFromCivil(y, m, 1) - kSerialEpoch + (day - 1);
    if (serial < kFirstSerial || serial > kLastSerial) {
        throw DateRangeError("the date " + std::to_string(year) + "-" + std::to_string(month) +
                             "-" + std::to_string(day) + " lies outside the years 100 to 9999");
    }
    return static_cast<DateValue>(serial);
}

DateValue MakeTime(std::int16_t hours, std::int16_t minutes, std::int16_t seconds) {
    const std::int64_t total =
        static_cast<std::int64_t>(hours) * 3600 + static_cast<std::int64_t>(minutes) * 60 + seconds;
    // Floor division: the day the moment falls on, and the seconds into it.
    std::int64_t days = total / kSecondsPerDay;
    std::int64_t into = total % kSecondsPerDay;
    if (into < 0) {
        into += kSecondsPerDay;
        days -= 1;
    }
    const double fraction = static_cast<double>(into) / kSecondsPerDay;
    const double whole = static_cast<double>(days);
    return days >= 0 ? whole + fraction : whole - fraction;
}

std::int32_t DaysBetween(DateValue from, DateValue to) {
    return static_cast<std::int32_t>(std::trunc(to) - std::trunc(from));
}

int DayOf(DateValue value) { return CivilOf(value).day; }
int MonthOf(DateValue value) { return CivilOf(value).month; }
int YearOf(DateValue value) { return CivilOf(value).year; }
int HourOf(DateValue value) { return ClockSeconds(value) / 3600; }
int MinuteOf(DateValue value) { return ClockSeconds(value) % 3600 / 60; }
int SecondOf(DateValue value) { return ClockSeconds(value) % 60; }

double RoundTo(double x, int decimals) {
    const double scale = std::pow(10.0, decimals);
    return RoundHalfEven(x * scale) / scale;
}

std::int16_t ToInt16(double x) {
    const double r = std::isnan(x) ? x : RoundHalfEven(x);
    if (!(r >= std::numeric_limits<std::int16_t>::min() &&
          r <= std::numeric_limits<std::int16_t>::max())) {
        // x in the shortest digits that read back as it, as a person would write it.
        char message[96] = "the number ";
        char* end = std::to_chars(message + 11, message + 48, x).ptr;
        std::strcpy(end, " does not fit the range -32768 to 32767");
        throw OverflowError(message);
    }
    return static_cast<std::int16_t>(r);
}

double FloorInt(double x) { return std::floor(x); }

double ToLinear(DateValue stored) {
    if (stored >= 0) return stored;
    const double w = std::trunc(stored);
    return w + (w - stored);
}

DateValue ToStored(double linear) {
    if (linear >= 0) return linear;
    const double w = std::floor(linear);
    return w - (linear - w);
}

DateValue AddDuration(DateValue moment, double duration) {
    return ToStored(ToLinear(moment) + duration);
}

double Elapsed(DateValue from, DateValue to) { return ToLinear(to) - ToLinear(from); }

}  // namespace kestrow
