// SPDX-License-Identifier: MIT
// kestrow-table: the almanac for a place and a run of days, as text.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "almanac/errors.h"
#include "app/clock.h"
#include "app/command_line.h"
#include "app/user_locale.h"
#include "tools/almanac_table.h"
#include "tools/table_options.h"

namespace {

// Bad input; the message names the argument.
constexpr int kUsageStatus = 2;
// The table could not be written.
constexpr int kWriteStatus = 1;
// The clock reads a moment outside the calendar.
constexpr int kClockStatus = 1;

int Fail(int status, const std::string& message) {
    std::fprintf(stderr, "kestrow-table: %s\n", message.c_str());
    return status;
}

int FailUsage(const std::string& message) { return Fail(kUsageStatus, message + " (see --help)"); }

}  // namespace

int main(int argc, char* argv[]) {
    using namespace kestrow;
    TableOptions options;
    try {
        options = ParseTableOptions(argc, argv, SystemClock(), EnvironmentDecimalSeparator());
    } catch (const UsageError& error) {
        return FailUsage(error.what());
    } catch (const ClockError& error) {
        return Fail(kClockStatus, error.what());
    }
    const std::string text = options.help      ? std::string(TableUsage())
                             : options.version ? VersionText("kestrow-table")
                                               : std::string();

    // The zone's rules are the C library's, for the whole run.
    const SystemClock zoneClock;
    if (options.zone) {
        if (*options.zone != "local") UseZone(*options.zone);
        options.request.clock.zone = &zoneClock;
    }
    // Each line is written as it is computed, so the first lines of a long
    // table come at once and a reader that stops early stops the program.
    // Every input was checked above, so no day fails after the first line.
    bool written = true;
    const auto write = [&written](std::string_view line) {
        if (written) written = std::fwrite(line.data(), 1, line.size(), stdout) == line.size();
    };
    try {
        if (text.empty()) {
            WriteAlmanacTable(options.request, write);
        } else {
            write(text);
        }
    } catch (const Error& error) {
        return FailUsage(error.what());
    }
    // A full disk or a closed pipe must not pass for success.
    if (!written || std::fflush(stdout) != 0) {
        return Fail(kWriteStatus, std::string("cannot write the table: ") + std::strerror(errno));
    }
    return 0;
}
