// SPDX-License-Identifier: MIT
// Where the sun stands on a calendar day: a low-precision solar ephemeris.
//
// Every routine is a pure function of its arguments. The constants stand for
// 2*pi, pi/180 and pi with few digits; each belongs to its own routine and
// they are not interchangeable. All arithmetic keeps the grouping written in
// each routine's comment, since the last bits of the results depend on it.
//
// Source: the low-precision formulas for the Sun of the Astronomical Almanac
// (U.S. Naval Observatory and H.M. Nautical Almanac Office, section C, "Low
// precision formulas for the Sun"; good to about 0.01 degree from 1950 to
// 2050), with d counted in whole days from 1 January 2000.
#pragma once

#include <cstdint>

namespace kestrow {

// The period to which angles are reduced (not the true 2*pi).
inline constexpr double kTwoPi = 6.2831854;
// Half turn used by the quadrant fix and for radians to minutes of time.
inline constexpr double kPiShort = 3.14159;
// Degrees to radians: 3.14159 / 180 = 0.017453277777777776.
inline constexpr double kRad = kPiShort / 180;

// Whole days from 1 January 2000 to the date Day/Month/Year (0 on that day,
// negative before it). Each argument is first rounded with ToInt16, and the
// date is built with MakeDate, so day 0 is the last day of the month before.
// Throws OverflowError or DateRangeError.
std::int32_t DayNumber(double day, double month, double year);

// Angle (radians) reduced to [0, kTwoPi):
//   q = angle / kTwoPi;  result = (q - FloorInt(q)) * kTwoPi.
double NormaliseAngle(double angle);

// Mean longitude L (radians, [0, kTwoPi)):
//   L = Normalise((280.461 * Rad) + ((0.9856474 * Rad) * d))
double MeanLongitude(std::int32_t days);

// Mean anomaly g (radians, [0, kTwoPi)):
//   g = Normalise((357.528 * Rad) + ((0.9856003 * Rad) * d))
double MeanAnomaly(std::int32_t days);

// Ecliptic longitude lambda (radians, [0, kTwoPi)) for day number d:
//   lambda = Normalise((L + ((1.915 * Rad) * sin g)) + ((0.02 * Rad) * sin(g * 2)))
double EclipticLongitude(std::int32_t days);

// Obliquity of the ecliptic epsilon (radians), not reduced:
//   epsilon = (23.439 * Rad) - ((0.0000004 * Rad) * d)
double Obliquity(std::int32_t days);

// Declination delta (radians):
//   s = sin(epsilon) * sin(lambda);  delta = atan(s / sqrt(1 - s * s))
double Declination(std::int32_t days);

// Right ascension alpha (radians, in (-kPiShort, kPiShort)):
//   C = cos(lambda);  N = cos(epsilon) * sin(lambda);  alpha = atan(N / C)
//   then alpha - kPiShort if C < 0 and N < 0, alpha + kPiShort if C < 0 and N > 0.
double RightAscension(std::int32_t days);

// Time correction E (minutes, within -20..1460) added to the event hours:
//   e = ((L - alpha) * 720) / kPiShort;  E = 1440 - e.
// e is the equation of time, or 1440 minutes more where L - alpha lies near
// 2 pi (about half the year), so E is 1440 minutes less the equation of time
// for half the year and minus it for the other half; the clock times built
// from it carry the 1440 minutes as one whole day.
double TimeCorrection(std::int32_t days);

}  // namespace kestrow
