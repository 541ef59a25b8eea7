// SPDX-License-Identifier: MIT
// The almanac of a run of days as a tab-separated table, one line a day.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "almanac/date_value.h"
#include "app/coordinate.h"
#include "app/shown_clock.h"

namespace kestrow {

struct AlmanacTableRequest {
    Place place;
    // The first date, at 00:00.
    DateValue first = 0;
    int days = 1;
    // The clock of the window's sunrise and sunset.
    ShownClock clock;
};

// The column names, ending in a newline; the first one is "date".
std::string_view AlmanacTableHeader();

// The header, then for each day: the date (YYYY-MM-DD), the UT sunrise and
// sunset clocks (H:MM:SS), the main window's four texts for that day
// (sunrise, sunset, length, change), and the shown clock's lead over UT at
// sunrise (+05:30). Every line ends in a newline, and each is handed to
// `write` as soon as it is computed, so a long table starts at once.
// Throws DateRangeError or OverflowError, before the header when the first
// day (or the day before it) cannot be computed.
void WriteAlmanacTable(const AlmanacTableRequest& request,
                       const std::function<void(std::string_view line)>& write);

// The whole table as one text; nothing is returned when a day fails.
std::string BuildAlmanacTable(const AlmanacTableRequest& request);

}  // namespace kestrow
