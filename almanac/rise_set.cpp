// SPDX-License-Identifier: MIT
#include "rise_set.h"

#include <cmath>
#include <numbers>

#include "solar_position.h"

namespace kestrow {
namespace {

enum class Event { Rise, Set };

// At latitude +-90, (90 * PiLong) / 180 passes a right angle because PiLong
// exceeds pi, and the pole would behave like a place far in the other
// hemisphere; keep the angle just inside it.
double LatitudeAngle(double latitude) {
    const double angle = (latitude * kPiLong) / 180;
    constexpr double kLimit = std::numbers::pi / 2 - 1e-12;
    if (std::fabs(angle) >= std::numbers::pi / 2) return std::copysign(kLimit, latitude);
    return angle;
}

DateValue EventTime(Event event, double delta, double correction, double latitude,
                    double longitude) {
    const double H = HalfDayArc(delta, latitude);
    const double T = EventHourUT(event == Event::Rise ? -H : H, longitude, correction);
    return HoursToClock(T);
}

DateValue EventTime(Event event, const Coordinate& latitude, const Coordinate& longitude,
                    double day, double month, double year, std::string_view decimalSeparator) {
    // The day number is built twice, as the method has it; the second build
    // cannot fail where the first did not.
    const double E = EquationOfTime(DayNumber(day, month, year));
    const double delta = Declination(DayNumber(day, month, year));
    const double phi = ReadCoordinate(latitude, Axis::Latitude, decimalSeparator);
    const double H = HalfDayArc(delta, phi);
    const double lon = ReadCoordinate(longitude, Axis::Longitude, decimalSeparator);
    const double T = EventHourUT(event == Event::Rise ? -H : H, lon, E);
    return HoursToClock(T);
}

}  // namespace

double HalfDayArc(double declination, double latitude) {
    const double delta = declination;
    const double raised = latitude >= 0 ? (delta + (kSunDisc * 0.5)) + kRefraction
                                        : (delta - (kSunDisc * 0.5)) - kRefraction;
    const double arcTest = std::tan(raised) * std::tan(LatitudeAngle(latitude));
    double H = 0;
    if (arcTest >= 1) H = kPiLong;
    if (arcTest > -1 && arcTest < 1) {
        H = (kPiLong / 2) + std::atan(arcTest / std::sqrt(1 - arcTest * arcTest));
    }
    return H;
}

double EventHourUT(double hourAngle, double longitude, double correction) {
    return ((12 + ((hourAngle * 12) / kPiLong)) - (longitude / 15)) + (correction / 60);
}

DateValue HoursToClock(double hours) {
    const double x = hours;
    const double h = FloorInt(x);
    const double f = (x - h) * 60;
    const double s = FloorInt((f - FloorInt(f)) * 60);
    const double m = FloorInt(f);
    return MakeTime(ToInt16(h), ToInt16(m), ToInt16(s));
}

DateValue SunriseTime(double latitude, double longitude, double day, double month, double year) {
    const std::int32_t d = DayNumber(day, month, year);
    return EventTime(Event::Rise, Declination(d), EquationOfTime(d), latitude, longitude);
}

DateValue SunsetTime(double latitude, double longitude, double day, double month, double year) {
    const std::int32_t d = DayNumber(day, month, year);
    return EventTime(Event::Set, Declination(d), EquationOfTime(d), latitude, longitude);
}

DateValue SunriseTime(const Coordinate& latitude, const Coordinate& longitude, double day,
                      double month, double year, std::string_view decimalSeparator) {
    return EventTime(Event::Rise, latitude, longitude, day, month, year, decimalSeparator);
}

DateValue SunsetTime(const Coordinate& latitude, const Coordinate& longitude, double day,
                     double month, double year, std::string_view decimalSeparator) {
    return EventTime(Event::Set, latitude, longitude, day, month, year, decimalSeparator);
}

}  // namespace kestrow
