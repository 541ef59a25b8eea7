// SPDX-License-Identifier: MIT
// How far the local clock runs ahead of UTC.
#pragma once

#include <optional>

#include "clock.h"

namespace kestrow {

struct UtcOffset {
    // Local clock minus UTC clock in hours, brought into [0, 24).
    double raw = 0;
    // raw rounded to one decimal (halves to even): the lead that chooses the
    // design's clock (DesignClockFor).
    double roundedHours = 0;
};

// From one reading of the clock:
//   UtcHours   = (utcHour + utcMinute / 60) + utcSecond / 3600
//   LocalHours = HourOf(local) + MinuteOf(local) / 60   (local seconds unused)
//   raw = LocalHours - UtcHours, plus 24 when negative;  roundedHours = RoundTo(raw, 1).
UtcOffset ComputeUtcOffset(const ClockReading& reading);

}  // namespace kestrow
