// SPDX-License-Identifier: MIT
#include "tools/instant_text.h"

#include <cmath>
#include <cstdio>

#include "almanac/date_value.h"

namespace kestrow {
namespace {

constexpr long long kSecondsPerDay = 86400;

}  // namespace

std::string OffsetText(long seconds) {
    const long size = seconds < 0 ? -seconds : seconds;
    char text[16];
    const int hours = static_cast<int>(size / 3600);
    const int minutes = static_cast<int>(size % 3600 / 60);
    // Old local mean times are not whole minutes off UT.
    if (size % 60 != 0) {
        std::snprintf(text, sizeof text, "%c%02d:%02d:%02d", seconds < 0 ? '-' : '+', hours,
                      minutes, static_cast<int>(size % 60));
    } else {
        std::snprintf(text, sizeof text, "%c%02d:%02d", seconds < 0 ? '-' : '+', hours, minutes);
    }
    return text;
}

std::string IsoInstantText(double instant, long offsetSeconds) {
    // From whole seconds: a serial before day 0 keeps its time of day
    // counted forward, which whole days do not need.
    const long long total = std::llround(instant * kSecondsPerDay) + offsetSeconds;
    long long days = total / kSecondsPerDay;
    long long second = total % kSecondsPerDay;
    if (second < 0) {
        second += kSecondsPerDay;
        --days;
    }
    const DateValue date = static_cast<double>(days);
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d", YearOf(date), MonthOf(date),
                  DayOf(date), static_cast<int>(second / 3600),
                  static_cast<int>(second % 3600 / 60), static_cast<int>(second % 60));
    return text + OffsetText(offsetSeconds);
}

}  // namespace kestrow
