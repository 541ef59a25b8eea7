// SPDX-License-Identifier: MIT
#include "clock.h"

namespace kestrow {

ClockReading ReadingAt(std::time_t instant) {
    std::tm local{};
    std::tm utc{};
    localtime_r(&instant, &local);
    gmtime_r(&instant, &utc);
    ClockReading reading;
    const int secondOfDay = local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec;
    reading.local = MakeDate(static_cast<std::int16_t>(local.tm_year + 1900),
                             static_cast<std::int16_t>(local.tm_mon + 1),
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
