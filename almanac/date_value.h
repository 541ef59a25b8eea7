// SPDX-License-Identifier: MIT
// Date values: one double holds a date, a time of day or a duration.
//
// The whole-day part counts days from 30 December 1899 (day 0); the fraction
// is the time of day as a part of 24 hours. A negative value keeps its
// whole-day part toward zero and its time of day as the magnitude of what
// remains: -1.25 is day -1 at 06:00. Moments before day 0 are stored that way,
// so plain arithmetic on them goes wrong; ToLinear/ToStored and the two helpers
// built on them do moment arithmetic on a continuous time line instead.
//
// Source: the proleptic Gregorian calendar, converted with H. Hinnant's
// days_from_civil and civil_from_days ("chrono-Compatible Low-Level Date
// Algorithms", 2013).
#pragma once

#include <cstdint>

namespace kestrow {

using DateValue = double;

// The calendar day year-month-day at 00:00. The month is first brought into
// 1..12 by moving whole years; then day - 1 days are added to the first of
// that month, so day 0 is the last day of the month before.
// Throws DateRangeError when the date falls outside 1 Jan 100 .. 31 Dec 9999.
DateValue MakeDate(std::int16_t year, std::int16_t month, std::int16_t day);

// The moment hours*3600 + minutes*60 + seconds seconds after 00:00 of day 0.
// A negative total is stored by the negative-value rule: MakeTime(-1, 0, 0)
// is -1.958333... and reads 23:00.
DateValue MakeTime(std::int16_t hours, std::int16_t minutes, std::int16_t seconds);

// Midnights passed from `from` to `to`: whole-day part of `to` minus that of
// `from` (parts taken toward zero).
std::int32_t DaysBetween(DateValue from, DateValue to);

// Calendar and clock fields. Clock fields are read after rounding the time of
// day to the nearest second; whole days are ignored.
int DayOf(DateValue value);
int MonthOf(DateValue value);
int YearOf(DateValue value);
int HourOf(DateValue value);
int MinuteOf(DateValue value);
int SecondOf(DateValue value);

// x * 10^decimals rounded to the nearest whole number, halves to even,
// divided by 10^decimals.
double RoundTo(double x, int decimals);

// x rounded to the nearest whole number, halves to even.
// Throws OverflowError outside -32768..32767 (and for NaN).
std::int16_t ToInt16(double x);

// The largest whole number not above x, as a double.
double FloorInt(double x);

// A stored moment as days on a continuous line: v for v >= 0, otherwise
// w + (w - v) with w = v truncated toward zero.
double ToLinear(DateValue stored);

// The inverse of ToLinear: l for l >= 0, otherwise w - (l - w) with w = floor(l).
DateValue ToStored(double linear);

// A moment moved by a duration (days), in the stored form.
DateValue AddDuration(DateValue moment, double duration);

// The duration from one moment to another, in days.
double Elapsed(DateValue from, DateValue to);

}  // namespace kestrow
