// SPDX-License-Identifier: MIT
// The window's four texts of one date, through the almanac step and the
// format step as the window takes them.
#pragma once

#include "app/almanac_display.h"
#include "app/day_almanac.h"

namespace kestrow::testing {

inline AlmanacTexts DayTexts(const Place& place, const CalendarDay& day, const ShownClock& clock) {
    DayRequest request{place, day, clock};
    const DayEvents today = ComputeDay(request);
    request.date = DayBefore(day);
    return FormatDay(today, ComputeDay(request).length, clock);
}

}  // namespace kestrow::testing
