// SPDX-License-Identifier: MIT
#include "app/utc_offset.h"

#include <gtest/gtest.h>

#include "tests/row_name.h"

namespace kestrow {
namespace {

struct OffsetRow {
    int utcH, utcM, utcS;
    int localH, localM;
    double raw;  // to 1e-3 hour
    double roundedHours;
};

class UtcOffsetTable : public ::testing::TestWithParam<OffsetRow> {};

TEST_P(UtcOffsetTable, FindsTheLeadOfTheLocalClock) {
    const auto& r = GetParam();
    ClockReading reading;
    reading.local = MakeDate(2013, 6, 21) + (r.localH * 60 + r.localM) / 1440.0;
    reading.utcHour = r.utcH;
    reading.utcMinute = r.utcM;
    reading.utcSecond = r.utcS;
    const UtcOffset offset = ComputeUtcOffset(reading);
    EXPECT_NEAR(offset.raw, r.raw, 1e-3);
    EXPECT_DOUBLE_EQ(offset.roundedHours, r.roundedHours);
    EXPECT_GE(offset.raw, 0);
    EXPECT_LT(offset.raw, 24);
}

INSTANTIATE_TEST_SUITE_P(
    Clocks, UtcOffsetTable,
    ::testing::Values(OffsetRow{12, 37, 20, 14, 37, 1.9944, 2},
                      OffsetRow{12, 37, 20, 13, 37, 0.9944, 1},
                      OffsetRow{23, 10, 5, 0, 10, 0.9986, 1}, OffsetRow{12, 0, 0, 7, 0, 19, 19},
                      OffsetRow{12, 0, 30, 17, 30, 5.4917, 5.5},
                      OffsetRow{10, 15, 42, 10, 15, 23.9883, 24},
                      OffsetRow{13, 0, 0, 18, 45, 5.75, 5.8},  // the half goes to 58 tenths
                      OffsetRow{0, 0, 0, 0, 0, 0, 0},
                      // Two hours ahead at any second of the minute.
                      OffsetRow{8, 59, 59, 10, 59, 1.9836, 2}),
    kestrow::test_rows::RowName{});

}  // namespace
}  // namespace kestrow
