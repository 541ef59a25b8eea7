// SPDX-License-Identifier: MIT
// The almanac of a run of days as a table, one row a day, in tab-separated
// text, CSV or JSON.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "almanac/date_value.h"
#include "app/coordinate.h"
#include "app/day_almanac.h"
#include "app/shown_clock.h"
#include "tools/row_format.h"

namespace kestrow {

// The columns of events beyond sunrise and sunset, from the precise method.
struct TableEvents {
    bool noon = false;          // noon_iso
    bool civil = false;         // civil_dawn_iso, civil_dusk_iso
    bool nautical = false;      // nautical_dawn_iso, nautical_dusk_iso
    bool astronomical = false;  // astronomical_dawn_iso, astronomical_dusk_iso
};

struct AlmanacTableRequest {
    Place place;
    // The first date, at 00:00.
    DateValue first = 0;
    int days = 1;
    // The clock of the window's sunrise and sunset.
    ShownClock clock;
    AlmanacMethod method = AlmanacMethod::Design;
    // Precise method: the observer's height above the land around, in
    // metres, which lowers the horizon of sunrise and sunset by its dip.
    double height = 0;
    TableEvents events;
    TableFormat format = TableFormat::Tsv;
    // TSV and CSV: a first line of column names.
    bool header = true;
};

// The column names in order: date, sunrise_ut, sunset_ut, sunrise, sunset,
// length, change, offset, state, sunrise_iso, sunset_iso, length_s,
// change_s, then those of `events` in the order of TableEvents, dawn before
// dusk.
std::vector<std::string> AlmanacTableColumns(const TableEvents& events);

// One row a day, each handed to `write` as soon as it is computed (after the
// header, or JSON's opening bracket), so a long table starts at once:
//  - date: YYYY-MM-DD;
//  - sunrise_ut, sunset_ut: the UT clock times, H:MM:SS (the design's
//    method cuts them to the second, the precise one rounds them);
//  - sunrise, sunset, length, change: the main window's four texts for the
//    date, in the texts of the request's method;
//  - offset: the shown clock's lead over UT at sunrise, such as +05:30;
//  - state: normal, polar_day or polar_night (DayEvents::state);
//  - sunrise_iso, sunset_iso and the event columns: ISO 8601 instants on the
//    shown clock, rounded to the second, with the clock's offset;
//  - length_s, change_s: the length of day and its change since the day
//    before, rounded to whole seconds (numbers in JSON).
// An event the date lacks leaves its fields empty (null in JSON).
// Throws DateRangeError or OverflowError, before anything is written when
// the first day (or the day before it) cannot be computed.
void WriteAlmanacTable(const AlmanacTableRequest& request,
                       const std::function<void(std::string_view text)>& write);

// The whole table as one text; nothing is returned when a day fails.
std::string BuildAlmanacTable(const AlmanacTableRequest& request);

}  // namespace kestrow
