// SPDX-License-Identifier: MIT
#include "rise_set.h"

#include <cmath>
#include <numbers>

#include "solar_position.h"

namespace kestrow {
namespace {

// At latitude +-90, (90 * PiLong) / 180 passes a right angle because PiLong
// exceeds pi, and the pole would behave like a place far in the other
// hemisphere; keep the angle just inside it.
double LatitudeAngle(double latitude) {
    const double angle = (latitude * kPiLong) / 180;
    constexpr double kLimit = std::numbers::pi / 2 - 1e-12;
    if (std::fabs(angle) >= std::numbers::pi / 2) return std::copysign(kLimit, latitude);
    return angle;
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

RiseSetUT SunRiseSetUT(double latitude, double longitude, double day, double month, double year) {
    const std::int32_t d = DayNumber(day, month, year);
    const double correction = TimeCorrection(d);
    RiseSetUT events;
    events.halfDayArc = HalfDayArc(Declination(d), latitude);
    events.rise = HoursToClock(EventHourUT(-events.halfDayArc, longitude, correction));
    events.set = HoursToClock(EventHourUT(events.halfDayArc, longitude, correction));
    return events;
}

}  // namespace kestrow
