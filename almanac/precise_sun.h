// SPDX-License-Identifier: MIT
// The precise method: sunrise, sunset, twilights and solar noon found at each
// event's own instant, from the sun's apparent position (apparent_sun.h).
//
// Each solar day is taken from its transit, found from the local mean noon
// by the hour angle still to go. The hour angle at which the sun's centre
// stands at the altitude h0,
//   cos H0 = (sin h0 - sin(phi) sin(delta)) / (cos(phi) cos(delta)),
// gives each rise (before the transit) and setting (after it) a first
// instant; the position is then computed again at that instant and the
// instant moved by the hour angle still to go, until it moves by less than a
// second (the method of Meeus, Astronomical Algorithms, 2nd ed., ch. 15, with
// the position computed at the event itself rather than interpolated).
// Whether a half-day holds a crossing at all is read from the sun's altitude
// at its two ends, the culmination and the lower culmination; where the sun
// comes close to grazing h0 the crossing is bracketed between them and the
// iteration halves the bracket whenever it would leave it, so that two
// crossings minutes apart are both found and none is invented. Near the poles,
// where the declination's own motion outweighs the daily turn, a half-day may
// hold a rise in the west or a setting in the east; that is found too.
//
// Altitudes are of the sun's centre, topocentric, without refraction except
// as h0 allows for it: kHorizonAltitude is the standard -0 deg 50' (34' of
// refraction at the horizon and 16' of semidiameter). The sun's horizontal
// parallax (8.794 arcseconds) is allowed for. Instants are UT in days since
// 1899-12-30 00:00 UT (the DateValue scale, as a continuous line); latitudes
// (north positive, -90 .. 90; beyond that, the pole) and longitudes (east
// positive) in degrees; altitudes in degrees. Every routine is a pure
// function.
//
// Against a full ephemeris (PyEphem) over 2026, rises and settings agree to
// about a second on average and within 5 s below 65 degrees of latitude,
// within half a minute up to 78 degrees; where the sun grazes h0 by less than
// the ephemerides' difference (some thousandths of a degree) the two may
// disagree on whether it crosses at all, within a day of the polar state's
// change.
#pragma once

#include <optional>

#include "day_events.h"

namespace kestrow {

// Sunrise and sunset: the sun's centre 50 arcminutes below a level horizon.
inline constexpr double kHorizonAltitude = -50.0 / 60;
// The twilights' limits, the centre's geometric altitude.
inline constexpr double kCivilTwilight = -6;
inline constexpr double kNauticalTwilight = -12;
inline constexpr double kAstronomicalTwilight = -18;
// The dip of the horizon in arcminutes per square root of a metre: the
// geometric dip lessened by terrestrial refraction, as the nautical almanacs
// tabulate it.
inline constexpr double kDipPerRootMetre = 1.76;

// How far the sea horizon lies below the level one for an eye `height` metres
// above it, in degrees: 1.76' x sqrt(height). 0 for a height of 0 or less.
// Subtract it from h0: PreciseDayEvents(lat, lon, s, e, kHorizonAltitude -
// HorizonDip(height)).
double HorizonDip(double height);

// The events of one local date at altitude h0 (`altitude`, degrees, for
// example kHorizonAltitude or a twilight's limit). The date runs from `start`
// to `end`, UT instants (end > start, at most 2 days apart; a date 23 or 25
// hours long on a change of clock is fine).
//  - rise: the first time the sun's centre rises through h0 in [start, end).
//  - set: with a rise, the first setting after it, even after `end`, if it
//    comes within 48 hours of the rise; otherwise absent. Without a rise, the
//    first setting in [start, end).
//  - state: Normal when the date holds a rise or a setting; otherwise
//    PolarDay when the sun stays above h0 from start to end, PolarNight when
//    it stays below.
//  - length, days: set - rise when both exist; 1 on a polar day, 0 on a polar
//    night. When only one exists, the time the sun spends above h0 within
//    [start, end): end - rise (plus, if it set earlier that date, set - start)
//    for a rise alone, set - start for a setting alone.
DayEvents PreciseDayEvents(double latitude, double longitude, double start, double end,
                           double altitude = kHorizonAltitude);

// Solar noon of the local date [start, end): the first transit of the sun's
// centre across the meridian in it (UT, days). Absent only when no transit
// falls in the date (a date shorter than a day may miss it).
std::optional<double> SolarNoon(double longitude, double start, double end);

// The first transit strictly after `after` (UT, days); it always exists.
double NextTransit(double longitude, double after);

enum class Crossing { Rising, Setting };

// The first time strictly after `after` (UT, days) that the sun's centre
// rises, or sets, through the altitude h0 (degrees), searching up to 366 days
// ahead; absent when it does not within that time (a polar night or day, or
// an altitude the sun never reaches at that latitude).
std::optional<double> NextCrossing(double latitude, double longitude, double after, double altitude,
                                   Crossing crossing);

}  // namespace kestrow
