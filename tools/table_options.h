// SPDX-License-Identifier: MIT
// The command line of kestrow-table.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "app/clock.h"
#include "tools/almanac_table.h"
#include "tools/sun_event.h"

namespace kestrow {

inline constexpr int kMaxTableDays = 100000;
// The highest eye --height takes, in metres: above any summit and airliner.
inline constexpr double kMaxHeight = 20000;
// The largest move --shift takes either way, in minutes: a day.
inline constexpr double kMaxShiftMinutes = 1440;

// A command line that cannot be used. The message names the argument at fault.
class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The clock reads a moment that the table cannot start from: a year outside
// 100 to 9999, or none at all.
class ClockError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

struct TableOptions {
    bool help = false;
    bool version = false;
    AlmanacTableRequest request;
    // --zone: a zone of the tz database, or "local" for this computer's own.
    // The caller puts the request on that zone's clock.
    std::optional<std::string> zone;
    // --next or --wait: print the next instant of this event, instead of a
    // table, and with `wait` sleep until it. It is moved by `shiftMinutes`.
    std::optional<SunEvent> next;
    bool wait = false;
    double shiftMinutes = 0;
};

// Reads --lat TEXT --lon TEXT [--from YYYY-MM-DD] [--days N]
// [--offset HOURS | --zone ZONE] [--precise] [--format tsv|csv|json] [--no-header]
// [--events LIST] [--height METRES] [--next EVENT | --wait EVENT] [--shift MINUTES]
// [-h|--help] [--version] with getopt_long. The coordinates are read once, with decimalSeparator;
// they and the other numbers take a point or a comma as well. Without --from the table
// starts on the local date of `now`; without --offset it uses the offset that `now` shows. Every
// date of the table, and the day before the first (which the change of day length needs), is
// checked to lie in the years 100 to 9999. Throws UsageError; everything that is returned can be
// computed.
TableOptions ParseTableOptions(int argc, char* argv[], const ClockReading& now,
                               std::string_view decimalSeparator);

// The same, reading `clock` only when the table needs today's date or the
// machine's offset: --help and --version, and a table whose --from and
// --offset are given, never read it. Throws UsageError, or ClockError for a
// clock outside the calendar.
TableOptions ParseTableOptions(int argc, char* argv[], const Clock& clock,
                               std::string_view decimalSeparator);

// The usage text, ending in a newline.
std::string_view TableUsage();

// Makes `name`, a known zone (IsKnownZone), the process's local clock for
// every later reading, so that one zone serves a whole run.
void UseZone(std::string_view name);

}  // namespace kestrow
