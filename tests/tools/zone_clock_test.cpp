// SPDX-License-Identifier: MIT
// Sunrise and sunset on a zone's own clock, in the window's computation and
// in kestrow-table alike, against the tz database as Python reads it.
#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "app/shown_clock.h"
#include "tests/day_texts.h"
#include "tests/tools/command_output.h"
#include "tools/almanac_table.h"
#include "tools/instant_text.h"
#include "tools/table_options.h"

namespace kestrow {
namespace {

// Reads "zone date riseUT setUT" lines. Each UT clock time is put on the UT
// day that brings it onto that local date; prints the zone's clock there and
// its offset at sunrise.
constexpr const char* kZoneInfo = R"(import sys, datetime as d, zoneinfo
for zone, day, *events in (line.split() for line in sys.stdin):
    z, date, ts = zoneinfo.ZoneInfo(zone), d.date.fromisoformat(day), []
    for e in events:
        base = d.datetime.combine(date, d.time(*map(int, e.split(":"))), d.timezone.utc)
        ts.append(next(t.astimezone(z) for t in (base + d.timedelta(days=k) for k in (-1, 0, 1))
                       if t.astimezone(z).date() == date))
    o = int(ts[0].utcoffset().total_seconds()) // 60
    sign = "-+"[o >= 0]
    print(*(f"{t.hour} h {t.minute:02d}" for t in ts), f"{sign}{abs(o)//60:02d}:{abs(o)%60:02d}",
          *(t.isoformat() for t in ts), sep="\t")
)";

TEST(ZoneClock, SunriseAndSunsetShowTheZonesClockOfEachMoment) {
    // Zone, place, a winter and a summer day, the days summer time starts and ends.
    const char* const rows[] = {
        "America/New_York 40.71 -74.01 2026-12-07 2026-06-21 2026-03-08 2026-11-01",
        "Asia/Kolkata 22.57 88.36 2026-12-07 2026-06-21",
        "Asia/Tokyo 35.68 139.69 2026-01-01",
        "Australia/Adelaide -34.93 138.6 2026-06-21 2026-12-07 2026-10-04 2026-04-05",
        "Pacific/Chatham -43.95 -176.55 2026-06-21 2026-12-07 2026-09-27 2026-04-05",
        "Europe/London 51.51 -0.13 2026-12-07 2026-06-21 2026-03-29 2026-10-25",
        "Europe/Paris 48.85 2.35 2026-12-07 2026-06-21 2026-03-29 2026-10-25",
        "America/St_Johns 47.56 -52.71 2026-12-07 2026-06-21 2026-03-08 2026-11-01",
    };
    std::string events;
    std::vector<std::string> tool, window;
    for (const char* row : rows) {
        std::istringstream in(row);
        std::string zone, lat, lon, date;
        in >> zone >> lat >> lon;
        UseZone(zone);
        const SystemClock zoneClock;
        const Place place = ReadPlace(lat, lon, ".");
        const ShownClock shown{DesignClock::UtPlusOne, &zoneClock};
        while (in >> date) {
            const std::string table =
                testing::Output(std::string(KESTROW_TABLE_PATH) + " --lat " + lat + " --lon " +
                                lon + " --from " + date + " --zone " + zone);
            std::vector<std::string> f;
            std::istringstream line(table.substr(table.find('\n') + 1));
            for (std::string field; std::getline(line, field, '\t');) f.push_back(field);
            ASSERT_EQ(f.size(), 13u) << table;
            // The UT columns are what the program computed before it knew of zones.
            events += zone + " " + date + " " + f[1] + " " + f[2] + "\n";
            tool.push_back(f[3] + "\t" + f[4] + "\t" + f[7] + "\t" + f[9] + "\t" + f[10]);

            const CalendarDay day =
                CalendarDayOf(MakeDate(static_cast<std::int16_t>(std::stoi(date.substr(0, 4))),
                                       static_cast<std::int16_t>(std::stoi(date.substr(5, 2))),
                                       static_cast<std::int16_t>(std::stoi(date.substr(8, 2)))));
            const AlmanacTexts texts = testing::DayTexts(place, day, shown);
            const DayEvents events = ComputeDay({place, day, shown});
            window.push_back(texts.sunrise + "\t" + texts.sunset + "\t" +
                             OffsetText(shown.LeadAt(*events.rise)));
            // Length and change do not depend on the clock.
            const AlmanacTexts fixed = testing::DayTexts(place, day, {DesignClock::UtPlusOne});
            EXPECT_EQ(texts.length + texts.change, fixed.length + fixed.change) << zone << date;
        }
    }
    unsetenv("TZ");
    std::istringstream expected(
        testing::Output("printf '" + events + "' | python3 -c '" + std::string(kZoneInfo) + "'"));
    std::istringstream asked(events);
    for (std::size_t i = 0; i < tool.size(); ++i) {
        std::string want, event;
        std::getline(expected, want);
        std::getline(asked, event);
        // The window shows the first three: the clock times and the offset.
        std::size_t three = 0;
        for (int k = 0; k < 3; ++k) three = want.find('\t', three + 1);
        EXPECT_EQ(window[i], want.substr(0, three)) << event;
        EXPECT_EQ(tool[i], want) << event;
    }
}

}  // namespace
}  // namespace kestrow
