// SPDX-License-Identifier: MIT
// The system clock, read once for each question asked of it.
#pragma once

#include <ctime>

#include "almanac/date_value.h"

namespace kestrow {

// One reading of the clock: the local date and time, and the UTC clock
// fields of the same instant.
struct ClockReading {
    DateValue local = 0;  // local date and time, to the second
    int utcHour = 0;
    int utcMinute = 0;
    int utcSecond = 0;
};

class Clock {
  public:
    virtual ~Clock() = default;
    // Throws DateRangeError for a moment outside the years 100 to 9999.
    virtual ClockReading Read() const = 0;
    // Seconds by which this clock's zone runs ahead of UT at `instant`, by the
    // tz rules the process uses (TZ), summer time included.
    virtual long UtcOffsetAt(std::time_t instant) const;
};

// The reading of an instant, with local time by the process's time-zone rules (TZ).
// Throws DateRangeError when its local date lies outside the years 100 to 9999.
ClockReading ReadingAt(std::time_t instant);

// Reads the system clock.
class SystemClock final : public Clock {
  public:
    ClockReading Read() const override;
};

}  // namespace kestrow
