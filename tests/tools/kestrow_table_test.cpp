// SPDX-License-Identifier: MIT
// The program as a user runs it: exit status, standard output and standard error.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "tests/tools/command_output.h"

namespace {

using kestrow::testing::Output;

struct ProgramRun {
    int status = -1;
    std::string out;
    std::string err;
};

std::string Quoted(const std::string& arg) {
    std::string quoted = "'";
    for (const char c : arg) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// Runs the program through the shell with `environment` (NAME=value words)
// set for it and standard output sent to `redirect` when that is not empty.
ProgramRun RunTable(const std::vector<std::string>& args, const std::string& environment = "",
                    const std::string& redirect = "") {
    char errPath[] = "/tmp/kestrow-table-err-XXXXXX";
    const int fd = mkstemp(errPath);
    EXPECT_NE(fd, -1);
    close(fd);
    std::string command = "env " + environment + " " + Quoted(KESTROW_TABLE_PATH);
    for (const std::string& arg : args) command.append(" ").append(Quoted(arg));
    command.append(" 2>").append(Quoted(errPath));
    if (!redirect.empty()) command.append(" >").append(redirect);

    ProgramRun run;
    FILE* pipe = popen(command.c_str(), "r");
    EXPECT_NE(pipe, nullptr);
    if (pipe == nullptr) return run;
    char buffer[65536];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.out.append(buffer, n);
    const int wait = pclose(pipe);
    run.status = WIFEXITED(wait) ? WEXITSTATUS(wait) : -1;
    std::ifstream err(errPath);
    std::ostringstream text;
    text << err.rdbuf();
    run.err = text.str();
    std::remove(errPath);
    return run;
}

std::size_t LineCount(const std::string& text) {
    std::size_t lines = 0;
    for (const char c : text) lines += c == '\n' ? 1 : 0;
    return lines;
}

const std::string kParisHeader =
    "date\tsunrise_ut\tsunset_ut\tsunrise\tsunset\tlength\tchange\toffset\tstate\tsunrise_iso\t"
    "sunset_iso\tlength_s\tchange_s\n";

TEST(KestrowTable, PrintsTheParisExample) {
    const ProgramRun run =
        RunTable({"--lat", "48.85", "--lon", "2.35", "--from", "2013-01-02", "--offset", "1"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    // The day before is 7:45:59 to 16:02:32 UT, 8 h 16 min 33 s long.
    EXPECT_EQ(run.out,
              kParisHeader +
                  "2013-01-02\t7:45:55\t16:03:32\t8 h 45\t17 h 03\t8 h 17\t+ 1 mn\t+01:00\t"
                  "normal\t2013-01-02T08:45:55+01:00\t2013-01-02T17:03:32+01:00\t29857\t64\n");
}

TEST(KestrowTable, ReadsADecimalCommaUnderAnyLocale) {
    const std::vector<std::string> point = {"--lat",      "48.85",  "--lon", "2.35",     "--from",
                                            "2013-01-02", "--days", "3",     "--offset", "1"};
    const std::vector<std::string> comma = {"--lat",      "48,85",  "--lon", "2,35",     "--from",
                                            "2013-01-02", "--days", "3",     "--offset", "1,0"};
    const ProgramRun expected = RunTable(point, "LC_ALL=C");
    ASSERT_EQ(expected.status, 0);
    ASSERT_EQ(LineCount(expected.out), 4u);
    // Pashto's mark, U+066B, is two bytes: the whole of it is a mark, one of them is not.
    const auto withLatitude = [&point](const char* lat) {
        std::vector<std::string> args = point;
        args[1] = lat;
        return args;
    };
    const std::vector<std::string> arabic = withLatitude(
        "48\u066B"
        "85");
    const std::vector<std::string> broken = withLatitude(
        "48\xD9"
        "85");
    for (const char* locale :
         {"LC_ALL=C", "LC_ALL=fr_FR.UTF-8", "LC_ALL=en_US.UTF-8", "LC_ALL=ps_AF.UTF-8"}) {
        SCOPED_TRACE(locale);
        const bool pashto = std::string(locale) == "LC_ALL=ps_AF.UTF-8";
        for (const std::vector<std::string>* args : {&point, &comma, &arabic, &broken}) {
            const ProgramRun run = RunTable(*args, locale);
            const bool taken = args == &point || args == &comma || (pashto && args == &arabic);
            EXPECT_EQ(run.status, taken ? 0 : 2) << (*args)[1] << run.err;
            if (taken) {
                EXPECT_EQ(run.out, expected.out);
            }
        }
    }
}

TEST(KestrowTable, WithoutOffsetUsesTheMachinesLeadOverUtc) {
    const std::vector<std::string> place = {"--lat",  "48.85",      "--lon",  "2.35",
                                            "--from", "2013-06-21", "--days", "5"};
    struct Case {
        const char* zone;
        const char* offset;
    };
    // POSIX zones: "UTC-2" is two hours ahead of UTC, "UTC5" five behind (lead 19).
    const Case cases[] = {
        {"TZ=UTC0", "0"}, {"TZ=UTC-1", "1"}, {"TZ=UTC-2", "2"}, {"TZ=UTC5", "19"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.zone);
        std::vector<std::string> explicitOffset = place;
        explicitOffset.insert(explicitOffset.end(), {"--offset", c.offset});
        const ProgramRun withOffset = RunTable(explicitOffset);
        const ProgramRun fromClock = RunTable(place, c.zone);
        EXPECT_EQ(fromClock.status, 0) << fromClock.err;
        EXPECT_EQ(fromClock.out, withOffset.out);
    }
    // A two-hour lead, and only that, moves the window's times by two hours.
    const ProgramRun twoHours = RunTable(place, "TZ=UTC-2");
    const ProgramRun oneHour = RunTable(place, "TZ=UTC-1");
    EXPECT_NE(twoHours.out, oneHour.out);
    EXPECT_EQ(RunTable(place, "TZ=UTC0").out, oneHour.out);
}

TEST(KestrowTable, WithoutFromStartsOnTodaysDate) {
    const auto today = [] {
        const std::time_t now = std::time(nullptr);
        std::tm utc{};
        gmtime_r(&now, &utc);
        char text[16];
        std::strftime(text, sizeof text, "%Y-%m-%d", &utc);
        return std::string(text);
    };
    const std::string before = today();
    const ProgramRun run = RunTable({"--lat", "48.85", "--lon", "2.35"}, "TZ=UTC0");
    const std::string after = today();
    ASSERT_EQ(run.status, 0) << run.err;
    ASSERT_EQ(LineCount(run.out), 2u);
    const std::string first = run.out.substr(kParisHeader.size(), 10);
    EXPECT_TRUE(first == before || first == after) << first;
}

TEST(KestrowTable, PrintsTheLargestTableInFull) {
    const ProgramRun run =
        RunTable({"--lat", "48.85", "--lon", "2.35", "--from", "1900-01-01", "--days", "100000"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(LineCount(run.out), 100001u);
    EXPECT_NE(run.out.find("\n2173-10-15\t"), std::string::npos);
}

TEST(KestrowTable, HelpAndVersionGoToStandardOutput) {
    const std::pair<std::string, std::string> cases[] = {
        {"--help", "Usage: kestrow-table"},
        {"-h", "Usage: kestrow-table"},
        {"--version", "kestrow-table "},
    };
    for (const auto& [option, start] : cases) {
        const ProgramRun run = RunTable({option});
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.out.rfind(start, 0), 0u) << run.out;
        EXPECT_EQ(run.err, "");
    }
}

// Bad input: status 2, one line on standard error naming the argument, and
// not a byte on standard output, even when the fault is in the last date.
TEST(KestrowTable, BadInputPrintsNothingAndExitsWithTwo) {
    struct Case {
        std::vector<std::string> args;
        std::string names;
    };
    const Case cases[] = {
        {{}, "--lat"},
        {{"--lon", "2.35"}, "--lat"},
        {{"--lat", "48.85"}, "--lon"},
        {{"--lat", "abc", "--lon", "2.35"}, "--lat"},
        {{"--lat", "95", "--lon", "2.35"}, "--lat"},
        {{"--lat", "48.85", "--lon", "east"}, "--lon"},
        {{"--lat", "48.85", "--lon", "-181"}, "--lon"},
        {{"--lat", "48.85", "--lon", "2.35", "--from", "2013-02-30"}, "--from"},
        {{"--lat", "48.85", "--lon", "2.35", "--from", "yesterday"}, "--from"},
        {{"--lat", "48.85", "--lon", "2.35", "--from", "0100-01-01"}, "--from"},
        {{"--lat", "48.85", "--lon", "2.35", "--from", "9999-12-01", "--days", "32"}, "--days"},
        {{"--lat", "48.85", "--lon", "2.35", "--days", "0"}, "--days"},
        {{"--lat", "48.85", "--lon", "2.35", "--days", "100001"}, "--days"},
        {{"--lat", "48.85", "--lon", "2.35", "--offset", "two"}, "--offset"},
        {{"--lat", "48.85", "--lon", "2.35", "--zone", "Mars/Olympus"}, "Mars/Olympus"},
        {{"--lat", "48.85", "--lon", "2.35", "--zone", "../zoneinfo/UTC"}, "--zone"},
        {{"--lat", "48.85", "--lon", "2.35", "--zone", "UTC", "--offset", "1"}, "--offset"},
        {{"--lat", "48.85", "--lon", "2.35", "--verbose"}, "--verbose"},
        {{"--lat", "48.85", "--lon", "2.35", "-v"}, "-v"},
        // A character of two bytes: the argument is named, not the program.
        {{"-\u00e9", "--lat", "48.85", "--lon", "2.35"}, "option -\u00e9 "},
        {{"--lat", "48.85", "--lon"}, "--lon"},
        {{"--lat", "48.85", "--lon", "2.35", "2013-01-02"}, "2013-01-02"},
        {{"--lat", "1", "--lon", "2", "--format", "xml"}, "--format"},
        {{"--lat", "1", "--lon", "2", "--format", "json", "--no-header"}, "--no-header"},
        {{"--lat", "1", "--lon", "2", "--events", "noon"}, "--precise"},
        {{"--lat", "1", "--lon", "2", "--precise", "--events", "noon,dusk"}, "dusk"},
        {{"--lat", "1", "--lon", "2", "--height", "10"}, "--precise"},
        {{"--lat", "1", "--lon", "2", "--precise", "--height", "-1"}, "--height"},
        {{"--lat", "1", "--lon", "2", "--precise", "--height", "tall"}, "--height"},
        {{"--lat", "1", "--lon", "2", "--next", "sunrise", "--shift", "soon"}, "--shift"},
        {{"--lat", "1", "--lon", "2", "--shift", "10"}, "--shift"},
        {{"--lat", "1", "--lon", "2", "--next", "moonrise"}, "moonrise"},
        {{"--lat", "1", "--lon", "2", "--next", "noon", "--wait", "noon"}, "--wait"},
        {{"--lat", "1", "--lon", "2", "--next", "noon", "--days", "2"}, "--days"},
        {{"--lat", "1", "--lon", "2", "--next", "noon", "--format", "csv"}, "--format"},
        {{"--lat", "1", "--lon", "2", "--wait", "noon", "--from", "2026-01-01"}, "--from"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.names);
        const ProgramRun run = RunTable(c.args);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(LineCount(run.err), 1u) << run.err;
        EXPECT_EQ(run.err.rfind("kestrow-table: ", 0), 0u) << run.err;
        EXPECT_NE(run.err.find(c.names), std::string::npos) << run.err;
        EXPECT_TRUE(run.err.ends_with(" (see --help)\n")) << run.err;
    }
}

// A clock outside the calendar (years 65683 and 55 under libfaketime) is a
// message and status 1 where the table needs the clock, and nothing where it
// does not; a zone file cut short is refused as bad input.
TEST(KestrowTable, AClockOrAZoneItCannotUseIsAMessage) {
    const std::string faketime = "/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1";
    if (::access(faketime.c_str(), R_OK) != 0) GTEST_SKIP() << "needs libfaketime (faketime)";
    // Under AddressSanitizer, whose runtime would otherwise refuse to follow a preloaded library.
    const std::string fake =
        "ASAN_OPTIONS=\"$ASAN_OPTIONS:verify_asan_link_order=0\" LD_PRELOAD=" + faketime;
    char zones[] = "/tmp/kestrow-zones-XXXXXX";
    ASSERT_NE(mkdtemp(zones), nullptr);
    const std::string cut = std::string(zones) + "/Paris";
    ASSERT_EQ(std::system(("head -c 600 /usr/share/zoneinfo/Europe/Paris >" + cut).c_str()), 0);
    const std::vector<std::string> place = {"--lat", "48.85", "--lon", "2.35"};
    const std::vector<std::string> given = {"--lat",  "48.85",      "--lon",    "2.35",
                                            "--from", "2013-01-02", "--offset", "1"};
    const struct {
        std::string environment;
        std::vector<std::string> args;
        int status;
    } cases[] = {
        {fake + " FAKETIME=+23250000d", place, 1},
        {fake + " FAKETIME=-720000d", place, 1},
        {fake + " FAKETIME=+23250000d", {"--version"}, 0},
        {fake + " FAKETIME=-720000d", given, 0},
        {"TZDIR=" + std::string(zones), {"--lat", "1", "--lon", "1", "--zone", "Paris"}, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.environment + " " + c.args[0]);
        const ProgramRun run = RunTable(c.args, c.environment);
        EXPECT_EQ(run.status, c.status) << run.err;
        EXPECT_EQ(LineCount(run.err), c.status ? 1u : 0u) << run.err;
        if (c.status == 1) {
            EXPECT_EQ(run.err.find("kestrow-table: the clock reads the year "), 0u) << run.err;
        }
    }
    std::filesystem::remove_all(zones);
}

// Each format read back by Python's own readers holds the TSV's table, null
// for what is absent (Tromso's sun stops setting on 18 May); the events come
// in their fixed order, whatever order they are asked in.
TEST(KestrowTable, EachFormatReadsBackAsTheTsvTable) {
    const std::string events = "astronomical,noon,civil";
    const std::vector<std::string> args = {
        "--lat", "69.65",  "--lon",       "18.96",     "--from",   "2026-05-10", "--days",
        "20",    "--zone", "Europe/Oslo", "--precise", "--events", events};
    char folder[] = "/tmp/kestrow-formats-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    std::string files;
    for (const std::string format : {"tsv", "csv", "json"}) {
        const std::string path = std::string(folder) + "/table." + format;
        files += " " + path;
        std::vector<std::string> formatted = args;
        formatted.insert(formatted.end(), {"--format", format});
        ASSERT_EQ(RunTable(formatted, "", path).status, 0);
        if (format == "json") continue;
        const std::string whole = Output("cat " + path);
        formatted.push_back("--no-header");
        EXPECT_EQ(RunTable(formatted).out, whole.substr(whole.find('\n') + 1));
    }
    EXPECT_EQ(Output("head -n 1 " + std::string(folder) + "/table.tsv"),
              kParisHeader.substr(0, kParisHeader.size() - 1) +
                  "\tnoon_iso\tcivil_dawn_iso\tcivil_dusk_iso\tastronomical_dawn_iso\t"
                  "astronomical_dusk_iso\n");
    EXPECT_EQ(Output(KESTROW_TABLE_REFERENCE " formats" + files), "agree\n");
    std::filesystem::remove_all(folder);
}

// A sunset a few seconds away (latitude 0, the longitude PyEphem finds):
// --next names it, and --wait ends on it by the wall clock.
TEST(KestrowTable, WaitEndsAtTheInstantThatNextPrints) {
    std::istringstream place(Output(KESTROW_TABLE_REFERENCE " place 6"));
    std::string lon;
    double setting = 0;
    ASSERT_TRUE(place >> lon >> setting);
    const std::vector<std::string> next = {"--lat",  "0",   "--lon",  lon,
                                           "--zone", "UTC", "--next", "sunset"};
    std::vector<std::string> wait = next;
    wait[6] = "--wait";
    const ProgramRun printed = RunTable(next);
    const ProgramRun waited = RunTable(wait);
    const double ended =
        std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count();
    EXPECT_EQ(waited.status, 0) << waited.err;
    EXPECT_EQ(waited.out, printed.out);
    std::tm fields{};
    ASSERT_NE(strptime(waited.out.c_str(), "%Y-%m-%dT%H:%M:%S+00:00\n", &fields), nullptr);
    const auto instant = static_cast<double>(timegm(&fields));
    EXPECT_LE(std::fabs(instant - setting), 5) << waited.out;
    std::vector<std::string> later = next;
    later.insert(later.end(), {"--shift", "60"});
    const auto hourLater = static_cast<std::time_t>(instant) + 3600;
    char text[40];
    std::strftime(text, sizeof text, "%FT%T+00:00\n", std::gmtime(&hourLater));
    EXPECT_EQ(RunTable(later).out, text) << "an hour on, the same sunset is still the next";
    EXPECT_GE(ended, instant);
    EXPECT_LE(ended, instant + 1);
}

// A table that cannot be written is a failure, not a success.
TEST(KestrowTable, ReportsAFailedWrite) {
    const ProgramRun run =
        RunTable({"--lat", "48.85", "--lon", "2.35", "--days", "10"}, "", "/dev/full");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("cannot write"), std::string::npos) << run.err;
}

}  // namespace
