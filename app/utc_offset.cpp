// SPDX-License-Identifier: MIT
#include "utc_offset.h"

namespace kestrow {

UtcOffset ComputeUtcOffset(const ClockReading& reading) {
    const double utcHours =
        (reading.utcHour + reading.utcMinute / 60.0) + reading.utcSecond / 3600.0;
    const double localHours = HourOf(reading.local) + MinuteOf(reading.local) / 60.0;
    UtcOffset offset;
    offset.raw = localHours - utcHours;
    if (offset.raw < 0) offset.raw = offset.raw + 24;
    offset.roundedHours = RoundTo(offset.raw, 1);
    return offset;
}

}  // namespace kestrow
