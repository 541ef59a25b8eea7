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
    // Sunrise and sunset as a screen reader should say them: the texts above,
    // with a mark of a later day in words ("0 h 04, le lendemain").
    std::string spokenSunrise;
    std::string spokenSunset;
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

// The texts of `day`, with sunrise and sunset on `clock` and the change from
// `yesterdayLength` (days), in the texts of the method that computed them.
//  - Design: clock times and the length cut to the minute from whole seconds,
//    as above; an event that `day` lacks has an empty text.
//  - Precise: times and the length rounded to the nearest minute ("8 h 45",
//    "24 h 00"); the change rounded to the nearest second, then written as
//    LengthChangeText writes it, "+ 0 s" when it rounds to nothing. On a
//    polar day both times read "Jour polaire", on a polar night "Nuit
//    polaire"; an event that the date lacks reads "aucun". A time that falls
//    on a later day than the date's own (a sunset after midnight) is marked
//    " +1" ("0 h 04 +1"), or " +2", and spoken ", le lendemain" or ", le
//    surlendemain".
AlmanacTexts FormatDay(const DayEvents& day, double yesterdayLength, const ShownClock& clock,
                       AlmanacMethod method = AlmanacMethod::Design);

}  // namespace kestrow
