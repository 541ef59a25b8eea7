// SPDX-License-Identifier: MIT
#include "almanac/date_value.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "almanac/errors.h"
#include "tests/row_name.h"

namespace kestrow {
namespace {

struct Ymd {
    int year, month, day;
};

Ymd FieldsOf(DateValue v) { return {YearOf(v), MonthOf(v), DayOf(v)}; }

TEST(MakeDate, CountsDaysFromTheLastDaysOf1899) {
    EXPECT_EQ(MakeDate(1899, 12, 30), 0);
    EXPECT_EQ(MakeDate(2000, 1, 1), 36526);
    EXPECT_EQ(DaysBetween(MakeDate(2000, 1, 1), MakeDate(2013, 1, 2)), 4750);
    EXPECT_EQ(DaysBetween(MakeDate(2013, 1, 2), MakeDate(2000, 1, 1)), -4750);
}

// Day 0 of every month of a leap and of a common year is the last day of the month before.
TEST(MakeDate, DayZeroIsTheLastDayOfThePreviousMonth) {
    constexpr int kLastDay[2][12] = {{31, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30},
                                     {31, 31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30}};
    for (const int year : {2013, 2012}) {
        const bool leap = year == 2012;
        for (int month = 1; month <= 12; ++month) {
            const Ymd f = FieldsOf(
                MakeDate(static_cast<std::int16_t>(year), static_cast<std::int16_t>(month), 0));
            EXPECT_EQ(f.year, month == 1 ? year - 1 : year) << year << "-" << month;
            EXPECT_EQ(f.month, month == 1 ? 12 : month - 1) << year << "-" << month;
            EXPECT_EQ(f.day, kLastDay[leap][month - 1]) << year << "-" << month;
        }
    }
}

struct NormaliseCase {
    std::int16_t year, month, day;
    Ymd expected;
};

class MakeDateNormalises : public ::testing::TestWithParam<NormaliseCase> {};

TEST_P(MakeDateNormalises, OutOfRangeFields) {
    const auto& c = GetParam();
    const Ymd f = FieldsOf(MakeDate(c.year, c.month, c.day));
    EXPECT_EQ(f.year, c.expected.year);
    EXPECT_EQ(f.month, c.expected.month);
    EXPECT_EQ(f.day, c.expected.day);
}

INSTANTIATE_TEST_SUITE_P(Cases, MakeDateNormalises,
                         ::testing::Values(NormaliseCase{2013, 1, 32, {2013, 2, 1}},
                                           NormaliseCase{2013, 2, 31, {2013, 3, 3}},
                                           NormaliseCase{2013, 13, 1, {2014, 1, 1}},
                                           NormaliseCase{2013, 0, 1, {2012, 12, 1}},
                                           NormaliseCase{2013, -11, 1, {2012, 1, 1}},
                                           NormaliseCase{2013, -12, 1, {2011, 12, 1}},
                                           NormaliseCase{2012, 3, 0, {2012, 2, 29}},
                                           NormaliseCase{2000, 1, -1, {1999, 12, 30}}),
                         kestrow::test_rows::RowName{});

TEST(MakeDate, FailsOutsideTheYears100To9999) {
    EXPECT_NO_THROW(MakeDate(100, 1, 1));
    EXPECT_NO_THROW(MakeDate(9999, 12, 31));
    EXPECT_THROW(MakeDate(99, 12, 31), DateRangeError);
    EXPECT_THROW(MakeDate(9999, 12, 32), DateRangeError);
    EXPECT_THROW(MakeDate(100, 1, 0), DateRangeError);
    EXPECT_THROW(MakeDate(32767, 32767, 32767), DateRangeError);
}

struct TimeCase {
    std::int16_t h, m, s;
    double serial;  // 0 when only the clock reading is checked
    const char* clock;
};

class MakeTimeTest : public ::testing::TestWithParam<TimeCase> {};

TEST_P(MakeTimeTest, StoresAndReadsTheClock) {
    const auto& c = GetParam();
    const DateValue v = MakeTime(c.h, c.m, c.s);
    if (c.serial != 0) {
        EXPECT_NEAR(v, c.serial, 1e-9);
    }
    char clock[16];
    std::snprintf(clock, sizeof clock, "%d:%02d:%02d", HourOf(v), MinuteOf(v), SecondOf(v));
    EXPECT_STREQ(clock, c.clock);
}

INSTANTIATE_TEST_SUITE_P(Cases, MakeTimeTest,
                         ::testing::Values(TimeCase{8, 30, 0, 0.3541666666666667, "8:30:00"},
                                           TimeCase{36, 5, 0, 1.5034722222222223, "12:05:00"},
                                           TimeCase{-1, 0, 0, -1.9583333333333333, "23:00:00"},
                                           // Eighteen fifty-five and fifty seconds of day -1.
                                           TimeCase{-6, 55, 50, -1.7887731481481481, "18:55:50"},
                                           TimeCase{7, 45, 55, 0, "7:45:55"},
                                           TimeCase{48, 28, 30, 0, "0:28:30"},
                                           TimeCase{0, 90, 75, 0, "1:31:15"}),
                         kestrow::test_rows::RowName{});

TEST(DateFields, NegativeValuesTakeTheDayTowardZero) {
    const Ymd dayZero = FieldsOf(-0.25);
    EXPECT_EQ(dayZero.year, 1899);
    EXPECT_EQ(dayZero.day, 30);
    EXPECT_EQ(FieldsOf(-1.25).day, 29);
    EXPECT_EQ(HourOf(-1.25), 6);
}

struct RoundCase {
    double x;
    int decimals;
    double expected;
};

class RoundToTest : public ::testing::TestWithParam<RoundCase> {};

TEST_P(RoundToTest, HalvesGoToTheEvenNeighbour) {
    EXPECT_DOUBLE_EQ(RoundTo(GetParam().x, GetParam().decimals), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, RoundToTest,
                         ::testing::Values(RoundCase{1.25, 1, 1.2}, RoundCase{1.35, 1, 1.4},
                                           RoundCase{1.96, 1, 2}, RoundCase{1.98, 1, 2},
                                           RoundCase{0.96, 1, 1}, RoundCase{5.75, 1, 5.8},
                                           RoundCase{-0.25, 1, -0.2}, RoundCase{2.5, 0, 2}),
                         kestrow::test_rows::RowName{});

TEST(ToInt16, RoundsHalvesToEvenAndGuardsItsRange) {
    EXPECT_EQ(ToInt16(2.5), 2);
    EXPECT_EQ(ToInt16(3.5), 4);
    EXPECT_EQ(ToInt16(-2.5), -2);
    EXPECT_EQ(ToInt16(-32768), -32768);
    EXPECT_EQ(ToInt16(32767.4), 32767);
    EXPECT_THROW(ToInt16(32767.5), OverflowError);
    EXPECT_THROW(ToInt16(-32768.6), OverflowError);
    EXPECT_THROW(ToInt16(std::nan("")), OverflowError);
    try {
        ToInt16(123456);
        FAIL();
    } catch (const OverflowError& e) {
        EXPECT_NE(std::string(e.what()).find("123456"), std::string::npos) << e.what();
    }
}

TEST(FloorInt, RoundsTowardMinusInfinity) {
    EXPECT_EQ(FloorInt(-2.5), -3);
    EXPECT_EQ(FloorInt(2.5), 2);
    EXPECT_EQ(FloorInt(-0.0), 0);
}

// Moments before day 0 sit on a continuous line once made linear.
TEST(MomentArithmetic, AddsAndSubtractsAcrossDayZero) {
    const DateValue beforeMidnight = MakeTime(-1, 0, 0);  // 23:00 of day -1
    EXPECT_NEAR(ToLinear(beforeMidnight), -1.0 / 24, 1e-12);
    EXPECT_EQ(HourOf(AddDuration(beforeMidnight, 1.0 / 24)) * 60 +
                  MinuteOf(AddDuration(beforeMidnight, 1.0 / 24)),
              0);
    const DateValue evening = AddDuration(MakeTime(-6, 55, 50), 1.0 / 24);
    EXPECT_EQ(HourOf(evening) * 60 + MinuteOf(evening), 19 * 60 + 55);
    EXPECT_NEAR(Elapsed(MakeTime(-6, 55, 50), MakeTime(9, 2, 50)) * 24, 14 + 7.0 / 60, 1e-9);
    // Values between -1 and 0 are never stored: they read as day 0 itself.
    EXPECT_DOUBLE_EQ(ToLinear(-0.5), 0.5);
    for (const double v : {-2.75, -1.25, -1.0, 0.0, 0.3, 1.75}) {
        EXPECT_DOUBLE_EQ(ToStored(ToLinear(v)), v) << v;
    }
}

}  // namespace
}  // namespace kestrow
