// SPDX-License-Identifier: MIT
// Where the sun stands at an instant, for the precise method: its apparent
// equatorial coordinates and the sidereal time that turns them into an hour
// angle at a place.
//
// Sources: J. Meeus, Astronomical Algorithms, 2nd ed. (Willmann-Bell, 1998):
// chapter 25, "Solar coordinates", the lower-accuracy method (geometric
// longitude from the mean longitude and the equation of the centre, then the
// apparent longitude and obliquity corrected for nutation and aberration
// through the longitude of the Moon's node); chapter 22 (mean obliquity,
// eq. 22.2); chapter 12 (mean sidereal time at Greenwich, eq. 12.4; apparent
// sidereal time adds the nutation in right ascension). Meeus gives the
// method's error as about 0.01 degree; against a full ephemeris (PyEphem)
// over 2026 it stays within 35 arcseconds in right ascension and 15 in
// declination, two seconds of a rising's time at most.
//
// Instants are UT in days since 1899-12-30 00:00 UT (the DateValue scale, as
// a continuous line). The solar theory runs on dynamical time, UT plus
// kDeltaT; a minute's error in kDeltaT moves the sun by 0.0007 degree, well
// under a second of any event, so one value for the present decades serves.
// Angles are in radians. Every routine is a pure function.
#pragma once

namespace kestrow {

// TT - UT in seconds, the observed value of the 2020s (IERS Bulletin A).
inline constexpr double kDeltaT = 69.0;

// The sun's apparent geocentric position at one instant.
struct ApparentPosition {
    double rightAscension;  // radians, [0, 2 pi), true equator and equinox of date
    double declination;     // radians, [-pi/2, pi/2]
    double distance;        // astronomical units, about 0.983 .. 1.017
};

// The sun's apparent right ascension, declination and distance at an instant
// (UT, days on the DateValue scale; valid for the years 1800 .. 2200).
ApparentPosition ApparentSun(double instant);

// Greenwich apparent sidereal time at an instant (UT, days on the DateValue
// scale), in radians, [0, 2 pi).
double ApparentSiderealTime(double instant);

// The sun's hour angle and declination as an observer sees them, the two
// quantities every rising, setting and transit is found from. The declination
// comes as its sine and cosine, the forms every altitude takes.
struct SolarHourAngle {
    double hourAngle;  // radians, [-pi, pi); negative before the transit
    double sinDeclination;
    double cosDeclination;  // >= 0
};

// Hour angle and declination of the sun's centre at an instant (UT, days on
// the DateValue scale) from a longitude in degrees, east positive:
//   H = apparent sidereal time + longitude - right ascension, reduced.
// The geocentric position serves: the sun's parallax (8.794 arcseconds at
// most) changes the hour angle by far less than a second of time; its effect
// on the altitude is allowed for where altitudes are compared (precise_sun.h).
SolarHourAngle SunHourAngle(double longitude, double instant);

// Sine of the sun's geometric geocentric altitude for a latitude (degrees,
// north positive) from a SolarHourAngle:
//   sin h = sin(phi) sin(delta) + cos(phi) cos(delta) cos(H).
double SunAltitudeSine(double latitude, const SolarHourAngle& sun);

}  // namespace kestrow
