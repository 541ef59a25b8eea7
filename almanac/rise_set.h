// SPDX-License-Identifier: MIT
// Sunrise and sunset in UT for a place and a calendar date.
//
// The event hour is noon plus or minus the half-day arc in hours, less the
// longitude in hours, plus the time correction; it is cut to whole seconds
// and packed as a clock time. The result's whole-day part carries no meaning:
// read only its clock fields, or differences of results of the same date.
//
// Source: the sunrise equation cos H = -tan(phi) tan(delta) (J. Meeus,
// Astronomical Algorithms, 2nd ed., 1998, ch. 15), written with atan for
// asin, with the sun raised 0.7 degree at the horizon: 34' of refraction
// (Meeus, ch. 15) and half of a 16' disc term (17/30 and 4/15 degree).
#pragma once

#include "date_value.h"

namespace kestrow {

// Half turn of the half-day arc and of the event hour.
inline constexpr double kPiLong = 3.1415927;
// 17/30 degree in radians: refraction at the horizon.
inline constexpr double kRefraction = ((17 * kPiLong) / 30) / 180;
// 4/15 degree in radians: the sun's disc, half of which is added.
inline constexpr double kSunDisc = ((4 * kPiLong) / 15) / 180;

// Half-day arc H (radians, [0, kPiLong]) for declination delta (radians) and
// latitude phi (degrees, -90..90). The 0.7 degree allowance for refraction and
// the disc raises the sun toward the visible pole:
//   phi >= 0: ArcTest = tan((delta + (SunDisc * 0.5)) + Refraction) * tan(a)
//   phi <  0: ArcTest = tan((delta - (SunDisc * 0.5)) - Refraction) * tan(a)
// with a = (phi * PiLong) / 180, held just inside a right angle at the poles.
//   ArcTest >= 1: H = PiLong (no night);  ArcTest <= -1: H = 0 (no daylight);
//   otherwise H = (PiLong / 2) + atan(ArcTest / sqrt(1 - ArcTest * ArcTest)).
double HalfDayArc(double declination, double latitude);

// Event hour T (decimal hours of UT, any value) for an hour angle (radians), a
// longitude (degrees, -180..180, east positive) and a correction (minutes):
//   T = ((12 + ((HourAngle * 12) / PiLong)) - (Longitude / 15)) + (Correction / 60)
double EventHourUT(double hourAngle, double longitude, double correction);

// Decimal hours as a clock time cut to the whole second:
//   h = FloorInt(x); f = (x - h) * 60; s = FloorInt((f - FloorInt(f)) * 60);
//   m = FloorInt(f); result = MakeTime(ToInt16(h), ToInt16(m), ToInt16(s)).
// Throws OverflowError when h leaves the 16-bit range.
DateValue HoursToClock(double hours);

// One date's sunrise and sunset as UT clock times (HoursToClock), and the
// half-day arc they were built from.
struct RiseSetUT {
    DateValue rise = 0;
    DateValue set = 0;
    double halfDayArc = 0;  // radians: kPiLong on a day without night, 0 without daylight
};

// For latitude (-90..90) and longitude (-180..180) in degrees, north and east
// positive. Day, month and year go to DayNumber as they are (day 0 is the
// last day of the month before). Throws DateRangeError or OverflowError.
RiseSetUT SunRiseSetUT(double latitude, double longitude, double day, double month, double year);

}  // namespace kestrow
