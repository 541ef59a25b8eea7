// SPDX-License-Identifier: MIT
// The almanac step: what one local date holds of the sun at a place, as the
// window and kestrow-table both compute it before any text is made.
#pragma once

#include <cstdint>

#include "almanac/date_value.h"
#include "almanac/day_events.h"
#include "almanac/precise_sun.h"
#include "clock.h"
#include "coordinate.h"
#include "shown_clock.h"

namespace kestrow {

// A calendar date as the almanac takes it. A day of 0 stands for the last
// day of the month before, as the solar computation reads it.
struct CalendarDay {
    std::int16_t day = 0;
    std::int16_t month = 0;
    std::int16_t year = 0;
};

// The calendar fields of a date.
CalendarDay CalendarDayOf(DateValue date);

// Today, from the local date of one reading of the clock.
CalendarDay ReadToday(const ClockReading& reading);

// The day before, with the month's day 0 for the first of a month.
CalendarDay DayBefore(const CalendarDay& day);

// How the sun's rising and setting are computed.
enum class AlmanacMethod {
    // The design's low-precision method (almanac/rise_set.h), cut to whole
    // seconds: the texts the window has always shown.
    Design,
    // The sun's position at each event's own instant (almanac/precise_sun.h),
    // its centre at kHorizonAltitude: right to the minute, with polar days and
    // nights and the events that a date lacks.
    Precise,
};

struct DayRequest {
    Place place;
    CalendarDay date;  // the local date on `clock`
    ShownClock clock;
    AlmanacMethod method = AlmanacMethod::Design;
    // Precise method only. The altitude of the sun's centre that counts as
    // rising and setting, in degrees (kHorizonAltitude, or a twilight's
    // limit), and the observer's height above the land around, in metres,
    // which lowers it by the dip of the horizon.
    double altitude = kHorizonAltitude;
    double height = 0;
};

// The sun on `request.date`. The precise method's events are those of the
// local date as it runs on the shown clock (LocalDayBounds), a polar day or
// night given as such. Rise and set are the UT instants that fall on
// that date on the shown clock. The design's method gives both on every date,
// a polar one too, where its half-day arc of kPiLong is a PolarDay and one of
// 0 a PolarNight; its length is the one its cut clock times give, measured
// on the design's clock. Throws DateRangeError or OverflowError.
DayEvents ComputeDay(const DayRequest& request);

}  // namespace kestrow
