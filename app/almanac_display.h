// SPDX-License-Identifier: MIT
// The format step: one local date's sun as the four texts of the main window,
// today's sunrise, sunset, length of day and its change since yesterday.
#pragma once

#include <string>
#include <string_view>

#include "almanac/date_value.h"
#include "almanac/day_events.h"
#include "day_almanac.h"
#include "shown_clock.h"

namespace kestrow {

struct AlmanacTexts {
    std::string sunrise;
    std::string sunset;
    std::string length;
    std::string change;
};

// Text of the clock fields by a pattern read left to right: "h" hour (0-23),
// "nn" two-digit minute, "n" minute, "s" second; other characters are copied.
std::string ClockText(DateValue value, std::string_view pattern);
// "8 h 45": hour, " h ", two-digit minute of a clock time.
std::string ClockTimeText(DateValue time);
// Length of day from its rounded whole seconds: "8 h 16", "24 h 00".
std::string DayLengthText(double length);
// Change of the length of day: "+ 1 mn", "- 5 s", "+ 1 h 20".
std::string LengthChangeText(double today, double yesterday);

// The four texts of `day`, with sunrise and sunset on `clock` and the change
// from `yesterdayLength` (days), in the texts of the method that computed
// them. An event that `day` lacks has an empty text.
AlmanacTexts FormatDay(const DayEvents& day, double yesterdayLength, const ShownClock& clock,
                       AlmanacMethod method = AlmanacMethod::Design);

}  // namespace kestrow
