// SPDX-License-Identifier: MIT
// The command line of kestrow-table.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "app/clock.h"
#include "tools/almanac_table.h"

namespace kestrow {

inline constexpr int kMaxTableDays = 100000;

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
};

// Reads --lat TEXT --lon TEXT [--from YYYY-MM-DD] [--days N]
// [--offset HOURS | --zone ZONE] [-h|--help] [--version] with getopt_long. The coordinates are read
// once, with decimalSeparator (a point and a comma are always accepted). Without --from the table
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
