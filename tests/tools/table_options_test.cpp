// SPDX-License-Identifier: MIT
#include "tools/table_options.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace kestrow {
namespace {

// 21 June 2013, 14:30 on a clock two hours ahead of UTC.
ClockReading SummerAfternoon() {
    ClockReading reading;
    reading.local = MakeDate(2013, 6, 21) + (14 * 3600 + 30 * 60) / 86400.0;
    reading.utcHour = 12;
    reading.utcMinute = 30;
    return reading;
}

TableOptions Parse(std::vector<std::string> args, const ClockReading& now = SummerAfternoon(),
                   const std::string& separator = ".") {
    args.insert(args.begin(), "kestrow-table");
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    return ParseTableOptions(static_cast<int>(args.size()), argv.data(), now, separator);
}

// A coordinate as the C library reads it, with a point.
double Degrees(std::string text) {
    std::replace(text.begin(), text.end(), ',', '.');
    return std::stod(text);
}

std::string ErrorOf(const std::vector<std::string>& args) {
    try {
        Parse(args);
    } catch (const UsageError& error) {
        return error.what();
    }
    return "(accepted)";
}

TEST(TableOptions, ReadsEveryOptionAndFillsTheDefaultsFromTheClock) {
    struct Case {
        std::vector<std::string> args;
        std::string lat, lon;
        int year, month, day, days;
        double offset;
    };
    const Case cases[] = {
        // Today's local date and the clock's two-hour lead.
        {{"--lat", "48.85", "--lon", "2.35"}, "48.85", "2.35", 2013, 6, 21, 1, 2},
        {{"--lon=-0.5", "--lat=-33,9", "--from", "2012-02-29", "--days", "100000"},
         "-33,9",
         "-0.5",
         2012,
         2,
         29,
         100000,
         2},
        {{"--lat", "1", "--lon", "-2", "--offset", "1,5"}, "1", "-2", 2013, 6, 21, 1, 1.5},
        {{"--lat", "1", "--lon", "2", "--offset", "-3"}, "1", "2", 2013, 6, 21, 1, -3},
        {{"--lat", "1", "--lon", "2", "--offset", "+19"}, "1", "2", 2013, 6, 21, 1, 19},
        {{"--lat", "1", "--lon", "2", "--offset", ".5"}, "1", "2", 2013, 6, 21, 1, 0.5},
        // The first date whose day before is still in the calendar, and the last one.
        {{"--lat", "1", "--lon", "2", "--from", "0100-01-02"}, "1", "2", 100, 1, 2, 1, 2},
        {{"--lat", "1", "--lon", "2", "--from", "9999-12-31"}, "1", "2", 9999, 12, 31, 1, 2},
        {{"--lat", "1", "--lon", "2", "--from", "9999-12-30", "--days", "2"},
         "1",
         "2",
         9999,
         12,
         30,
         2,
         2},
        {{"--lat", "90", "--lon", "-180", "--from", "2000-02-29"}, "90", "-180", 2000, 2, 29, 1, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[1] + " " + c.args.back());
        const TableOptions options = Parse(c.args);
        EXPECT_FALSE(options.help);
        EXPECT_EQ(options.request.place.latitude, Degrees(c.lat));
        EXPECT_EQ(options.request.place.longitude, Degrees(c.lon));
        EXPECT_EQ(options.request.first,
                  MakeDate(static_cast<std::int16_t>(c.year), static_cast<std::int16_t>(c.month),
                           static_cast<std::int16_t>(c.day)));
        EXPECT_EQ(options.request.days, c.days);
        EXPECT_EQ(options.request.clock.design == DesignClock::UtPlusTwo, c.offset == 2);
    }
}

TEST(TableOptions, DefaultDateIsTheLocalDateNotTheUtcOne) {
    // 00:30 local on 1 January 2014, still 23:30 on 31 December in UTC.
    ClockReading reading;
    reading.local = MakeDate(2014, 1, 1) + 1800 / 86400.0;
    reading.utcHour = 23;
    reading.utcMinute = 30;
    const TableOptions options = Parse({"--lat", "1", "--lon", "2"}, reading);
    EXPECT_EQ(options.request.first, MakeDate(2014, 1, 1));
    EXPECT_EQ(options.request.clock.design, DesignClock::UtPlusOne);
}

TEST(TableOptions, ReadsTheCoordinatesWithTheDecimalSeparator) {
    const TableOptions options = Parse({"--lat",
                                        "48\xD9\xAB"
                                        "85",
                                        "--lon", "2,35"},
                                       SummerAfternoon(), "\xD9\xAB");
    EXPECT_EQ(options.request.place.latitude, 48.85);
    EXPECT_EQ(options.request.place.longitude, 2.35);
}

TEST(TableOptions, HelpNeedsNoCoordinates) { EXPECT_TRUE(Parse({"--help"}).help); }

// Every refusal names the argument at fault.
TEST(TableOptions, RefusesBadInputNamingTheArgument) {
    const std::vector<std::string> place = {"--lat", "48.85", "--lon", "2.35"};
    const auto with = [&](std::vector<std::string> more) {
        std::vector<std::string> args = place;
        args.insert(args.end(), more.begin(), more.end());
        return args;
    };
    struct Case {
        std::vector<std::string> args;
        std::string names;
    };
    const Case cases[] = {
        {{"--lon", "2.35"}, "--lat"},
        {{"--lat", "48.85"}, "--lon"},
        {{}, "--lat"},
        {{"--lat", "north", "--lon", "2.35"}, "--lat"},
        {{"--lat", "", "--lon", "2.35"}, "--lat"},
        {{"--lat", "48.8.5", "--lon", "2.35"}, "--lat"},
        {{"--lat", "90.01", "--lon", "2.35"}, "--lat"},
        {{"--lat", "-91", "--lon", "2.35"}, "--lat"},
        {{"--lat", "48.85", "--lon", "180.5"}, "--lon"},
        {{"--lat", "48.85", "--lon", "2 E"}, "--lon"},
        {{"--lat", "48.85", "--lon", "1e2"}, "--lon"},
        {with({"--from", "2013-02-30"}), "--from"},
        {with({"--from", "2013-02-29"}), "--from"},
        {with({"--from", "1900-02-29"}), "--from"},
        {with({"--from", "2013-04-31"}), "--from"},
        {with({"--from", "2013-13-01"}), "--from"},
        {with({"--from", "2013-00-10"}), "--from"},
        {with({"--from", "2013-01-00"}), "--from"},
        {with({"--from", "2013-1-2"}), "--from"},
        {with({"--from", "13-01-02"}), "--from"},
        {with({"--from", "2013-01-02x"}), "--from"},
        {with({"--from", "2013/01/02"}), "--from"},
        {with({"--from", ""}), "--from"},
        {with({"--from", "0000-01-01"}), "--from"},
        {with({"--from", "0099-12-31"}), "--from"},
        // Its day before, which the change of length needs, is out of the calendar.
        {with({"--from", "0100-01-01"}), "--from"},
        {with({"--from", "9999-12-31", "--days", "2"}), "--days"},
        {with({"--from", "9990-01-01", "--days", "100000"}), "--days"},
        {with({"--days", "0"}), "--days"},
        {with({"--days", "-1"}), "--days"},
        {with({"--days", "100001"}), "--days"},
        {with({"--days", "99999999999"}), "--days"},
        {with({"--days", "1.5"}), "--days"},
        {with({"--days", "10x"}), "--days"},
        {with({"--days", "ten"}), "--days"},
        {with({"--days", ""}), "--days"},
        {with({"--offset", "one"}), "--offset"},
        {with({"--offset", ""}), "--offset"},
        {with({"--offset", "-"}), "--offset"},
        {with({"--offset", "nan"}), "--offset"},
        {with({"--offset", "inf"}), "--offset"},
        {with({"--offset", "1e3"}), "--offset"},
        {with({"--offset", "0x10"}), "--offset"},
        {with({"--offset", "1..5"}), "--offset"},
        {with({"--offset", "1.5h"}), "--offset"},
        {with({"--offset", "+-1"}), "--offset"},
        {with({"--foo"}), "--foo"},
        {with({"--foo=1"}), "--foo"},
        {with({"-x"}), "-x"},
        {with({"--help=yes"}), "--help"},
        {with({"--days"}), "--days"},
        {with({"extra"}), "extra"},
    };
    for (const Case& c : cases) {
        std::string shown;
        for (const std::string& arg : c.args) shown += "'" + arg + "' ";
        SCOPED_TRACE(shown);
        const std::string message = ErrorOf(c.args);
        EXPECT_NE(message, "(accepted)");
        EXPECT_NE(message.find(c.names), std::string::npos) << message;
    }
}

}  // namespace
}  // namespace kestrow
