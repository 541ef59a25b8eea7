// SPDX-License-Identifier: MIT
// What one local date holds of the sun: its rising and setting as instants,
// or their absence, and how long it stays up. Every method of the almanac
// answers in these terms, so that the window and the table tool format one
// kind of result whichever method computed it.
#pragma once

#include <optional>

namespace kestrow {

// Whether the sun crosses the horizon on the date at all.
enum class DayState {
    Normal,      // it rises or sets, or both
    PolarDay,    // above the horizon from the date's start to its end
    PolarNight,  // below it from start to end
};

struct DayEvents {
    // Instants of UT in days since 1899-12-30 00:00 UT, the scale of
    // DateValue; absent where the sun does not rise, or set, that date.
    std::optional<double> rise;
    std::optional<double> set;
    // Time the sun is up, in days: 1 on a polar day, 0 on a polar night.
    double length = 0;
    DayState state = DayState::Normal;
};

}  // namespace kestrow
