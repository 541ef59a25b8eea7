// SPDX-License-Identifier: MIT
#include "tools/almanac_table.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>

#include "almanac/precise_sun.h"
#include "app/almanac_display.h"
#include "tools/instant_text.h"

namespace kestrow {
namespace {

constexpr long long kSecondsPerDay = 86400;

constexpr const char* kBaseColumns[] = {
    "date",   "sunrise_ut", "sunset_ut",   "sunrise",    "sunset",   "length",   "change",
    "offset", "state",      "sunrise_iso", "sunset_iso", "length_s", "change_s",
};

// The twilights in the columns' order: each asked for by a member of
// TableEvents, and found as the sun's centre crossing its altitude.
struct Twilight {
    bool TableEvents::*asked;
    double altitude;
    const char* dawn;
    const char* dusk;
};

constexpr Twilight kTwilights[] = {
    {&TableEvents::civil, kCivilTwilight, "civil_dawn_iso", "civil_dusk_iso"},
    {&TableEvents::nautical, kNauticalTwilight, "nautical_dawn_iso", "nautical_dusk_iso"},
    {&TableEvents::astronomical, kAstronomicalTwilight, "astronomical_dawn_iso",
     "astronomical_dusk_iso"},
};

void AppendNumber(std::string& out, long long value, int width) {
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    for (auto n = result.ptr - digits; n < width; ++n) out += '0';
    out.append(digits, result.ptr);
}

void AppendClock(std::string& out, long long hour, long long minute, long long second) {
    AppendNumber(out, hour, 1);
    out += ':';
    AppendNumber(out, minute, 2);
    out += ':';
    AppendNumber(out, second, 2);
}

// The UT clock time of an event: the design's clock times are whole seconds
// cut as it cuts them, the precise method's instants are rounded.
void AppendUtClock(std::string& out, DateValue event, AlmanacMethod method) {
    if (method == AlmanacMethod::Design) {
        AppendClock(out, HourOf(event), MinuteOf(event), SecondOf(event));
        return;
    }
    const long long seconds = std::llround(ToLinear(event) * kSecondsPerDay);
    const long long ofDay = (seconds % kSecondsPerDay + kSecondsPerDay) % kSecondsPerDay;
    AppendClock(out, ofDay / 3600, ofDay % 3600 / 60, ofDay % 60);
}

std::string_view StateName(DayState state) {
    switch (state) {
        case DayState::PolarDay:
            return "polar_day";
        case DayState::PolarNight:
            return "polar_night";
        case DayState::Normal:
            break;
    }
    return "normal";
}

// Fills the cells of one row in place, keeping each cell's text buffer from
// row to row.
class RowCells {
  public:
    explicit RowCells(std::size_t columns) : cells_(columns) {}

    // The next cell's text, emptied, to be written into.
    std::string& Text(bool number = false) {
        Cell& cell = cells_[next_++];
        cell.number = number;
        if (!cell.text) cell.text.emplace();
        cell.text->clear();
        return *cell.text;
    }
    // The next cell, absent when `text` is empty.
    void Put(std::string_view text) {
        if (text.empty()) {
            Absent();
        } else {
            Text().assign(text);
        }
    }
    void Absent() { cells_[next_++].text.reset(); }
    void Number(long long value) { AppendNumber(Text(true), value, 1); }
    void Instant(const std::optional<double>& linear, const ShownClock& clock) {
        if (!linear) return Absent();
        Text().assign(IsoInstantText(*linear, clock.LeadAt(ToStored(*linear))));
    }

    std::span<const Cell> Done() {
        next_ = 0;
        return cells_;
    }

  private:
    std::vector<Cell> cells_;
    std::size_t next_ = 0;
};

// Solar noon of a local date: one search from a quarter of a day before the
// mean noon nearest the date's middle finds it. Where that transit may not
// be the date's first (a date of 25 hours with a transit near each end) or
// lies outside it (a clock far from the sun's), the whole date is searched.
std::optional<double> NoonOf(double longitude, const LocalDayBounds& day) {
    // Transits are a day apart within half a minute.
    constexpr double kSpread = 0.001;
    const double shift = longitude / 360;
    const double meanNoon = std::round(0.5 * (day.start + day.end) + shift - 0.5) + 0.5 - shift;
    const double transit = NextTransit(longitude, meanNoon - 0.25);
    if (transit >= day.start && transit < day.end && transit - 1 + kSpread < day.start) {
        return transit;
    }
    return SolarNoon(longitude, day.start, day.end);
}

std::optional<double> Linear(const std::optional<double>& stored) {
    if (!stored) return std::nullopt;
    return ToLinear(*stored);
}

}  // namespace

std::vector<std::string> AlmanacTableColumns(const TableEvents& events) {
    std::vector<std::string> columns(std::begin(kBaseColumns), std::end(kBaseColumns));
    if (events.noon) columns.emplace_back("noon_iso");
    for (const Twilight& twilight : kTwilights) {
        if (events.*twilight.asked) {
            columns.emplace_back(twilight.dawn);
            columns.emplace_back(twilight.dusk);
        }
    }
    return columns;
}

void WriteAlmanacTable(const AlmanacTableRequest& request,
                       const std::function<void(std::string_view text)>& write) {
    const ShownClock& clock = request.clock;
    // Each day is computed once: it is the next row's yesterday.
    DayRequest day{request.place, DayBefore(CalendarDayOf(request.first)), clock, request.method};
    day.height = request.height;
    DayEvents yesterday = ComputeDay(day);

    const std::vector<std::string> columns = AlmanacTableColumns(request.events);
    RowCells cells(columns.size());
    RowWriter rows(request.format, columns, request.header, write);
    const TableEvents& events = request.events;
    const bool anyEvent = events.noon || events.civil || events.nautical || events.astronomical;
    const double latitude = request.place.latitude;
    const double longitude = request.place.longitude;
    for (int i = 0; i < request.days; ++i) {
        // Whole serials stay whole, so plain addition steps one calendar day
        // even before day 0.
        const DateValue date = request.first + i;
        day.date = CalendarDayOf(date);
        const DayEvents today = ComputeDay(day);
        const AlmanacTexts texts = FormatDay(today, yesterday.length, clock, request.method);
        const double change = today.length - yesterday.length;
        yesterday = today;

        std::string& dateText = cells.Text();
        AppendNumber(dateText, day.date.year, 4);
        dateText += '-';
        AppendNumber(dateText, day.date.month, 2);
        dateText += '-';
        AppendNumber(dateText, day.date.day, 2);
        for (const std::optional<double>& event : {today.rise, today.set}) {
            if (event) {
                AppendUtClock(cells.Text(), *event, request.method);
            } else {
                cells.Absent();
            }
        }
        for (const std::string* text :
             {&texts.sunrise, &texts.sunset, &texts.length, &texts.change}) {
            cells.Put(*text);
        }
        if (today.rise) {
            cells.Text().assign(OffsetText(clock.LeadAt(*today.rise)));
        } else {
            cells.Absent();
        }
        cells.Text().assign(StateName(today.state));
        cells.Instant(Linear(today.rise), clock);
        cells.Instant(Linear(today.set), clock);
        cells.Number(std::llround(today.length * kSecondsPerDay));
        cells.Number(std::llround(change * kSecondsPerDay));

        if (anyEvent) {
            const LocalDayBounds bounds = LocalDayOn(date, clock);
            if (events.noon) cells.Instant(NoonOf(longitude, bounds), clock);
            for (const Twilight& twilight : kTwilights) {
                if (!(events.*twilight.asked)) continue;
                // The twilights are the centre's depression below the true
                // horizon: the observer's height does not move them.
                const DayEvents limits = PreciseDayEvents(latitude, longitude, bounds.start,
                                                          bounds.end, twilight.altitude);
                cells.Instant(limits.rise, clock);
                cells.Instant(limits.set, clock);
            }
        }
        rows.Row(cells.Done());
    }
    rows.Finish();
}

std::string BuildAlmanacTable(const AlmanacTableRequest& request) {
    std::string table;
    WriteAlmanacTable(request, [&table](std::string_view text) { table.append(text); });
    return table;
}

}  // namespace kestrow
