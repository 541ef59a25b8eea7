// SPDX-License-Identifier: MIT
#include "almanac/solar_position.h"

#include <gtest/gtest.h>

#include "almanac/errors.h"
#include "tests/row_name.h"

namespace kestrow {
namespace {

struct DayNumberCase {
    double day, month, year;
    std::int32_t expected;
};

class DayNumberTest : public ::testing::TestWithParam<DayNumberCase> {};

TEST_P(DayNumberTest, CountsCalendarDaysFromTheFirstOf2000) {
    const auto& c = GetParam();
    EXPECT_EQ(DayNumber(c.day, c.month, c.year), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Dates, DayNumberTest,
    ::testing::Values(DayNumberCase{1, 1, 2000, 0}, DayNumberCase{31, 12, 1999, -1},
                      DayNumberCase{2, 1, 2013, 4750}, DayNumberCase{21, 6, 2013, 4920},
                      // Day 0 is the last day of the month before.
                      DayNumberCase{0, 1, 2013, 4748}, DayNumberCase{31, 12, 2012, 4748},
                      DayNumberCase{0, 3, 2012, 4442},
                      // A fractional day is rounded halves to even.
                      DayNumberCase{2.5, 1, 2000, 1}, DayNumberCase{3.5, 1, 2000, 3}),
    kestrow::test_rows::RowName{});

TEST(DayNumber, FailsOutsideTheSixteenBitAndCalendarRanges) {
    EXPECT_THROW(DayNumber(40000, 1, 2000), OverflowError);
    EXPECT_THROW(DayNumber(1, 1, 99), DateRangeError);
    EXPECT_THROW(DayNumber(1, 13, 9999), DateRangeError);
}

struct AngleCase {
    double angle, expected;
};

class NormaliseAngleTest : public ::testing::TestWithParam<AngleCase> {};

TEST_P(NormaliseAngleTest, ReducesToOneTurnOfTwoPi) {
    EXPECT_NEAR(NormaliseAngle(GetParam().angle), GetParam().expected, 5e-8);
}

INSTANTIATE_TEST_SUITE_P(Angles, NormaliseAngleTest,
                         ::testing::Values(AngleCase{-1, 5.2831854}, AngleCase{7, 0.7168146},
                                           AngleCase{6.2831854, 0},
                                           // The true 2*pi is below the period.
                                           AngleCase{6.283185307179586, 6.283185307179586}),
                         kestrow::test_rows::RowName{});

struct EphemerisRow {
    std::int32_t d;
    double L, g, lambda, epsilon, delta, alpha, E;
};

class EphemerisTest : public ::testing::TestWithParam<EphemerisRow> {};

TEST_P(EphemerisTest, MatchesTheReferenceTable) {
    const auto& r = GetParam();
    constexpr double kAngle = 1.5e-7;
    EXPECT_NEAR(MeanLongitude(r.d), r.L, kAngle);
    EXPECT_NEAR(MeanAnomaly(r.d), r.g, kAngle);
    EXPECT_NEAR(EclipticLongitude(r.d), r.lambda, kAngle);
    EXPECT_NEAR(Obliquity(r.d), r.epsilon, kAngle);
    EXPECT_NEAR(Declination(r.d), r.delta, kAngle);
    EXPECT_NEAR(RightAscension(r.d), r.alpha, kAngle);
    EXPECT_NEAR(TimeCorrection(r.d), r.E, 1.5e-4);
}

INSTANTIATE_TEST_SUITE_P(Days, EphemerisTest,
                         ::testing::Values(EphemerisRow{0, 4.8949637, 6.2400355, 4.8934919,
                                                        0.4090874, -0.4020078, -1.3738071, 3.3023},
                                           EphemerisRow{4750, 4.9267484, 6.2679154, 4.9262274,
                                                        0.4090542, -0.3992013, -1.3383875, 4.1354},
                                           EphemerisRow{4828, 6.2685651, 1.3264826, 0.0179740,
                                                        0.4090537, 0.0071487, 0.0164914, 7.1290},
                                           EphemerisRow{4829, 0.0025824, 1.3436845, 0.0353003,
                                                        0.4090537, 0.0140379, 0.0323901, 1446.8314},
                                           EphemerisRow{4920, 1.5680352, 2.9090625, 1.5755807,
                                                        0.4090530, 0.4090481, 1.5760082, 1441.8273},
                                           EphemerisRow{5013, 3.1678936, 4.5088444, 3.1352987,
                                                        0.4090524, 0.0025033, 3.1358153, 1432.6482},
                                           EphemerisRow{5014, 3.1850963, 4.5260463, 3.1523790,
                                                        0.4090524, -0.0042901, -3.1316935, -7.7028},
                                           EphemerisRow{5103, 4.7161436, 6.0570204, 4.7084962,
                                                        0.4090518, -0.4090485, -1.5750365,
                                                        -1.8335}),
                         kestrow::test_rows::RowName{});

TEST(TimeCorrection, JumpsByADayAtTheEquinoxes) {
    EXPECT_NEAR(TimeCorrection(4829) - TimeCorrection(4828), 1440, 10);
    EXPECT_NEAR(TimeCorrection(5013) - TimeCorrection(5014), 1440, 10);
}

TEST(RightAscension, StaysWithinTheShortHalfTurnAllYear) {
    for (std::int32_t d = 4700; d < 4700 + 366; ++d) {
        const double alpha = RightAscension(d);
        EXPECT_GT(alpha, -kPiShort) << d;
        EXPECT_LT(alpha, kPiShort) << d;
        EXPECT_LE(std::abs(Declination(d)), Obliquity(d)) << d;
    }
}

}  // namespace
}  // namespace kestrow
