// SPDX-License-Identifier: MIT
// Sunrise and sunset in UT for a place and a calendar date.
//
// The event hour is noon plus or minus the half-day arc in hours, less the
// longitude in hours, plus the time correction; it is cut to whole seconds
// and packed as a clock time. The result's whole-day part carries no meaning:
// read only its clock fields, or differences of results of the same date.
#pragma once

#include <string_view>

#include "coordinate.h"
#include "date_value.h"

namespace kestrow {

// Half turn of the half-day arc and of the event hour.
inline constexpr double kPiLong = 3.1415927;
// 17/30 degree in radians: refraction at the horizon.
inline constexpr double kRefraction = ((17 * kPiLong) / 30) / 180;
// 4/15 degree in radians: the sun's disc, half of which is added.
inline constexpr double kSunDisc = ((4 * kPiLong) / 15) / 180;

// Half-day arc H (radians, [0, kPiLong]) for declination delta (radians) and
// latitude phi (degrees). The 0.7 degree allowance for refraction and the
// disc raises the sun toward the visible pole:
//   phi >= 0: ArcTest = tan((delta + (SunDisc * 0.5)) + Refraction) * tan(a)
//   phi <  0: ArcTest = tan((delta - (SunDisc * 0.5)) - Refraction) * tan(a)
// with a = (phi * PiLong) / 180, held just inside a right angle at the poles.
//   ArcTest >= 1: H = PiLong (no night);  ArcTest <= -1: H = 0 (no daylight);
//   otherwise H = (PiLong / 2) + atan(ArcTest / sqrt(1 - ArcTest * ArcTest)).
double HalfDayArc(double declination, double latitude);

// Event hour T (decimal hours of UT) for an hour angle (radians), a longitude
// (degrees, east positive) and a correction (minutes):
//   T = ((12 + ((HourAngle * 12) / PiLong)) - (Longitude / 15)) + (Correction / 60)
double EventHourUT(double hourAngle, double longitude, double correction);

// Decimal hours as a clock time cut to the whole second:
//   h = FloorInt(x); f = (x - h) * 60; s = FloorInt((f - FloorInt(f)) * 60);
//   m = FloorInt(f); result = MakeTime(ToInt16(h), ToInt16(m), ToInt16(s)).
// Throws OverflowError when h leaves the 16-bit range.
DateValue HoursToClock(double hours);

// Sunrise and sunset in UT for latitude and longitude in degrees.
// Day, month and year go to DayNumber as they are (day 0 is allowed).
DateValue SunriseTime(double latitude, double longitude, double day, double month, double year);
DateValue SunsetTime(double latitude, double longitude, double day, double month, double year);

// The same for coordinates as the window holds them. The date is checked
// first, then the latitude is read, then the longitude; the first failure
// is thrown (DateRangeError, OverflowError or CoordinateError).
DateValue SunriseTime(const Coordinate& latitude, const Coordinate& longitude, double day,
                      double month, double year, std::string_view decimalSeparator);
DateValue SunsetTime(const Coordinate& latitude, const Coordinate& longitude, double day,
                     double month, double year, std::string_view decimalSeparator);

}  // namespace kestrow
