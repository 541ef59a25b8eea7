// SPDX-License-Identifier: MIT
#include "tools/almanac_table.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "almanac/errors.h"
#include "tests/day_texts.h"
#include "tests/tools/command_output.h"

namespace kestrow {
namespace {

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, separator)) parts.push_back(part);
    return parts;
}

std::vector<std::vector<std::string>> Rows(const std::string& table) {
    std::vector<std::vector<std::string>> rows;
    for (const std::string& line : Split(table, '\n')) rows.push_back(Split(line, '\t'));
    return rows;
}

AlmanacTableRequest Request(std::string lat, std::string lon, int year, int month, int day,
                            int days, double offset, std::string separator = ".") {
    AlmanacTableRequest request;
    request.place = ReadPlace(std::move(lat), std::move(lon), separator);
    request.first = MakeDate(static_cast<std::int16_t>(year), static_cast<std::int16_t>(month),
                             static_cast<std::int16_t>(day));
    request.days = days;
    request.clock.design = DesignClockFor(offset);
    return request;
}

TEST(AlmanacTable, HeaderNamesThirteenColumnsStartingWithDate) {
    const std::string table = BuildAlmanacTable(Request("48.85", "2.35", 2013, 1, 2, 1, 1));
    const auto rows = Rows(table);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].size(), 13u);
    EXPECT_EQ(rows[0][0], "date");
    EXPECT_EQ(table.back(), '\n');
}

// The almanac's published examples for Paris (48.85, 2.35), worked by hand
// from the solar method: UT rise and set, then the window's four texts.
struct ExampleDay {
    int year, month, day;
    double offset;
    const char* utRise;
    const char* utSet;
    const char* sunrise;
    const char* sunset;
    const char* length;
    const char* change;
};

TEST(AlmanacTable, ParisExamplesGiveTheKnownRow) {
    const ExampleDay examples[] = {
        {2013, 1, 1, 1, "7:45:59", "16:02:32", "8 h 45", "17 h 02", "8 h 16", "+ 1 mn"},
        {2013, 1, 2, 1, "7:45:55", "16:03:32", "8 h 45", "17 h 03", "8 h 17", "+ 1 mn"},
        {2013, 3, 1, 1, "6:33:52", "17:31:55", "7 h 33", "18 h 31", "10 h 58", "+ 3 mn"},
        {2013, 6, 21, 2, "3:49:02", "19:55:49", "5 h 49", "21 h 55", "16 h 06", "+ 1 s"},
        {2013, 9, 24, 2, "5:42:15", "17:42:50", "7 h 42", "19 h 42", "12 h 00", "- 3 mn"},
        {2013, 12, 21, 1, "7:43:23", "15:54:08", "8 h 43", "16 h 54", "8 h 10", "- 5 s"},
    };
    for (const ExampleDay& e : examples) {
        char date[16];
        std::snprintf(date, sizeof date, "%04d-%02d-%02d", e.year, e.month, e.day);
        SCOPED_TRACE(date);
        const auto rows =
            Rows(BuildAlmanacTable(Request("48.85", "2.35", e.year, e.month, e.day, 1, e.offset)));
        ASSERT_EQ(rows.size(), 2u);
        const std::vector<std::string> expected = {
            date,     e.utRise, e.utSet,  e.sunrise,
            e.sunset, e.length, e.change, e.offset == 2 ? "+02:00" : "+01:00"};
        EXPECT_EQ(std::vector<std::string>(rows[1].begin(), rows[1].begin() + 8), expected);
    }
}

// Yesterday's UT times of the examples above must come back as the row of
// the day before when the table runs across a month or a year.
TEST(AlmanacTable, RowsAcrossMonthAndYearEndsCarryEachDaysOwnTimes) {
    struct Case {
        int year, month, day, days;
        std::vector<std::vector<std::string>> dateRiseSet;
    };
    const Case cases[] = {
        {2012,
         12,
         31,
         3,
         {{"2012-12-31", "7:46:01", "16:01:34"},
          {"2013-01-01", "7:45:59", "16:02:32"},
          {"2013-01-02", "7:45:55", "16:03:32"}}},
        {2013,
         2,
         28,
         2,
         {{"2013-02-28", "6:35:51", "17:30:19"}, {"2013-03-01", "6:33:52", "17:31:55"}}},
        {2013,
         12,
         20,
         2,
         {{"2013-12-20", "7:42:51", "15:53:41"}, {"2013-12-21", "7:43:23", "15:54:08"}}},
    };
    for (const Case& c : cases) {
        const auto rows =
            Rows(BuildAlmanacTable(Request("48.85", "2.35", c.year, c.month, c.day, c.days, 1)));
        ASSERT_EQ(rows.size(), c.dateRiseSet.size() + 1);
        for (std::size_t i = 0; i < c.dateRiseSet.size(); ++i) {
            SCOPED_TRACE(c.dateRiseSet[i][0]);
            ASSERT_EQ(rows[i + 1].size(), 13u);
            EXPECT_EQ(std::vector<std::string>(rows[i + 1].begin(), rows[i + 1].begin() + 3),
                      c.dateRiseSet[i]);
        }
    }
}

TEST(AlmanacTable, DatesStepThroughMonthEndsLeapYearsAndDayZero) {
    struct Case {
        int year, month, day;
        std::vector<std::string> dates;
    };
    const Case cases[] = {
        {2012, 2, 27, {"2012-02-27", "2012-02-28", "2012-02-29", "2012-03-01"}},
        {2013, 2, 27, {"2013-02-27", "2013-02-28", "2013-03-01"}},
        {2000, 2, 28, {"2000-02-28", "2000-02-29", "2000-03-01"}},
        {1900, 2, 28, {"1900-02-28", "1900-03-01"}},
        {2013, 4, 30, {"2013-04-30", "2013-05-01"}},
        {2012, 12, 30, {"2012-12-30", "2012-12-31", "2013-01-01"}},
        // Serial 0 is 1899-12-30; the dates before it are negative serials.
        {1899, 12, 28, {"1899-12-28", "1899-12-29", "1899-12-30", "1899-12-31", "1900-01-01"}},
        {100, 1, 2, {"0100-01-02", "0100-01-03"}},
        {9999, 12, 30, {"9999-12-30", "9999-12-31"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dates.front());
        const auto rows = Rows(BuildAlmanacTable(
            Request("48.85", "2.35", c.year, c.month, c.day, static_cast<int>(c.dates.size()), 1)));
        ASSERT_EQ(rows.size(), c.dates.size() + 1);
        for (std::size_t i = 0; i < c.dates.size(); ++i) EXPECT_EQ(rows[i + 1][0], c.dates[i]);
    }
}

// Each row's texts are the main window's texts for that date, computed anew
// with yesterday as the window takes it, though the table reuses each day.
TEST(AlmanacTable, TextsAreTheWindowTextsOfEachDay) {
    struct Where {
        const char* lat;
        const char* lon;
        double offset;
    };
    const Where places[] = {
        {"48.85", "2.35", 1}, {"-33.9", "18.4", 2}, {"70", "20", 2}, {"0", "-179.5", 19}};
    for (const Where& place : places) {
        SCOPED_TRACE(std::string(place.lat) + " " + place.lon);
        const AlmanacTableRequest request =
            Request(place.lat, place.lon, 2011, 12, 20, 450, place.offset);
        const auto rows = Rows(BuildAlmanacTable(request));
        ASSERT_EQ(rows.size(), 451u);
        for (std::size_t i = 1; i < rows.size(); ++i) {
            const auto& row = rows[i];
            ASSERT_EQ(row.size(), 13u);
            CalendarDay day;
            day.year = static_cast<std::int16_t>(std::atoi(row[0].substr(0, 4).c_str()));
            day.month = static_cast<std::int16_t>(std::atoi(row[0].substr(5, 2).c_str()));
            day.day = static_cast<std::int16_t>(std::atoi(row[0].substr(8, 2).c_str()));
            const AlmanacTexts texts = testing::DayTexts(request.place, day, request.clock);
            const std::vector<std::string> expected = {texts.sunrise, texts.sunset, texts.length,
                                                       texts.change};
            ASSERT_EQ(std::vector<std::string>(row.begin() + 3, row.begin() + 7), expected)
                << row[0];
        }
    }
}

// The window's sunrise and sunset are the UT clocks moved by the whole-hour
// shift: same minute, hour plus the shift around the dial.
TEST(AlmanacTable, WindowTimesAreTheUtColumnsShifted) {
    for (const double offset : {1.0, 2.0}) {
        const auto rows =
            Rows(BuildAlmanacTable(Request("48.85", "2.35", 2013, 1, 1, 365, offset)));
        const int shift = offset == 2 ? 2 : 1;
        for (std::size_t i = 1; i < rows.size(); ++i) {
            for (const int column : {1, 2}) {
                const std::string& ut = rows[i][static_cast<std::size_t>(column)];
                const std::string& shown = rows[i][static_cast<std::size_t>(column) + 2];
                const std::size_t colon = ut.find(':');
                const int hour = (std::atoi(ut.substr(0, colon).c_str()) + shift) % 24;
                const std::string expected = std::to_string(hour) + " h " + ut.substr(colon + 1, 2);
                ASSERT_EQ(shown, expected) << rows[i][0];
            }
        }
    }
}

// The precise method's sunrise, sunset, noon and twilights on the local
// dates of UT+1, against PyEphem with the horizon of sunrise and sunset
// lowered by 1.76' x sqrt(height): the worst gap, and no field or state that
// one has and the other lacks (Tromso in its polar day and night).
TEST(AlmanacTable, PreciseColumnsAgreeWithPyEphem) {
    struct Row {
        const char *lat, *lon, *height;
        int year, month, day, days;
        double worstSeconds;
    };
    const Row rows[] = {
        {"48.85", "2.35", "0", 2026, 1, 1, 40, 60},
        {"-0.18", "-78.47", "2850", 2026, 3, 1, 20, 60},
        {"-33.9", "18.4", "0", 2026, 6, 1, 20, 60},
        {"60.17", "24.94", "100", 2026, 5, 25, 30, 60},
        {"69.65", "18.96", "0", 2026, 6, 10, 10, 120},
        {"69.65", "18.96", "0", 2026, 12, 10, 10, 120},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.lat) + " " + row.lon);
        AlmanacTableRequest request =
            Request(row.lat, row.lon, row.year, row.month, row.day, row.days, 1);
        request.method = AlmanacMethod::Precise;
        request.height = std::stod(row.height);
        request.events = {true, true, true, true};
        const std::string tsv = BuildAlmanacTable(request);
        std::istringstream gaps(testing::Output("printf '%s' '" + tsv +
                                                "' | " KESTROW_TABLE_REFERENCE " ephem " + row.lat +
                                                " " + row.lon + " " + row.height));
        double worst = -1, differ = -1;
        ASSERT_TRUE(gaps >> worst >> differ);
        EXPECT_LE(worst, row.worstSeconds);
        EXPECT_EQ(differ, 0);
    }
    // The design's state says what its result means: Longyearbyen's polar night and day.
    EXPECT_EQ(Rows(BuildAlmanacTable(Request("78.22", "15.65", 2026, 12, 21, 1, 1)))[1][8],
              "polar_night");
    EXPECT_EQ(Rows(BuildAlmanacTable(Request("78.22", "15.65", 2026, 6, 21, 1, 1)))[1][8],
              "polar_day");
}

TEST(AlmanacTable, DecimalCommaReadsLikeAPoint) {
    const std::string withPoint = BuildAlmanacTable(Request("48.85", "2.35", 2013, 3, 1, 40, 1));
    EXPECT_EQ(BuildAlmanacTable(Request("48,85", "2,35", 2013, 3, 1, 40, 1, ",")), withPoint);
    EXPECT_EQ(BuildAlmanacTable(Request("48,85", "2.35", 2013, 3, 1, 40, 1, ".")), withPoint);
}

TEST(AlmanacTable, MostDaysAllowedRunThroughTheCalendar) {
    const auto rows = Rows(BuildAlmanacTable(Request("48.85", "2.35", 1900, 1, 1, 100000, 1)));
    ASSERT_EQ(rows.size(), 100001u);
    EXPECT_EQ(rows[1][0], "1900-01-01");
    EXPECT_EQ(rows.back()[0], "2173-10-15");
}

TEST(AlmanacTable, RefusesWhatCannotBeComputed) {
    // Past the last date, and a first day whose yesterday is before the first date.
    EXPECT_THROW(BuildAlmanacTable(Request("48.85", "2.35", 9999, 12, 31, 2, 1)), DateRangeError);
    EXPECT_THROW(BuildAlmanacTable(Request("48.85", "2.35", 100, 1, 1, 1, 1)), DateRangeError);
}

}  // namespace
}  // namespace kestrow
