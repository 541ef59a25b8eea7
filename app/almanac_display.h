// SPDX-License-Identifier: MIT
// The daily almanac: today's sunrise, sunset, length of day and its change
// since yesterday, as the four texts of the main window.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "almanac/coordinate.h"
#include "almanac/date_value.h"
#include "clock.h"

namespace kestrow {

// Today's calendar fields, all from one reading of the clock.
struct CalendarDay {
    std::int16_t day = 0;
    std::int16_t month = 0;
    std::int16_t year = 0;
    // Today's day of month less one, used only as a day argument: 0 on the
    // first of a month stands for the last day of the month before.
    DateValue prevDay = 0;
};

// The calendar fields of a date, with the day before as a day argument.
CalendarDay CalendarDayOf(DateValue date);

// Today, from the local date of one reading of the clock.
CalendarDay ReadToday(const ClockReading& reading);

// The main window's labels: the four texts of the almanac, then the three
// captions above them, which carry the date in their hover texts.
enum class AlmanacLabel {
    Sunrise,
    Sunset,
    DayLength,
    Change,
    SunriseCaption,
    SunsetCaption,
    DayLengthCaption,
};

// Where the four texts go, one at a time, in the order they are computed.
class AlmanacSink {
  public:
    virtual ~AlmanacSink() = default;
    virtual void SetAlmanacText(AlmanacLabel label, const std::string& text) = 0;
};

struct AlmanacPlace {
    Coordinate latitude;
    Coordinate longitude;
    std::string decimalSeparator = ".";
};

// Today's results on the displayed clock.
struct AlmanacTimes {
    DateValue rise = 0;
    DateValue set = 0;
    double length = 0;  // days
};

struct AlmanacTexts {
    std::string sunrise;
    std::string sunset;
    std::string length;
    std::string change;
};

// "8 h 45": hour, " h ", two-digit minute of a clock time.
std::string ClockTimeText(DateValue time);
// Length of day from its rounded whole seconds: "8 h 16", "24 h 00".
std::string DayLengthText(double length);
// Change of the length of day: "+ 1 mn", "- 5 s", "+ 1 h 20".
std::string LengthChangeText(double today, double yesterday);

// Computes and hands the texts to `sink` in the order sunrise, sunset,
// length, change. UT is moved to the displayed clock by two hours when
// offsetTU is exactly 2, by one hour otherwise. A failure (a coordinate that
// is not a number, say) is thrown at the step where it arises; the texts
// handed over before it stand.
AlmanacTimes ShowAlmanac(const AlmanacPlace& place, const CalendarDay& today,
                         std::optional<double> offsetTU, AlmanacSink& sink);

// The four texts at once, for callers without a window.
AlmanacTexts ComputeAlmanacTexts(const AlmanacPlace& place, const CalendarDay& today,
                                 std::optional<double> offsetTU);

}  // namespace kestrow
