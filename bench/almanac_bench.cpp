// SPDX-License-Identifier: MIT
// The cost of one date's almanac, set against libnova's rise and set of the
// same dates at the same place.
#include <benchmark/benchmark.h>
#include <libnova/julian_day.h>
#include <libnova/solar.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "almanac/precise_sun.h"
#include "almanac/rise_set.h"
#include "app/almanac_display.h"
#include "app/day_almanac.h"

namespace {

using namespace kestrow;

constexpr double kLatitude = 48.85;
constexpr double kLongitude = 2.35;

// Every day of 2013 and 2014, so that the run sees all seasons and the
// first-of-month case where yesterday is in the month before.
struct Dates {
    std::vector<CalendarDay> days;
    std::vector<double> julianDays;  // 0h UT of each date

    Dates() {
        const DateValue first = MakeDate(2013, 1, 1);
        for (int i = 0; i < 730; ++i) {
            const DateValue date = first + i;
            CalendarDay day;
            day.day = static_cast<std::int16_t>(DayOf(date));
            day.month = static_cast<std::int16_t>(MonthOf(date));
            day.year = static_cast<std::int16_t>(YearOf(date));
            days.push_back(day);
            ln_date calendar{day.year, day.month, day.day, 0, 0, 0.0};
            julianDays.push_back(ln_get_julian_day(&calendar));
        }
    }
};

const Dates& TheDates() {
    static const Dates dates;
    return dates;
}

// The four texts of the main window for one date, as each tick makes them:
// the coordinate texts read, today's and yesterday's rise and set, the texts.
void BM_AlmanacTexts(benchmark::State& state) {
    const Dates& dates = TheDates();
    const Coordinate latitude = "48.85";
    const Coordinate longitude = "2.35";
    std::size_t i = 0;
    for (auto _ : state) {
        DayRequest request{ReadPlace(latitude, longitude, "."), dates.days[i], {}};
        const DayEvents today = ComputeDay(request);
        request.date = DayBefore(dates.days[i]);
        AlmanacTexts texts = FormatDay(today, ComputeDay(request).length, request.clock);
        benchmark::DoNotOptimize(texts);
        if (++i == dates.days.size()) i = 0;
    }
    state.counters["dates/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_AlmanacTexts);

// Sunrise and sunset alone, the work that matches libnova's call below.
void BM_AlmanacRiseSet(benchmark::State& state) {
    const Dates& dates = TheDates();
    std::size_t i = 0;
    for (auto _ : state) {
        const CalendarDay& day = dates.days[i];
        RiseSetUT events = SunRiseSetUT(kLatitude, kLongitude, day.day, day.month, day.year);
        benchmark::DoNotOptimize(events);
        if (++i == dates.days.size()) i = 0;
    }
    state.counters["dates/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_AlmanacRiseSet);

// The precise method's share of the window's work for one date: today's and
// yesterday's events, each local date here the UT date. Set against
// BM_AlmanacTexts, which does the same for the design's method.
void BM_PreciseDayEvents(benchmark::State& state, double latitude, double longitude) {
    const Dates& dates = TheDates();
    const DateValue first = MakeDate(2013, 1, 1);
    std::size_t i = 0;
    for (auto _ : state) {
        const double today = first + static_cast<double>(i);
        DayEvents now = PreciseDayEvents(latitude, longitude, today, today + 1);
        DayEvents before = PreciseDayEvents(latitude, longitude, today - 1, today);
        benchmark::DoNotOptimize(now);
        benchmark::DoNotOptimize(before);
        if (++i == dates.days.size()) i = 0;
    }
    state.counters["dates/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK_CAPTURE(BM_PreciseDayEvents, Paris, kLatitude, kLongitude);
// Where the sun grazes the horizon around the polar night and the midnight
// sun (Tromso), which costs the most work per date.
BENCHMARK_CAPTURE(BM_PreciseDayEvents, Tromso, 69.65, 18.96);

// Seconds of day (UT) of a Julian day.
double SecondOfDay(double julianDay) {
    const double fraction = (julianDay + 0.5) - std::floor(julianDay + 0.5);
    return fraction * 86400;
}

// Seconds between two times of day, across midnight the short way.
double ClockGap(double a, double b) {
    const double gap = std::fabs(a - b);
    return std::fmin(gap, 86400 - gap);
}

void BM_LibnovaSolarRst(benchmark::State& state) {
    const Dates& dates = TheDates();
    ln_lnlat_posn observer{kLongitude, kLatitude};
    std::size_t i = 0;
    for (auto _ : state) {
        ln_rst_time rst{};
        int kind = ln_get_solar_rst(dates.julianDays[i], &observer, &rst);
        benchmark::DoNotOptimize(kind);
        benchmark::DoNotOptimize(rst);
        if (++i == dates.days.size()) i = 0;
    }
    state.counters["dates/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);

    // Both sides must be answering the same question: report how far the
    // two disagree over the dates (the almanac's ephemeris is low-precision
    // and its horizon allowance differs, so a minute or two is expected).
    double worst = 0;
    for (std::size_t d = 0; d < dates.days.size(); ++d) {
        const CalendarDay& day = dates.days[d];
        ln_rst_time rst{};
        if (ln_get_solar_rst(dates.julianDays[d], &observer, &rst) != 0) continue;
        const RiseSetUT events = SunRiseSetUT(kLatitude, kLongitude, day.day, day.month, day.year);
        const DateValue rise = events.rise;
        const DateValue set = events.set;
        const double riseSeconds = HourOf(rise) * 3600 + MinuteOf(rise) * 60 + SecondOf(rise);
        const double setSeconds = HourOf(set) * 3600 + MinuteOf(set) * 60 + SecondOf(set);
        worst = std::fmax(worst, ClockGap(riseSeconds, SecondOfDay(rst.rise)));
        worst = std::fmax(worst, ClockGap(setSeconds, SecondOfDay(rst.set)));
    }
    state.counters["max_gap_s"] = worst;
    if (worst > 300) state.SkipWithError("libnova and the almanac disagree by over 5 minutes");
}
BENCHMARK(BM_LibnovaSolarRst);

}  // namespace

BENCHMARK_MAIN();
