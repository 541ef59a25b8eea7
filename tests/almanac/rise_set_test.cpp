// SPDX-License-Identifier: MIT
#include "almanac/rise_set.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "almanac/errors.h"
#include "almanac/solar_position.h"
#include "tests/row_name.h"

namespace kestrow {
namespace {

std::string Clock(DateValue v) {
    char text[16];
    std::snprintf(text, sizeof text, "%d:%02d:%02d", HourOf(v), MinuteOf(v), SecondOf(v));
    return text;
}

struct RiseSetRow {
    double lat, lon;
    int day, month, year;
    double H;  // half-day arc, radians; NaN where only the event hours are known
    double riseT, setT;
    const char* rise;
    const char* set;
};

class RiseSetTable : public ::testing::TestWithParam<RiseSetRow> {};

TEST_P(RiseSetTable, GivesTheUtClockOfEachEvent) {
    const auto& r = GetParam();
    const std::int32_t d = DayNumber(r.day, r.month, r.year);
    const double H = HalfDayArc(Declination(d), r.lat);
    if (!std::isnan(r.H)) {
        EXPECT_NEAR(H, r.H, 2e-7);
    }
    EXPECT_NEAR(EventHourUT(-H, r.lon, TimeCorrection(d)), r.riseT, 1e-4);
    EXPECT_NEAR(EventHourUT(H, r.lon, TimeCorrection(d)), r.setT, 1e-4);
    const RiseSetUT events = SunRiseSetUT(r.lat, r.lon, r.day, r.month, r.year);
    EXPECT_EQ(events.halfDayArc, H);
    EXPECT_EQ(Clock(events.rise), r.rise);
    EXPECT_EQ(Clock(events.set), r.set);
}

INSTANTIATE_TEST_SUITE_P(
    Places, RiseSetTable,
    ::testing::Values(
        RiseSetRow{48.85, 2.35, 2, 1, 2013, 1.0856447, 7.7654, 16.0591, "7:45:55", "16:03:32"},
        RiseSetRow{48.85, 2.35, 0, 1, 2013, 1.0811182, 7.7670, 16.0262, "7:46:01", "16:01:34"},
        RiseSetRow{48.85, 2.35, 21, 6, 2013, 2.1091842, 27.8173, 43.9303, "3:49:02", "19:55:49"},
        // No night, then no daylight, north of the polar circle.
        RiseSetRow{70, 20, 21, 6, 2013, kPiLong, 22.6971, 46.6971, "22:41:49", "22:41:49"},
        RiseSetRow{70, 20, 21, 12, 2013, 0, 10.6361, 10.6361, "10:38:09", "10:38:09"},
        RiseSetRow{40.7, -74, 2, 1, 2013, 1.2126548, 12.3703, 21.6343, "12:22:12", "21:38:03"},
        RiseSetRow{40.7, -74, 21, 6, 2013, 1.9664584, 33.4525, 48.4751, "9:27:08", "0:28:30"},
        RiseSetRow{0, 0, 1, 1, 2000, kPiLong / 2, 6.0550, 18.0550, "6:03:18", "18:03:18"},
        // South of the equator the allowance lengthens the day too.
        RiseSetRow{-33.87, 151.2, 2, 1, 2013, std::nan(""), -5.1464, 9.1242, "18:51:13", "9:07:27"},
        // The poles keep to their own hemisphere.
        RiseSetRow{90, 0, 21, 6, 2013, kPiLong, 24.0305, 48.0305, "0:01:49", "0:01:49"},
        RiseSetRow{-90, 0, 21, 6, 2013, 0, 36.0305, 36.0305, "12:01:49", "12:01:49"}),
    kestrow::test_rows::RowName{});

TEST(HalfDayArc, TheAllowanceLengthensTheDayInBothHemispheres) {
    // Mirror places on mirror days: the allowance must push both the same way.
    for (const double delta : {-0.4, -0.2, 0.0, 0.2, 0.4}) {
        for (const double lat : {10.0, 33.87, 50.0, 60.0}) {
            const double north = HalfDayArc(delta, lat);
            const double south = HalfDayArc(-delta, -lat);
            EXPECT_NEAR(north, south, 1e-6) << delta << " " << lat;
            EXPECT_GT(north, (kPiLong / 2) +
                                 std::asin(std::tan(delta) * std::tan(lat * M_PI / 180)) - 1e-9);
        }
    }
}

TEST(HalfDayArc, LatitudeEightyNineIsUntouchedByThePoleGuard) {
    const double june = Declination(DayNumber(21, 6, 2013));
    EXPECT_EQ(HalfDayArc(june, 89), kPiLong);
    EXPECT_EQ(HalfDayArc(-june, -89), kPiLong);
    EXPECT_EQ(HalfDayArc(june, -89), 0);
}

TEST(HalfDayArc, OnTheEquatorEveryDayIsHalfATurn) {
    for (int d = 4700; d < 5100; d += 37) EXPECT_EQ(HalfDayArc(Declination(d), 0), kPiLong / 2);
}

struct ClockCase {
    double hours;
    const char* clock;
};

class HoursToClockTest : public ::testing::TestWithParam<ClockCase> {};

TEST_P(HoursToClockTest, CutsToTheWholeSecond) {
    EXPECT_EQ(Clock(HoursToClock(GetParam().hours)), GetParam().clock);
}

INSTANTIATE_TEST_SUITE_P(Hours, HoursToClockTest,
                         ::testing::Values(ClockCase{7.7653998, "7:45:55"},
                                           ClockCase{-5.0694, "18:55:50"},
                                           ClockCase{7.999999, "7:59:59"},  // never rounded up
                                           ClockCase{60.2, "12:12:00"},
                                           ClockCase{-12.5, "11:30:00"}),
                         kestrow::test_rows::RowName{});

TEST(HoursToClock, FailsPastTheSixteenBitHour) {
    EXPECT_THROW(HoursToClock(40000), OverflowError);
    EXPECT_THROW(SunRiseSetUT(0, -500000, 1, 1, 2013), OverflowError);
    EXPECT_THROW(SunRiseSetUT(0, 0, 1, 1, 99), DateRangeError);
}

// Before the cut to seconds, rise and set lie symmetrically about the transit,
// and the day length is 24 * H / PiLong hours.
TEST(SunRiseSetUT, RiseAndSetAreSymmetricAboutTheTransit) {
    for (const double lat : {-60.0, -20.0, 0.0, 45.0, 65.0}) {
        for (int d = 4750; d < 5115; d += 29) {
            const double H = HalfDayArc(Declination(d), lat);
            const double E = TimeCorrection(d);
            const double rise = EventHourUT(-H, 10, E);
            const double set = EventHourUT(H, 10, E);
            EXPECT_NEAR((rise + set) / 2, (12 - 10.0 / 15) + E / 60, 1e-9);
            EXPECT_NEAR(set - rise, 24 * H / kPiLong, 1e-9);
        }
    }
}

}  // namespace
}  // namespace kestrow
