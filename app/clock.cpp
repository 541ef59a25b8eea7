// SPDX-License-Identifier: MIT
#include "clock.h"

#include <string>

#include "almanac/errors.h"

namespace kestrow {

ClockReading ReadingAt(std::time_t instant) {
    std::tm local{};
    std::tm utc{};
    if (localtime_r(&instant, &local) == nullptr || gmtime_r(&instant, &utc) == nullptr) {
        throw DateRangeError("the clock reads a moment that no calendar year can hold");
    }
    // Checked before it is narrowed to the 16 bits of a date's year, which
    // would make the year 65684 into 148.
    const long long year = local.tm_year + 1900LL;
    if (year < 100 || year > 9999) {
        throw DateRangeError("the clock reads the year " + std::to_string(year) +
                             ", which lies outside the years 100 to 9999");
    }
    ClockReading reading;
    const int secondOfDay = local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec;
    reading.local =
        MakeDate(static_cast<std::int16_t>(year), static_cast<std::int16_t>(local.tm_mon + 1),
                 static_cast<std::int16_t>(local.tm_mday)) +
        secondOfDay / 86400.0;
    reading.utcHour = utc.tm_hour;
    reading.utcMinute = utc.tm_min;
    reading.utcSecond = utc.tm_sec;
    return reading;
}

long Clock::UtcOffsetAt(std::time_t instant) const {
    std::tm local{};
    localtime_r(&instant, &local);
    return local.tm_gmtoff;
}

ClockReading SystemClock::Read() const { return ReadingAt(std::time(nullptr)); }

}  // namespace kestrow
