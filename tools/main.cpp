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

int Fail(int status, const std::string& message) {
    std::fprintf(stderr, "kestrow-table: %s\n", message.c_str());
    return status;
}

int FailUsage(const std::string& message) { return Fail(kUsageStatus, message + " (see --help)"); }

}  // namespace

int main(int argc, char* argv[]) {
    using namespace kestrow;
    std::string output;
    try {
        const TableOptions options =
            ParseTableOptions(argc, argv, SystemClock().Read(), EnvironmentDecimalSeparator());
        // The whole table is built before anything is written, so that bad
        // input never leaves a partial table on standard output.
        output = options.help      ? std::string(TableUsage())
                 : options.version ? VersionText("kestrow-table")
                                   : BuildAlmanacTable(options.request);
    } catch (const UsageError& error) {
        return FailUsage(error.what());
    } catch (const Error& error) {
        return FailUsage(error.what());
    }
    // A full disk or a closed pipe must not pass for success.
    if (std::fwrite(output.data(), 1, output.size(), stdout) != output.size() ||
        std::fflush(stdout) != 0) {
        return Fail(kWriteStatus, std::string("cannot write the table: ") + std::strerror(errno));
    }
    return 0;
}
