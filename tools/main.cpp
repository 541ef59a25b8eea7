// SPDX-License-Identifier: MIT
// kestrow-table: the almanac for a place and a run of days, as text.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>

#include "almanac/errors.h"
#include "app/clock.h"
#include "app/command_line.h"
#include "app/shown_clock.h"
#include "app/user_locale.h"
#include "tools/almanac_table.h"
#include "tools/instant_text.h"
#include "tools/sun_event.h"
#include "tools/table_options.h"
#include "tools/wall_clock_wait.h"

namespace {

// Bad input; the message names the argument.
constexpr int kUsageStatus = 2;
// The table could not be written.
constexpr int kWriteStatus = 1;
// The clock reads a moment outside the calendar.
constexpr int kClockStatus = 1;
// --next or --wait: the event does not happen within a year.
constexpr int kNoEventStatus = 3;
constexpr double kSecondsPerDay = 86400;

int Fail(int status, const std::string& message) {
    std::fprintf(stderr, "kestrow-table: %s\n", message.c_str());
    return status;
}

int FailUsage(const std::string& message) { return Fail(kUsageStatus, message + " (see --help)"); }

bool WriteAll(std::string_view text) {
    return std::fwrite(text.data(), 1, text.size(), stdout) == text.size() &&
           std::fflush(stdout) == 0;
}

int FailWrite() {
    return Fail(kWriteStatus,
                std::string("cannot write to standard output: ") + std::strerror(errno));
}

// --next and --wait: the first event whose shifted instant is after now, as
// one line on the shown clock, written out before any wait.
int RunNext(const kestrow::TableOptions& options) {
    using namespace kestrow;
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    try {
        ReadingAt(now.tv_sec);
    } catch (const Error& error) {
        return Fail(kClockStatus, error.what());
    }
    const double nowDays =
        ToLinear(InstantOf(now.tv_sec)) + static_cast<double>(now.tv_nsec) * 1e-9 / kSecondsPerDay;
    const double shift = options.shiftMinutes / (24 * 60);
    const AlmanacTableRequest& request = options.request;
    const std::optional<double> event =
        NextSunEvent(request.place, *options.next, request.height, nowDays - shift);
    if (!event) {
        return Fail(kNoEventStatus, "no " + std::string(SunEventName(*options.next)) +
                                        " at this place within a year");
    }
    const double instant = *event + shift;
    const std::string line =
        IsoInstantText(instant, request.clock.LeadAt(ToStored(instant))) + "\n";
    if (!WriteAll(line)) return FailWrite();
    // The second the line names, which rounds the instant as the line does.
    if (options.wait) {
        SleepUntil(UnixSeconds(ToStored(instant)));
    }
    return 0;
}

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
    if (text.empty() && options.next) return RunNext(options);
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
    if (!written || std::fflush(stdout) != 0) return FailWrite();
    return 0;
}
