// SPDX-License-Identifier: MIT
#include "app/almanac_display.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "tests/day_texts.h"
#include "tests/row_name.h"

namespace kestrow {
namespace {

CalendarDay Day(int day, int month, int year) {
    CalendarDay d;
    d.day = static_cast<std::int16_t>(day);
    d.month = static_cast<std::int16_t>(month);
    d.year = static_cast<std::int16_t>(year);
    return d;
}

struct TextsRow {
    const char* lat;
    const char* lon;
    int day, month, year;
    double offsetTU;
    const char* sunrise;
    const char* sunset;
    const char* length;
    const char* change;  // "±" where either sign is right: the lengths agree to the second
};

class AlmanacTextsTable : public ::testing::TestWithParam<TextsRow> {};

TEST_P(AlmanacTextsTable, ShowsTheFourTexts) {
    const auto& r = GetParam();
    const AlmanacTexts t =
        testing::DayTexts(ReadPlace(std::string(r.lat), std::string(r.lon), "."),
                          Day(r.day, r.month, r.year), {DesignClockFor(r.offsetTU)});
    EXPECT_EQ(t.sunrise, r.sunrise);
    EXPECT_EQ(t.sunset, r.sunset);
    EXPECT_EQ(t.length, r.length);
    const std::string change = r.change;
    if (change.starts_with("\xC2\xB1")) {
        const std::string rest = change.substr(2);
        EXPECT_TRUE(t.change == "+" + rest || t.change == "-" + rest) << t.change;
    } else {
        EXPECT_EQ(t.change, change);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Paris, AlmanacTextsTable,
    ::testing::Values(
        // The first of a month asks for day 0: the last day of the month before.
        TextsRow{"48.85", "2.35", 1, 1, 2013, 1, "8 h 45", "17 h 02", "8 h 16", "+ 1 mn"},
        TextsRow{"48.85", "2.35", 2, 1, 2013, 1, "8 h 45", "17 h 03", "8 h 17", "+ 1 mn"},
        TextsRow{"48.85", "2.35", 1, 3, 2013, 1, "7 h 33", "18 h 31", "10 h 58", "+ 3 mn"},
        TextsRow{"48.85", "2.35", 21, 6, 2013, 2, "5 h 49", "21 h 55", "16 h 06", "+ 1 s"},
        TextsRow{"48.85", "2.35", 24, 9, 2013, 2, "7 h 42", "19 h 42", "12 h 00", "- 3 mn"},
        TextsRow{"48.85", "2.35", 21, 12, 2013, 1, "8 h 43", "16 h 54", "8 h 10", "- 5 s"}),
    kestrow::test_rows::RowName{});

INSTANTIATE_TEST_SUITE_P(
    World, AlmanacTextsTable,
    ::testing::Values(
        // East of about 75 degrees the UT sunrise falls on the day before.
        TextsRow{"-33.87", "151.2", 2, 1, 2013, 1, "19 h 51", "10 h 07", "14 h 16", "- 36 s"},
        TextsRow{"35.68", "139.69", 2, 1, 2013, 1, "22 h 53", "8 h 37", "9 h 43", "+ 37 s"},
        TextsRow{"1.35", "103.82", 2, 1, 2013, 1, "0 h 11", "12 h 06", "11 h 55", "+ 1 s"},
        TextsRow{"90", "0", 21, 6, 2013, 2, "2 h 01", "2 h 01", "24 h 00", "\xC2\xB1 0 s"},
        TextsRow{"-90", "0", 21, 6, 2013, 2, "14 h 01", "14 h 01", "0 h 00", "\xC2\xB1 0 s"},
        // The first day without night, and changes of an hour or more.
        TextsRow{"70", "20", 17, 5, 2013, 2, "0 h 36", "0 h 36", "24 h 00", "+ 47 mn"},
        TextsRow{"75", "15.6", 6, 2, 2013, 1, "11 h 31", "12 h 52", "1 h 20", "+ 1 h 20"},
        TextsRow{"70", "15.6", 27, 7, 2013, 1, "0 h 37", "23 h 30", "22 h 53", "- 1 h 06"},
        TextsRow{"70", "20", 21, 6, 2013, 2, "0 h 41", "0 h 41", "24 h 00", "\xC2\xB1 0 s"}),
    kestrow::test_rows::RowName{});

TEST(AlmanacTexts, OnlyALeadOfExactlyTwoGivesTwoHours) {
    const Place paris = ReadPlace(std::string("48,85"), std::string("2,35"), ",");
    const CalendarDay day = Day(2, 1, 2013);
    EXPECT_EQ(testing::DayTexts(paris, day, {DesignClockFor(2)}).sunrise, "9 h 45");
    for (const double other : {1.0, 1.9, 2.1, 19.0, 24.0, 0.0}) {
        EXPECT_EQ(testing::DayTexts(paris, day, {DesignClockFor(other)}).sunrise, "8 h 45");
    }
}

TEST(AlmanacTexts, NoValueCountsAsLatitudeAndLongitudeZero) {
    const AlmanacTexts none =
        testing::DayTexts(ReadPlace(std::nullopt, std::nullopt, ","), Day(1, 1, 2000), {});
    EXPECT_EQ(none.sunrise, "7 h 03");
    EXPECT_EQ(none.sunset, "19 h 03");
}

// Texts of the precise method from events in UT seconds after 2026-06-21 00:00
// (NaN: none), on UT plus one: sunrise|sunset|length|change|spoken sunset.
struct PreciseRow {
    double rise, set, length, yesterday;
    DayState state;
    const char* texts;
};

class PreciseTexts : public ::testing::TestWithParam<PreciseRow> {};

TEST_P(PreciseTexts, RoundToTheMinuteAndSayWhatIsNoTime) {
    const PreciseRow& r = GetParam();
    const auto at = [](double s) {
        return std::isnan(s) ? std::nullopt : std::optional(MakeDate(2026, 6, 21) + s / 86400);
    };
    const AlmanacTexts t = FormatDay({at(r.rise), at(r.set), r.length / 86400, r.state},
                                     r.yesterday / 86400, {}, AlmanacMethod::Precise);
    EXPECT_EQ(t.sunrise + "|" + t.sunset + "|" + t.length + "|" + t.change + "|" + t.spokenSunset,
              r.texts);
    EXPECT_EQ(t.spokenSunrise, t.sunrise);
}

constexpr double kNone = std::numeric_limits<double>::quiet_NaN();
constexpr DayState kNormal = DayState::Normal;
const PreciseRow kPreciseRows[] = {
    {27871, 57749, 31471, 31350.6, kNormal, "8 h 45|17 h 02|8 h 45|+ 2 mn|17 h 02"},
    {25200, 68400, 30000, 30039.6, kNormal, "8 h 00|20 h 00|8 h 20|- 40 s|20 h 00"},
    {25200, 68400, 30000, 30000.3, kNormal, "8 h 00|20 h 00|8 h 20|+ 0 s|20 h 00"},
    {kNone, kNone, 0, 0, DayState::PolarNight,
     "Nuit polaire|Nuit polaire|0 h 00|+ 0 s|Nuit polaire"},
    {kNone, kNone, 86400, 85000, DayState::PolarDay,
     "Jour polaire|Jour polaire|24 h 00|+ 23 mn|Jour polaire"},
    {kNone, 36000, 39600, 0, kNormal, "aucun|11 h 00|11 h 00|+ 11 h 00|11 h 00"},
    {6913, 83035, 76122, 76116, kNormal, "2 h 55|0 h 04 +1|21 h 09|+ 6 s|0 h 04, le lendemain"},
    {81000, 169800, 88800, 86400, kNormal,
     "23 h 30|0 h 10 +2|24 h 40|+ 40 mn|0 h 10, le surlendemain"},
};
INSTANTIATE_TEST_SUITE_P(Rows, PreciseTexts, ::testing::ValuesIn(kPreciseRows),
                         kestrow::test_rows::RowName{});

struct ChangeCase {
    double todaySeconds, yesterdaySeconds;
    const char* text;
};

class LengthChangeTest : public ::testing::TestWithParam<ChangeCase> {};

TEST_P(LengthChangeTest, ShowsOneFieldWithItsSign) {
    const auto& c = GetParam();
    EXPECT_EQ(LengthChangeText(c.todaySeconds / 86400, c.yesterdaySeconds / 86400), c.text);
}

INSTANTIATE_TEST_SUITE_P(Cases, LengthChangeTest,
                         ::testing::Values(ChangeCase{30000, 30000, "+ 0 s"},
                                           ChangeCase{30119, 30000, "+ 1 mn"},
                                           ChangeCase{30000, 30119, "- 1 mn"},
                                           ChangeCase{30059, 30000, "+ 59 s"},
                                           ChangeCase{30000, 30059.4, "- 59 s"},
                                           ChangeCase{30000 + 3599, 30000, "+ 59 mn"},
                                           ChangeCase{30000 + 3600, 30000, "+ 1 h 00"},
                                           ChangeCase{30000, 30000 + 3910, "- 1 h 05"},
                                           ChangeCase{86400, 0, "+ 24 h 00"}),
                         kestrow::test_rows::RowName{});

TEST(LengthChange, LengthsEqualToTheSecondButNotInTheirBitsKeepTheirSign) {
    const double today = 0.4;
    EXPECT_EQ(LengthChangeText(today, std::nextafter(today, 1.0)), "- 0 s");
    EXPECT_EQ(LengthChangeText(std::nextafter(today, 1.0), today), "+ 0 s");
}

TEST(DayLength, ReadsFromWholeSeconds) {
    EXPECT_EQ(DayLengthText(0), "0 h 00");
    EXPECT_EQ(DayLengthText(1), "24 h 00");
    EXPECT_EQ(DayLengthText((8 * 3600 + 18 * 60 + 59) / 86400.0), "8 h 18");
    EXPECT_EQ(DayLengthText((86400 - 0.4) / 86400), "24 h 00");
}

struct ClockCase {
    DateValue value;
    const char* pattern;
    const char* text;
};

class ClockTextTest : public ::testing::TestWithParam<ClockCase> {};

TEST_P(ClockTextTest, ReadsRoundedClockFields) {
    EXPECT_EQ(ClockText(GetParam().value, GetParam().pattern), GetParam().text);
}

constexpr double kSecond = 1.0 / 86400;

INSTANTIATE_TEST_SUITE_P(
    Cases, ClockTextTest,
    ::testing::Values(ClockCase{0.3541666666666667, "h", "8"},
                      ClockCase{0.3541666666666667, "nn", "30"},
                      ClockCase{1.25, "h", "6"},           // whole days ignored
                      ClockCase{-2.0 / 1440, " n", " 2"},  // magnitude of a negative
                      ClockCase{30 * kSecond, " n", " 0"}, ClockCase{30 * kSecond, " s", " 30"},
                      ClockCase{65 * kSecond, "nn", "01"},
                      ClockCase{(86399 + 0.1) * kSecond, "h nn", "23 59"},
                      ClockCase{(86399 + 0.9) * kSecond, "h nn", "0 00"},  // carries to midnight
                      ClockCase{2.5, "h nn", "12 00"}, ClockCase{0.5, "h nn", "12 00"},
                      ClockCase{-0.25, "h", "6"}, ClockCase{-1.25, "h", "6"}),
    kestrow::test_rows::RowName{});

TEST(ReadToday, TakesEveryFieldFromOneReading) {
    ClockReading reading;
    reading.local = MakeDate(2013, 3, 1) + 0.99999;
    const CalendarDay first = ReadToday(reading);
    EXPECT_EQ(first.day, 1);
    EXPECT_EQ(first.month, 3);
    EXPECT_EQ(first.year, 2013);
    EXPECT_EQ(DayBefore(first).day, 0);
    reading.local = MakeDate(2013, 1, 31) + 0.5;
    EXPECT_EQ(DayBefore(ReadToday(reading)).day, 30);
}

}  // namespace
}  // namespace kestrow
