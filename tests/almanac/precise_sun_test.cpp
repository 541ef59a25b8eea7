// SPDX-License-Identifier: MIT
// The precise method over every day of 2026, against PyEphem computed as the
// test runs (Debian's python3-ephem, an ephemeris of its own: VSOP87 and the
// IAU nutation), with no refraction and the sun's centre at the row's altitude.
#include "almanac/precise_sun.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "almanac/date_value.h"
#include "tests/row_name.h"

namespace kestrow {
namespace {

// Prints for each UT date of 2026 the transit, or the rise, the first setting
// after it within 48 hours (without a rise, the date's first setting) and
// the state (0 normal, 1 polar day, 2 polar night); "-" for an absent event.
// Times are days since 1899-12-30, PyEphem's dates plus 1.5. PyEphem looks
// for a crossing within one turn of the hour angle and gives up when the
// sun does not reach the altitude at that turn's end, so each search also
// starts half a day later.
constexpr const char* kReference = R"(import sys, ephem
lat, lon, alt, noon = sys.argv[1:]
o, s = ephem.Observer(), ephem.Sun()
o.lat, o.lon, o.pressure, o.horizon = lat, lon, 0, alt
def at(find, t):
    found = []
    for u in (t, t + 0.5):
        try: found.append(find(s, start=u, use_center=True))
        except ephem.CircumpolarError: pass
    return min(found, default=None)
for i in range(365):
    d = ephem.Date("2026/1/1") + i
    if noon == "1":
        print(o.next_transit(s, start=d) + 1.5, "-", 0); continue
    r = at(o.next_rising, d)
    r = r if r and r < d + 1 else None
    t = (at(o.next_setting, r) or at(o.next_setting, r + 1)) if r else at(o.next_setting, d)
    t = t if t and t < (r + 2 if r else d + 1) else None
    o.date = d; s.compute(o)
    state = 0 if r or t else 1 if s.alt > o.horizon else 2
    print(*(x + 1.5 if x else "-" for x in (r, t)), state)
)";

struct Row {
    const char* place;
    double latitude;
    double longitude;
    double altitude;  // degrees; NAN for the transit
    double worstSeconds;
    double meanSeconds;
};

class PreciseSun : public ::testing::TestWithParam<Row> {};

std::optional<double> Time(const std::string& field) {
    return field == "-" ? std::nullopt : std::optional<double>(std::stod(field));
}

TEST_P(PreciseSun, AgreesWithPyEphemOnEveryDayOf2026) {
    const Row& row = GetParam();
    const bool noon = std::isnan(row.altitude);
    const std::string command = "/usr/bin/python3 -c '" + std::string(kReference) + "' " +
                                std::to_string(row.latitude) + " " + std::to_string(row.longitude) +
                                " " + std::to_string(noon ? 0 : row.altitude) +
                                (noon ? " 1" : " 0");
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string out;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        out.append(buffer, n);
    ASSERT_EQ(pclose(pipe), 0) << "python3-ephem is needed: bash scripts/deps.sh test";

    // Each date's shape: its state, and which of its two events exist.
    const auto shape = [](int state, const std::optional<double>& rise,
                          const std::optional<double>& set) {
        return state * 4 + (rise ? 2 : 0) + (set ? 1 : 0);
    };
    std::istringstream lines(out);
    std::vector<int> theirs, ours;
    std::vector<std::optional<double>> theirRises;
    double worst = 0, sum = 0;
    int count = 0;
    const DateValue first = MakeDate(2026, 1, 1);
    for (std::string rise, set; theirs.size() < 365;) {
        int state = -1;
        ASSERT_TRUE(lines >> rise >> set >> state) << out;
        const double start = first + static_cast<double>(theirs.size());
        DayEvents mine;
        if (noon) {
            mine.rise = SolarNoon(row.longitude, start, start + 1);
        } else {
            mine = PreciseDayEvents(row.latitude, row.longitude, start, start + 1, row.altitude);
        }
        const std::optional<double> expected[] = {Time(rise), Time(set)},
                                    got[] = {mine.rise, mine.set};
        for (int e = 0; e < 2; ++e) {
            if (!expected[e] || !got[e]) continue;
            const double gap = std::fabs(*expected[e] - *got[e]) * 86400;
            worst = std::fmax(worst, gap);
            sum += gap;
            ++count;
        }
        theirs.push_back(shape(state, expected[0], expected[1]));
        ours.push_back(shape(static_cast<int>(mine.state), mine.rise, mine.set));
        theirRises.push_back(expected[0]);
    }
    // The state may differ within a day of a date on which the reference's
    // state changes, and which events exist within a day of one on which its
    // shape changes: there the sun grazes h0 by less than either can tell.
    int mismatches = 0;
    for (std::size_t i = 0; i < theirs.size(); ++i) {
        if (ours[i] == theirs[i]) continue;
        ++mismatches;
        const int unit = ours[i] / 4 == theirs[i] / 4 ? 1 : 4;
        bool nearChange = false;
        for (std::size_t c = std::max<std::size_t>(i, 2) - 1;
             c <= std::min(i + 1, theirs.size() - 1); ++c)
            nearChange |= theirs[c] / unit != theirs[c - 1] / unit;
        EXPECT_TRUE(nearChange) << "day " << i << ": shape " << ours[i] << ", " << theirs[i];
    }
    // From each date's start, the next rise (or transit) is the reference's
    // first from that date on, where the dates between agree.
    std::optional<double> next;
    bool agree = false;
    for (std::size_t i = theirs.size(); i-- > 0;) {
        agree = (theirRises[i] || agree) && ours[i] == theirs[i];
        if (theirRises[i]) next = theirRises[i];
        if (!next || !agree) continue;
        const double start = first + static_cast<double>(i);
        const std::optional<double> got =
            noon ? NextTransit(row.longitude, start)
                 : NextCrossing(row.latitude, row.longitude, start, row.altitude, Crossing::Rising);
        ASSERT_TRUE(got.has_value()) << "day " << i;
        EXPECT_NEAR(*got, *next, row.worstSeconds / 86400) << "day " << i;
    }
    const double mean = count ? sum / count : 0;
    std::printf("%s h0 %g: %d events, mean %.1f s, worst %.1f s, %d dates differ\n", row.place,
                row.altitude, count, mean, worst, mismatches);
    EXPECT_LE(worst, row.worstSeconds);
    EXPECT_LE(mean, row.meanSeconds);
}

// Below 65 degrees: within a minute, 15 s on average; 65 to 72: two minutes.
INSTANTIATE_TEST_SUITE_P(
    EveryDay, PreciseSun,
    ::testing::Values(Row{"Equator", 0, 0, kHorizonAltitude, 60, 15},
                      Row{"Cairo", 30, 31.2, kHorizonAltitude, 60, 15},
                      Row{"Paris", 48.85, 2.35, kHorizonAltitude, 60, 15},
                      Row{"Sydney", -33.9, 151.2, kHorizonAltitude, 60, 15},
                      Row{"Ushuaia", -54.8, -68.3, kHorizonAltitude, 60, 15},
                      Row{"Oslo", 60, 10.75, kHorizonAltitude, 60, 15},
                      Row{"Reykjavik", 64.1, -21.9, kHorizonAltitude, 60, 15},
                      Row{"Arctic", 66, -50, kHorizonAltitude, 120, 30},
                      Row{"Tromso", 69.65, 18.96, kHorizonAltitude, 120, 30},
                      Row{"Antarctic", -70, 11.8, kHorizonAltitude, 120, 30},
                      Row{"Longyearbyen", 78.2, 15.6, kHorizonAltitude, 600, 60},
                      Row{"ParisCivil", 48.85, 2.35, kCivilTwilight, 60, 15},
                      Row{"OsloNautical", 60, 10.75, kNauticalTwilight, 60, 15},
                      Row{"ParisAstronomical", 48.85, 2.35, kAstronomicalTwilight, 60, 15},
                      Row{"TromsoCivil", 69.65, 18.96, kCivilTwilight, 120, 30},
                      Row{"EquatorNoon", 0, 0, NAN, 60, 15},
                      Row{"UshuaiaNoon", -54.8, -68.3, NAN, 60, 15},
                      Row{"TromsoNoon", 69.65, 18.96, NAN, 60, 15}),
    test_rows::RowName{});

}  // namespace
}  // namespace kestrow
