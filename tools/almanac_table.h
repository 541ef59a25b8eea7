// SPDX-License-Identifier: MIT
// The almanac of a run of days as a tab-separated table, one line a day.
#pragma once

#include <string>
#include <string_view>

#include "almanac/date_value.h"
#include "app/almanac_display.h"

namespace kestrow {

struct AlmanacTableRequest {
    // The coordinates as typed, read with the place's decimal separator.
    AlmanacPlace place;
    // The first date, at 00:00.
    DateValue first = 0;
    int days = 1;
    // The lead of the local clock over UTC, as the main window uses it.
    double offsetTU = 0;
};

// The column names, ending in a newline; the first one is "date".
std::string_view AlmanacTableHeader();

// The header, then for each day: the date (YYYY-MM-DD), the UT sunrise and
// sunset clocks (H:MM:SS), and the main window's four texts for that day
// (sunrise, sunset, length, change). Every line ends in a newline.
// Throws CoordinateError, DateRangeError or OverflowError when a day cannot
// be computed; nothing is returned then.
std::string BuildAlmanacTable(const AlmanacTableRequest& request);

}  // namespace kestrow
