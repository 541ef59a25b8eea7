// SPDX-License-Identifier: MIT
#include "apparent_sun.h"

#include <cmath>
#include <numbers>

namespace kestrow {
namespace {

constexpr double kDegree = std::numbers::pi / 180;
constexpr double kTurn = 2 * std::numbers::pi;
// J2000.0, 2000-01-01 12:00, on the DateValue scale.
constexpr double kJ2000 = 36526.5;
constexpr double kDaysPerCentury = 36525;
// The obliquity about which its sine and cosine are expanded, degrees.
constexpr double kObliquity = 23.44;
constexpr double kSinObliquity = 0.39778850739794974;  // sin 23.44 degrees
constexpr double kCosObliquity = 0.9174771405229186;   // cos 23.44 degrees

// An angle in degrees brought into radians, [0, 2 pi).
double ReducedDegrees(double degrees) {
    return (degrees / 360 - std::floor(degrees / 360)) * kTurn;
}

// What the apparent position and the apparent sidereal time share at an
// instant: the sun's apparent longitude and the obliquity, as sines and
// cosines, and the nutation in longitude.
struct Ecliptic {
    double sinLambda;
    double cosLambda;
    double sinEpsilon;
    double cosEpsilon;
    double nutation;     // in longitude, degrees (its main term)
    double trueAnomaly;  // radians
    double eccentricity;
};

Ecliptic EclipticAt(double instant) {
    const double T = (instant + kDeltaT / 86400 - kJ2000) / kDaysPerCentury;
    // Meeus 25.2, 25.3, 25.4: mean longitude, mean anomaly, eccentricity.
    const double meanLongitude = 280.46646 + T * (36000.76983 + T * 0.0003032);
    const double M = ReducedDegrees(357.52911 + T * (35999.05029 - T * 0.0001537));
    const double e = 0.016708634 - T * (0.000042037 + T * 0.0000001267);
    // The equation of the centre, with sin 2M and sin 3M from sin M and cos M.
    const double sinM = std::sin(M);
    const double cosM = std::cos(M);
    const double sin2M = 2 * sinM * cosM;
    const double sin3M = sinM * (3 - 4 * sinM * sinM);
    const double centre = (1.914602 - T * (0.004817 + T * 0.000014)) * sinM +
                          (0.019993 - T * 0.000101) * sin2M + 0.000289 * sin3M;
    // Longitude of the Moon's ascending node; its sine drives the nutation of
    // the longitude (-0.00478 degree sin node, Meeus 25) and its cosine that
    // of the obliquity.
    const double node = ReducedDegrees(125.04 - 1934.136 * T);
    const double nutation = -0.00478 * std::sin(node);
    // Apparent longitude: the true longitude, aberration (-0.00569), nutation.
    const double lambda = ReducedDegrees(meanLongitude + centre - 0.00569 + nutation);
    // Mean obliquity, Meeus 22.2 (arcseconds), then the true obliquity, 25.8.
    const double meanObliquity =
        23.0 + 26.0 / 60 + (21.448 - T * (46.8150 + T * (0.00059 - T * 0.001813))) / 3600;
    // Its sine and cosine to first order about 23.44 degrees: the obliquity
    // stays within 0.03 degree of it from 1800 to 2200, so the neglected
    // second-order term stays under 2e-7 of a radian.
    const double offset = (meanObliquity + 0.00256 * std::cos(node) - kObliquity) * kDegree;
    return {std::sin(lambda),
            std::cos(lambda),
            kSinObliquity + kCosObliquity * offset,
            kCosObliquity - kSinObliquity * offset,
            nutation,
            M + centre * kDegree,
            e};
}

// Greenwich apparent sidereal time (radians, [0, 2 pi)) from an instant and
// the nutation in longitude (degrees) and obliquity's cosine there. Meeus
// 12.4 in degrees, the whole turns of the day count dropped first so that the
// large term keeps its precision; then the nutation in right ascension, at
// most 1.1 s of time.
double SiderealTime(double instant, double nutation, double cosEpsilon) {
    const double d = instant - kJ2000;
    const double T = d / kDaysPerCentury;
    const double mean = 280.46061837 + 360 * (d - std::floor(d)) + 0.98564736629 * d +
                        T * T * (0.000387933 - T / 38710000);
    return ReducedDegrees(mean + nutation * cosEpsilon);
}

}  // namespace

ApparentPosition ApparentSun(double instant) {
    const Ecliptic ecliptic = EclipticAt(instant);
    // Meeus 25.6 and 25.7, and the radius vector 25.5.
    const double alpha = std::atan2(ecliptic.cosEpsilon * ecliptic.sinLambda, ecliptic.cosLambda);
    const double delta = std::asin(ecliptic.sinEpsilon * ecliptic.sinLambda);
    const double e = ecliptic.eccentricity;
    const double distance = 1.000001018 * (1 - e * e) / (1 + e * std::cos(ecliptic.trueAnomaly));
    return {alpha < 0 ? alpha + kTurn : alpha, delta, distance};
}

double ApparentSiderealTime(double instant) {
    const Ecliptic ecliptic = EclipticAt(instant);
    return SiderealTime(instant, ecliptic.nutation, ecliptic.cosEpsilon);
}

SolarHourAngle SunHourAngle(double longitude, double instant) {
    const Ecliptic ecliptic = EclipticAt(instant);
    const double alpha = std::atan2(ecliptic.cosEpsilon * ecliptic.sinLambda, ecliptic.cosLambda);
    const double sinDelta = ecliptic.sinEpsilon * ecliptic.sinLambda;
    const double sidereal = SiderealTime(instant, ecliptic.nutation, ecliptic.cosEpsilon);
    double H = sidereal + longitude * kDegree - alpha;
    H -= std::floor(H / kTurn + 0.5) * kTurn;
    return {H, sinDelta, std::sqrt(1 - sinDelta * sinDelta)};
}

double SunAltitudeSine(double latitude, const SolarHourAngle& sun) {
    const double phi = latitude * kDegree;
    return std::sin(phi) * sun.sinDeclination +
           std::cos(phi) * sun.cosDeclination * std::cos(sun.hourAngle);
}

}  // namespace kestrow
