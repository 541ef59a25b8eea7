// SPDX-License-Identifier: MIT
#include "tools/instant_text.h"

#include <cmath>

#include "almanac/date_value.h"

namespace kestrow {
namespace {

constexpr long long kSecondsPerDay = 86400;

// Written digit by digit into a buffer: a long table writes several of
// these a row, and the C library's formatted printing would be the largest
// part of its cost.
char* PutDigits(char* at, long long value, int width) {
    for (int i = width - 1; i >= 0; --i) {
        at[i] = static_cast<char>('0' + value % 10);
        value /= 10;
    }
    return at + width;
}

char* PutOffset(char* at, long seconds) {
    const long size = seconds < 0 ? -seconds : seconds;
    *at++ = seconds < 0 ? '-' : '+';
    at = PutDigits(at, size / 3600, 2);
    *at++ = ':';
    at = PutDigits(at, size % 3600 / 60, 2);
    // Old local mean times are not whole minutes off UT.
    if (size % 60 != 0) {
        *at++ = ':';
        at = PutDigits(at, size % 60, 2);
    }
    return at;
}

}  // namespace

std::string OffsetText(long seconds) {
    char text[16];
    return std::string(text, PutOffset(text, seconds));
}

std::string IsoInstantText(double instant, long offsetSeconds) {
    // Whole seconds, split into days and the second of the day with the
    // remainder kept positive, so that an instant before day 0 keeps its date.
    const long long total = std::llround(instant * kSecondsPerDay) + offsetSeconds;
    long long days = total / kSecondsPerDay;
    long long second = total % kSecondsPerDay;
    if (second < 0) {
        second += kSecondsPerDay;
        --days;
    }
    const DateValue date = static_cast<double>(days);
    char text[40];
    char* at = PutDigits(text, YearOf(date), 4);
    *at++ = '-';
    at = PutDigits(at, MonthOf(date), 2);
    *at++ = '-';
    at = PutDigits(at, DayOf(date), 2);
    *at++ = 'T';
    at = PutDigits(at, second / 3600, 2);
    *at++ = ':';
    at = PutDigits(at, second % 3600 / 60, 2);
    *at++ = ':';
    at = PutDigits(at, second % 60, 2);
    return std::string(text, PutOffset(at, offsetSeconds));
}

}  // namespace kestrow
