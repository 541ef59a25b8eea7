// SPDX-License-Identifier: MIT
// Sunrise and sunset on a zone's own clock, in the window's computation and
// in kestrow-table alike, against the tz database as Python reads it.
#include "app/zone_clock.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "almanac/rise_set.h"
#include "tools/almanac_table.h"

namespace kestrow {
namespace {

std::string Output(const std::string& command) {
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return out;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        out.append(buffer, n);
    pclose(pipe);
    return out;
}

std::vector<std::string> Fields(const std::string& text, char separator) {
    std::vector<std::string> fields;
    std::istringstream in(text);
    for (std::string field; std::getline(in, field, separator);) fields.push_back(field);
    return fields;
}

// Reads "zone date riseSeconds setSeconds" lines. Each UT clock time is put
// on the UT day that brings it onto that local date; prints the zone's clock
// at sunrise and at sunset, and its offset at sunrise.
constexpr const char* kZoneInfo = R"(import sys, datetime as d, zoneinfo
for zone, day, *events in (line.split() for line in sys.stdin):
    z, date, out = zoneinfo.ZoneInfo(zone), d.date.fromisoformat(day), []
    for s in events:
        base = d.datetime.combine(date, d.time(), d.timezone.utc) + d.timedelta(seconds=int(s))
        out.append(next(t.astimezone(z) for t in (base + d.timedelta(days=k) for k in (-1, 0, 1))
                        if t.astimezone(z).date() == date))
    m = int(out[0].utcoffset().total_seconds()) // 60
    sign = "-" if m < 0 else "+"
    print(*(f"{t.hour} h {t.minute:02d}" for t in out), f"{sign}{abs(m)//60:02d}:{abs(m)%60:02d}", sep="\t")
)";

TEST(ZoneClock, SunriseAndSunsetShowTheZonesClockOfEachMoment) {
    struct Place {
        const char* zone;
        const char* lat;
        const char* lon;
        // A winter day and a summer day, then the days summer time starts and ends.
        std::vector<const char*> dates;
    };
    const Place places[] = {
        {"America/New_York",
         "40.71",
         "-74.01",
         {"2026-12-07", "2026-06-21", "2026-03-08", "2026-11-01"}},
        {"Asia/Kolkata", "22.57", "88.36", {"2026-12-07", "2026-06-21"}},
        {"Australia/Adelaide",
         "-34.93",
         "138.6",
         {"2026-06-21", "2026-12-07", "2026-10-04", "2026-04-05"}},
        {"Pacific/Chatham",
         "-43.95",
         "-176.55",
         {"2026-06-21", "2026-12-07", "2026-09-27", "2026-04-05"}},
        {"Europe/London",
         "51.51",
         "-0.13",
         {"2026-12-07", "2026-06-21", "2026-03-29", "2026-10-25"}},
        {"Europe/Paris", "48.85", "2.35", {"2026-12-07", "2026-06-21", "2026-03-29", "2026-10-25"}},
        {"America/St_Johns",
         "47.56",
         "-52.71",
         {"2026-12-07", "2026-06-21", "2026-03-08", "2026-11-01"}},
    };
    const auto dayOf = [](const std::string& iso) {
        return CalendarDayOf(MakeDate(static_cast<std::int16_t>(std::stoi(iso.substr(0, 4))),
                                      static_cast<std::int16_t>(std::stoi(iso.substr(5, 2))),
                                      static_cast<std::int16_t>(std::stoi(iso.substr(8, 2)))));
    };
    const auto seconds = [](DateValue t) {
        return HourOf(t) * 3600 + MinuteOf(t) * 60 + SecondOf(t);
    };
    const std::string script = testing::TempDir() + "zone_clock.py";
    const std::string input = testing::TempDir() + "zone_clock.in";
    std::ofstream(script) << kZoneInfo;
    {
        std::ofstream events(input);
        for (const Place& p : places) {
            const double lat = std::stod(p.lat), lon = std::stod(p.lon);
            for (const char* date : p.dates) {
                const CalendarDay day = dayOf(date);
                events << p.zone << ' ' << date << ' '
                       << seconds(SunriseTime(lat, lon, day.day, day.month, day.year)) << ' '
                       << seconds(SunsetTime(lat, lon, day.day, day.month, day.year)) << '\n';
            }
        }
    }
    const std::vector<std::string> expected =
        Fields(Output("python3 " + script + " < " + input), '\n');

    const char* const savedZone = std::getenv("TZ");
    const std::string saved = savedZone != nullptr ? savedZone : "";
    std::size_t row = 0;
    for (const Place& p : places) {
        UseZone(p.zone);
        const SystemClock zoneClock;
        const AlmanacPlace place{p.lat, p.lon, "."};
        for (const char* date : p.dates) {
            SCOPED_TRACE(std::string(p.zone) + " " + date);
            ASSERT_LT(row, expected.size());
            const std::vector<std::string> want = Fields(expected[row++], '\t');
            const CalendarDay day = dayOf(date);
            AlmanacTimes times;
            const AlmanacTexts texts =
                ComputeAlmanacTexts(place, day, ShownClock{std::nullopt, &zoneClock}, &times);
            EXPECT_EQ((std::vector<std::string>{texts.sunrise, texts.sunset,
                                                OffsetText(times.riseOffsetSeconds)}),
                      want);
            // The table tool prints the same clock; length and change stay
            // those of the fixed shift, whatever the clock.
            const AlmanacTexts fixed = ComputeAlmanacTexts(place, day, 1.0);
            const std::vector<std::string> line =
                Fields(Fields(Output(std::string(KESTROW_TABLE_PATH) + " --lat " + p.lat +
                                     " --lon " + p.lon + " --from " + date + " --zone " + p.zone),
                              '\n')
                           .back(),
                       '\t');
            ASSERT_EQ(line.size(), 8u);
            EXPECT_EQ((std::vector<std::string>{line[3], line[4], line[7]}), want);
            EXPECT_EQ((std::vector<std::string>{line[5], line[6]}),
                      (std::vector<std::string>{fixed.length, fixed.change}));
        }
    }
    EXPECT_EQ(row, expected.size());
    std::remove(script.c_str());
    std::remove(input.c_str());
    if (savedZone != nullptr) {
        setenv("TZ", saved.c_str(), 1);
    } else {
        unsetenv("TZ");
    }
    tzset();
}

}  // namespace
}  // namespace kestrow
