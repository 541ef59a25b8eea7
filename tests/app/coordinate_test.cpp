// SPDX-License-Identifier: MIT
#include "app/coordinate.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/row_name.h"

namespace kestrow {
namespace {

struct ReadCase {
    const char* text;
    const char* separator;
    double expected;
};

class CoordinateReads : public ::testing::TestWithParam<ReadCase> {};

TEST_P(CoordinateReads, WhateverTheLocale) {
    const auto& c = GetParam();
    EXPECT_DOUBLE_EQ(ParseCoordinate(c.text, Axis::Longitude, c.separator), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, CoordinateReads,
    ::testing::Values(ReadCase{"48,85", ",", 48.85}, ReadCase{"48.85", ",", 48.85},
                      ReadCase{"48,85", ".", 48.85}, ReadCase{"48.85", ".", 48.85},
                      ReadCase{"-0,5", ",", -0.5}, ReadCase{"00,00", ",", 0},
                      ReadCase{"000,00", ".", 0}, ReadCase{"  2,35 ", ",", 2.35},
                      ReadCase{"+151.2", ".", 151.2}, ReadCase{"5.", ".", 5},
                      ReadCase{",5", ".", 0.5}, ReadCase{"-180", ".", -180},
                      ReadCase{"12\xD9\xAB"
                               "5",
                               "\xD9\xAB", 12.5}),
    kestrow::test_rows::RowName{});

struct FailCase {
    const char* text;
    Axis axis;
    const char* message;
};

class CoordinateFails : public ::testing::TestWithParam<FailCase> {};

TEST_P(CoordinateFails, WithAMessageNamingTheCoordinateAndText) {
    const auto& c = GetParam();
    try {
        ParseCoordinate(c.text, c.axis, ",");
        FAIL() << "read " << c.text;
    } catch (const CoordinateError& e) {
        EXPECT_EQ(std::string(e.what()), c.message);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, CoordinateFails,
    ::testing::Values(
        FailCase{"12a", Axis::Latitude, "latitude \"12a\" is not a number"},
        FailCase{"", Axis::Latitude, "latitude \"\" is not a number"},
        FailCase{"  ", Axis::Longitude, "longitude \"  \" is not a number"},
        FailCase{"1,2,3", Axis::Longitude, "longitude \"1,2,3\" is not a number"},
        FailCase{"1.234,5", Axis::Longitude, "longitude \"1.234,5\" is not a number"},
        FailCase{",", Axis::Latitude, "latitude \",\" is not a number"},
        FailCase{"-", Axis::Latitude, "latitude \"-\" is not a number"},
        FailCase{"1e3", Axis::Latitude, "latitude \"1e3\" is not a number"},
        FailCase{"--5", Axis::Latitude, "latitude \"--5\" is not a number"},
        FailCase{"4 5", Axis::Latitude, "latitude \"4 5\" is not a number"},
        FailCase{"90,01", Axis::Latitude, "latitude \"90,01\" is out of range (-90 to 90)"},
        FailCase{"-180.5", Axis::Longitude, "longitude \"-180.5\" is out of range (-180 to 180)"}),
    kestrow::test_rows::RowName{});

TEST(ReadPlace, NoValueReadsAsZeroButAnEmptyTextDoesNot) {
    EXPECT_EQ(ReadPlace(std::nullopt, std::nullopt, ",").latitude, 0);
    EXPECT_THROW(ReadPlace(std::string(), std::nullopt, ","), CoordinateError);
    const Place place = ReadPlace(std::string("90"), std::string("-2,5"), ",");
    EXPECT_EQ(place.latitude, 90);
    EXPECT_EQ(place.longitude, -2.5);
}

TEST(ReadPlace, MeetsTheLatitudeBeforeTheLongitude) {
    try {
        ReadPlace(std::string("x"), std::string("y"), ".");
        FAIL();
    } catch (const CoordinateError& e) {
        EXPECT_STREQ(e.what(), "latitude \"x\" is not a number");
    }
    EXPECT_THROW(ReadPlace(std::string("1"), std::string("200"), "."), CoordinateError);
}

}  // namespace
}  // namespace kestrow
