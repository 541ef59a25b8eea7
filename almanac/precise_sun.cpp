// SPDX-License-Identifier: MIT
#include "precise_sun.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "apparent_sun.h"

namespace kestrow {
namespace {

constexpr double kDegree = std::numbers::pi / 180;
constexpr double kTurn = 2 * std::numbers::pi;
constexpr double kSecond = 1.0 / 86400;
// The sun's horizontal parallax, degrees.
constexpr double kParallax = 8.794 / 3600;
// How far a transit may lie from the local mean noon that names it, in days:
// the equation of time (16.5 minutes at most) and a margin.
constexpr double kTransitSpread = 0.02;
// How far a crossing may lie from its transit, in days.
constexpr double kHalfDay = 0.5;
// A rise's setting is looked for up to this long after it, in days.
constexpr double kSetSearch = 2;
// NextCrossing looks this far ahead, in days.
constexpr double kYear = 366;
// The most the declination moves in half a day (0.2 degree), in radians,
// with a margin.
constexpr double kHalfDayDeclinationChange = 0.004;

// The place and the altitude sought, in the forms the iterations use.
struct Site {
    double longitude;  // degrees, east positive
    double sinPhi;
    double cosPhi;
    double tanPhi;
    double sinH0;  // sine of the geocentric altitude that puts the centre at h0
};

Site MakeSite(double latitude, double longitude, double altitude) {
    const double phi = std::clamp(latitude, -90.0, 90.0) * kDegree;
    // The parallax lowers the sun as seen from the surface: its centre is at
    // h0 there when it stands at h0 + p cos h0 from the earth's centre.
    const double geocentric = (altitude + kParallax * std::cos(altitude * kDegree)) * kDegree;
    return {longitude, std::sin(phi), std::cos(phi), std::tan(phi), std::sin(geocentric)};
}

// sin h - sin h0 for the cosine of the hour angle and the declination's
// sine and cosine: positive above h0.
double Excess(const Site& site, double cosH, double sinDelta, double cosDelta) {
    return site.sinPhi * sinDelta + site.cosPhi * cosDelta * cosH - site.sinH0;
}

double Excess(const Site& site, const SolarHourAngle& sun) {
    return Excess(site, std::cos(sun.hourAngle), sun.sinDeclination, sun.cosDeclination);
}

// cos H0, the hour angle at which the sun stands at h0 for a declination;
// outside [-1, 1] when it does not reach h0 that day.
double CosTargetHourAngle(const Site& site, double sinDelta, double cosDelta) {
    return (site.sinH0 - site.sinPhi * sinDelta) / (site.cosPhi * cosDelta);
}

// An angle brought into (-pi, pi].
double Signed(double angle) {
    double reduced = std::fmod(angle, kTurn);
    if (reduced > std::numbers::pi) reduced -= kTurn;
    if (reduced <= -std::numbers::pi) reduced += kTurn;
    return reduced;
}

// The local mean noon (UT, days) nearest an instant: 12:00 local mean time.
double MeanNoonNear(double longitude, double instant) {
    const double shift = longitude / 360;
    return std::round(instant + shift - 0.5) + 0.5 - shift;
}

// The transit nearest `guess`: the hour angle runs one turn a day, so the
// instant moves by the hour angle still to go until it moves under a second.
struct Transit {
    double instant;
    SolarHourAngle sun;  // at the last step, under a second before
};

Transit FindTransit(double longitude, double guess) {
    double t = guess;
    SolarHourAngle sun{};
    for (int i = 0; i < 10; ++i) {
        sun = SunHourAngle(longitude, t);
        const double step = -sun.hourAngle / kTurn;
        t += step;
        if (std::fabs(step) < kSecond) break;
    }
    return {t, sun};
}

// The solar days around a reference, numbered from the local mean noon
// nearest it (day 0), each computed once when first asked for.
class SolarDays {
  public:
    SolarDays(const Site& site, double reference)
        : site_(site), noon_(MeanNoonNear(site.longitude, reference)) {}

    // Local mean noon of day k: its transit lies within kTransitSpread.
    double MeanNoon(int k) const { return noon_ + k; }

    std::optional<double> Rise(int k) { return CrossingOf(k, Crossing::Rising); }
    std::optional<double> Set(int k) { return CrossingOf(k, Crossing::Setting); }

  private:
    struct Day {
        int k;
        bool known = false;
        double transit;
        double tanDeclination;
        double excess;     // at the transit
        double cosTarget;  // cos H0 at the transit's declination
    };

    // Day k from the sun at its local mean noon: one step of the hour angle
    // puts the transit within 0.3 s (the hour angle's rate strays from a turn
    // a day by 3 parts in 10^4 at most, over a step of 16.5 minutes at most),
    // and the declination there serves unless the sun comes near grazing h0,
    // when the transit is found again and the declination taken at it.
    const Day& DayOf(int k) {
        Day& day = days_[static_cast<unsigned>(k) % kSlots];
        if (day.known && day.k == k) return day;
        const double noon = MeanNoon(k);
        const SolarHourAngle sun = SunHourAngle(site_.longitude, noon);
        day = MakeDay(k, noon - sun.hourAngle / kTurn, sun);
        if (NearGrazing(day)) {
            const Transit transit = FindTransit(site_.longitude, day.transit);
            day = MakeDay(k, transit.instant, transit.sun);
        }
        return day;
    }

    Day MakeDay(int k, double transit, const SolarHourAngle& sun) const {
        const double sinDelta = sun.sinDeclination;
        const double cosDelta = sun.cosDeclination;
        return {k,
                true,
                transit,
                sinDelta / cosDelta,
                Excess(site_, 1, sinDelta, cosDelta),
                CosTargetHourAngle(site_, sinDelta, cosDelta)};
    }

    // Whether the sun may graze h0 within half a day of the transit: cos H0
    // moves by at most (|tan phi| + |cos H0| |tan delta|) times the
    // declination's change, and that is at most kHalfDayDeclinationChange.
    bool NearGrazing(const Day& day) const {
        const double x = day.cosTarget;
        const double drift = std::fabs(site_.tanPhi) + std::fabs(x * day.tanDeclination);
        return std::fabs(std::fabs(x) - 1) <= drift * kHalfDayDeclinationChange;
    }

    // sin h - sin h0 at the lower culmination half a day before (side -1) or
    // after (side +1) the transit. Far from grazing h0 its sign is sure, and
    // nothing need be computed: -1 stands for below, 1 for above (where the
    // sun stays up all day).
    double LowerExcess(const Day& day, int side) const {
        if (!NearGrazing(day)) return day.cosTarget < -1 ? 1 : -1;
        const SolarHourAngle sun = SunHourAngle(site_.longitude, day.transit + side * kHalfDay);
        return Excess(site_, -1, sun.sinDeclination, sun.cosDeclination);
    }

    // The crossing of one kind in day k: in the half-day before its transit
    // (side -1, the east) or after it (side +1, the west). Each half holds at
    // most one crossing, found from the signs at its two ends. It is almost
    // always a rise in the east and a setting in the west; near the poles
    // the declination's own motion may turn that round.
    std::optional<double> CrossingOf(int k, Crossing crossing) {
        const Day& day = DayOf(k);
        const bool rising = crossing == Crossing::Rising;
        for (const int side : {-1, 1}) {
            const double lower = LowerExcess(day, side);
            const bool aboveFirst = (side < 0 ? lower : day.excess) > 0;
            const bool aboveLast = (side < 0 ? day.excess : lower) > 0;
            if (aboveFirst == aboveLast || aboveLast != rising) continue;
            const double culmination = day.transit + side * kHalfDay;
            double guess = 0.5 * (day.transit + culmination);
            if (std::fabs(day.cosTarget) <= 1) {
                guess = day.transit + side * std::acos(day.cosTarget) / kTurn;
            }
            return Solve(std::min(culmination, day.transit), std::max(culmination, day.transit),
                         guess, side, rising);
        }
        return std::nullopt;
    }

    // The crossing bracketed by [lo, hi] (the sun below h0 at one end and
    // above at the other) on one side of the meridian, from a first guess.
    // Each step moves by the hour angle still to go to side * H0 at the
    // current instant's declination; a step that would leave the bracket, or
    // an instant where the sun does not reach h0 at all, halves the bracket.
    double Solve(double lo, double hi, double guess, int side, bool rising) const {
        double t = std::clamp(guess, lo, hi);
        for (int i = 0; i < 64; ++i) {
            const SolarHourAngle sun = SunHourAngle(site_.longitude, t);
            const double excess = Excess(site_, sun);
            if ((excess < 0) == rising) {
                lo = t;
            } else {
                hi = t;
            }
            const double x = CosTargetHourAngle(site_, sun.sinDeclination, sun.cosDeclination);
            double next = 0.5 * (lo + hi);
            if (std::fabs(x) <= 1) {
                const double target = side * std::acos(x);
                const double stepped = t + Signed(target - sun.hourAngle) / kTurn;
                if (stepped > lo && stepped < hi) next = stepped;
            }
            if (std::fabs(next - t) < kSecond) return next;
            t = next;
        }
        return t;
    }

    static constexpr unsigned kSlots = 8;
    Site site_;
    double noon_;
    Day days_[kSlots];
};

// Whether the days of `k` may hold a rise (or a setting) in [from, to).
bool MayFall(const SolarDays& days, int k, Crossing crossing, double from, double to) {
    const double noon = days.MeanNoon(k);
    const double early = crossing == Crossing::Rising ? noon - kHalfDay : noon;
    const double late = crossing == Crossing::Rising ? noon : noon + kHalfDay;
    return early - kTransitSpread < to && late + kTransitSpread > from;
}

bool Within(const std::optional<double>& t, double from, double to) {
    return t && *t >= from && *t < to;
}

}  // namespace

double HorizonDip(double height) {
    return height > 0 ? kDipPerRootMetre * std::sqrt(height) / 60 : 0;
}

DayEvents PreciseDayEvents(double latitude, double longitude, double start, double end,
                           double altitude) {
    const Site site = MakeSite(latitude, longitude, altitude);
    SolarDays days(site, 0.5 * (start + end));
    // Days -3 .. 3 cover any date up to two days long around day 0.
    constexpr int kFirst = -3;
    constexpr int kLast = 3;
    DayEvents events;
    int riseDay = kFirst;
    for (int k = kFirst; k <= kLast && !events.rise; ++k) {
        if (!MayFall(days, k, Crossing::Rising, start, end)) continue;
        const std::optional<double> rise = days.Rise(k);
        if (Within(rise, start, end)) {
            events.rise = rise;
            riseDay = k;
        }
    }
    if (events.rise) {
        const double rise = *events.rise;
        for (int k = riseDay; k <= riseDay + 2; ++k) {
            if (!MayFall(days, k, Crossing::Setting, rise, rise + kSetSearch)) break;
            const std::optional<double> set = days.Set(k);
            if (!set) continue;
            if (*set < rise + kSetSearch) events.set = set;
            break;
        }
        if (events.set) {
            events.length = *events.set - rise;
        } else {
            // Up from the rise to the date's end, and from its start to a
            // setting earlier that date if there was one.
            events.length = end - rise;
            if (MayFall(days, riseDay - 1, Crossing::Setting, start, rise)) {
                const std::optional<double> earlier = days.Set(riseDay - 1);
                if (Within(earlier, start, rise)) events.length += *earlier - start;
            }
        }
        return events;
    }
    for (int k = kFirst; k <= kLast && !events.set; ++k) {
        if (!MayFall(days, k, Crossing::Setting, start, end)) continue;
        const std::optional<double> set = days.Set(k);
        if (Within(set, start, end)) events.set = set;
    }
    if (events.set) {
        events.length = *events.set - start;
        return events;
    }
    // No crossing all date: the sun stays on the side it starts on.
    const SolarHourAngle sun = SunHourAngle(longitude, start);
    const bool above = Excess(site, sun) > 0;
    events.state = above ? DayState::PolarDay : DayState::PolarNight;
    events.length = above ? 1 : 0;
    return events;
}

std::optional<double> SolarNoon(double longitude, double start, double end) {
    const double first = MeanNoonNear(longitude, start);
    for (int k = -1; first + k - kTransitSpread < end; ++k) {
        const double transit = FindTransit(longitude, first + k).instant;
        if (transit >= start && transit < end) return transit;
    }
    return std::nullopt;
}

double NextTransit(double longitude, double after) {
    const double noon = MeanNoonNear(longitude, after);
    const double transit = FindTransit(longitude, noon).instant;
    return transit > after ? transit : FindTransit(longitude, noon + 1).instant;
}

std::optional<double> NextCrossing(double latitude, double longitude, double after, double altitude,
                                   Crossing crossing) {
    SolarDays days(MakeSite(latitude, longitude, altitude), after);
    for (int k = -1; days.MeanNoon(k) - kHalfDay - kTransitSpread <= after + kYear; ++k) {
        if (!MayFall(days, k, crossing, after, after + kYear)) continue;
        const std::optional<double> t = crossing == Crossing::Rising ? days.Rise(k) : days.Set(k);
        if (t && *t > after) {
            if (*t <= after + kYear) return t;
            break;
        }
    }
    return std::nullopt;
}

}  // namespace kestrow
