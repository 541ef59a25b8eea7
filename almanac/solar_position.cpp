// SPDX-License-Identifier: MIT
#include "solar_position.h"

#include <cmath>

#include "date_value.h"

namespace kestrow {
std::int32_t DayNumber(double day, double month, double year) {
    const std::int16_t dd = ToInt16(day);
    const std::int16_t mm = ToInt16(month);
    const std::int16_t yy = ToInt16(year);
    const DateValue date = MakeDate(yy, mm, dd);
    const DateValue epoch = MakeDate(2000, 1, 1);
    return DaysBetween(epoch, date);
}

double NormaliseAngle(double angle) {
    const double q = angle / kTwoPi;
    return (q - FloorInt(q)) * kTwoPi;
}

double MeanLongitude(std::int32_t days) {
    const double d = days;
    return NormaliseAngle((280.461 * kRad) + ((0.9856474 * kRad) * d));
}

double MeanAnomaly(std::int32_t days) {
    const double d = days;
    return NormaliseAngle((357.528 * kRad) + ((0.9856003 * kRad) * d));
}

double EclipticLongitude(std::int32_t days) {
    const double L = MeanLongitude(days);
    const double g = MeanAnomaly(days);
    return NormaliseAngle((L + ((1.915 * kRad) * std::sin(g))) + ((0.02 * kRad) * std::sin(g * 2)));
}

double Obliquity(std::int32_t days) {
    const double d = days;
    return (23.439 * kRad) - ((0.0000004 * kRad) * d);
}

double Declination(std::int32_t days) {
    const double lambda = EclipticLongitude(days);
    const double epsilon = Obliquity(days);
    const double s = std::sin(epsilon) * std::sin(lambda);
    return std::atan(s / std::sqrt(1 - s * s));
}

double RightAscension(std::int32_t days) {
    const double C = std::cos(EclipticLongitude(days));
    const double N = std::cos(Obliquity(days)) * std::sin(EclipticLongitude(days));
    double alpha = std::atan(N / C);
    if (C < 0 && N < 0) {
        alpha = alpha - kPiShort;
    } else if (C < 0 && N > 0) {
        alpha = alpha + kPiShort;
    }
    return alpha;
}

double TimeCorrection(std::int32_t days) {
    const double L = MeanLongitude(days);
    const double alpha = RightAscension(days);
    const double e = ((L - alpha) * 720) / kPiShort;
    return 1440 - e;
}

}  // namespace kestrow
