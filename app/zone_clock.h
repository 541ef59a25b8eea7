// SPDX-License-Identifier: MIT
// A time zone's own clock: which zone the process keeps its clock in, and
// where a UT sunrise or sunset falls on that clock.
#pragma once

#include <ctime>
#include <string_view>

#include "almanac/date_value.h"
#include "clock.h"

namespace kestrow {

// Whether `name` names a zone of the tz database installed on this machine
// (under $TZDIR, else /usr/share/zoneinfo), such as "Asia/Kolkata". Names that
// climb out of the database ("../x", "/etc/localtime") are refused, and so is
// a file that is not one whole compiled zone.
bool IsKnownZone(std::string_view name);

// Makes `name`, a known zone, the process's local clock for every later
// reading, so that one zone serves a whole run.
void UseZone(std::string_view name);

// An event on a zone's clock.
struct ZoneTime {
    DateValue clock = 0;     // time of day on the zone's clock, in [0, 1)
    long offsetSeconds = 0;  // the zone's lead over UT at that moment
};

// The moment that the solar computation for `date` gives as the UT clock
// time `utClock`, at `longitude` (degrees, east positive), shown on the
// clock of `zone` as its rules have it at that very moment. `isSunrise`
// tells on which side of the sun's transit the moment lies.
ZoneTime OnZoneClock(DateValue utClock, DateValue date, double longitude, bool isSunrise,
                     const Clock& zone);

}  // namespace kestrow
