// SPDX-License-Identifier: MIT
// The clock that sunrise and sunset are shown on: the design's clock, UT
// plus one or two hours, or a time zone's own clock; and which UT instant a
// computed event is, and where it falls on that clock.
#pragma once

#include <ctime>
#include <string_view>

#include "almanac/date_value.h"
#include "clock.h"

namespace kestrow {

// An instant of UT (a DateValue) as the system clock counts it, seconds since
// 1970-01-01 00:00 UTC, rounded to the second (events are whole seconds:
// rounding takes off what the days' fractions lost); and back.
std::time_t UnixSeconds(DateValue instant);
DateValue InstantOf(std::time_t seconds);

enum class DesignClock { UtPlusOne, UtPlusTwo };

// The design's clock for the local clock's lead over UTC in hours, rounded
// to a tenth (UtcOffset::roundedHours): UT plus two hours for exactly 2,
// UT plus one for any other lead.
DesignClock DesignClockFor(double leadHours);

struct ShownClock {
    DesignClock design = DesignClock::UtPlusOne;
    // When set, sunrise and sunset are shown on this zone's clock instead, by
    // its rules at each of the two moments. The length of day is still
    // measured on `design`, so that it and its change read alike on both.
    const Clock* zone = nullptr;

    // Seconds by which this clock runs ahead of UT at `instant` (a DateValue of UT).
    long LeadAt(DateValue instant) const;
};

// The lead of the design's clock over UT, in days.
double DesignShift(DesignClock clock);

// Whether `name` names a zone of the tz database installed on this machine
// (under $TZDIR, else /usr/share/zoneinfo), such as "Asia/Kolkata". Names that
// climb out of the database ("../x", "/etc/localtime") are refused, and so is
// a file that is not one whole compiled zone.
bool IsKnownZone(std::string_view name);

// The UT instant (a DateValue of UT) of the event that the solar computation
// for the local date `date` gives as the UT clock time `utClock`, at
// `longitude` (degrees, east positive): the one that falls on `date` on
// `clock`. `isSunrise` tells on which side of the sun's transit it lies.
DateValue EventInstant(DateValue utClock, DateValue date, double longitude, bool isSunrise,
                       const ShownClock& clock);

// A local date as UT instants, in days on a continuous line (no serial's
// time of day counted forward): from the moment the shown clock reads its
// 00:00 to the moment it reads the next day's. A day on which a zone's clock
// changes is 23 or 25 hours long.
struct LocalDayBounds {
    double start = 0;
    double end = 0;
};
LocalDayBounds LocalDayOn(DateValue date, const ShownClock& clock);

// An instant's time of day on `clock`, in seconds after its midnight [0, 86400).
long ShownSecondOfDay(DateValue instant, const ShownClock& clock);

}  // namespace kestrow
