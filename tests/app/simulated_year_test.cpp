// SPDX-License-Identifier: MIT
// More than a year of minute ticks through the window's logic, with the real
// time-zone rules, compressed: the clock is moved by hand, nothing waits.
#include <gtest/gtest.h>
#include <malloc.h>
#include <stdlib.h>
#include <time.h>

#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <tuple>

#include "app/main_window_logic.h"
#include "fake_main_window_view.h"
#include "tests/day_texts.h"

namespace kestrow {
namespace {

using testing::FakeMainWindowView;
using testing::FixedLocale;

class InstantClock final : public Clock {
  public:
    ClockReading Read() const override { return ReadingAt(now); }
    std::time_t now = 0;
};

class ScopedTimeZone {
  public:
    explicit ScopedTimeZone(const char* zone) {
        if (const char* old = getenv("TZ")) old_ = old;
        setenv("TZ", zone, 1);
        tzset();
    }
    ~ScopedTimeZone() {
        if (old_.empty()) {
            unsetenv("TZ");
        } else {
            setenv("TZ", old_.c_str(), 1);
        }
        tzset();
    }

  private:
    std::string old_;
};

struct YearCase {
    const char* zone;
    const char* latitude;
    const char* longitude;
    int expectedChanges;  // summer-time changes met in the 400 days
};

class SimulatedYear : public ::testing::TestWithParam<YearCase> {};

TEST_P(SimulatedYear, EveryTickShowsThatDaysAlmanac) {
    const auto& c = GetParam();
    ScopedTimeZone zone(c.zone);
    ASSERT_TRUE(std::filesystem::exists(std::string("/usr/share/zoneinfo/") + c.zone))
        << "tzdata is missing";

    const auto folder =
        std::filesystem::temp_directory_path() / ("kestrow-year-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    FakeMainWindowView view;
    InstantClock clock;
    FixedLocale locale(',');
    std::ostringstream errors;
    MainWindowLogic logic(view, clock, locale, errors, folder / "Kestrow.dat");
    view.Attach(logic);

    std::tm start{};
    start.tm_year = 2025 - 1900;
    start.tm_mon = 0;
    start.tm_mday = 1;
    start.tm_isdst = -1;
    clock.now = std::mktime(&start);
    logic.OnLoad();
    logic.OnSetup();
    view.SetBoxText(CoordinateBox::Latitude, c.latitude);
    view.SetBoxText(CoordinateBox::Longitude, c.longitude);
    logic.OnSave();
    ASSERT_TRUE(view.messages.empty()) << view.messages.front();

    const Place place = ReadPlace(std::string(c.latitude), std::string(c.longitude), ",");
    std::map<std::tuple<int, int, int, int>, AlmanacTexts> expected;
    std::tm previous{};
    localtime_r(&clock.now, &previous);
    int changes = 0;
    int newDays = 0;
    std::size_t heapAfterWarmUp = 0;
    constexpr int kMinutes = 400 * 1440;
    for (int minute = 1; minute <= kMinutes; ++minute) {
        clock.now += 60;
        logic.OnMinuteTick();

        std::tm local{};
        localtime_r(&clock.now, &local);
        const int tu = local.tm_gmtoff == 7200 ? 2 : 1;
        // The shift follows the local clock's lead at the very tick it changes.
        double lead = local.tm_gmtoff / 3600.0;
        if (lead < 0) lead += 24;
        ASSERT_EQ(logic.Offset()->roundedHours, lead) << "at minute " << minute;
        if (local.tm_gmtoff != previous.tm_gmtoff) ++changes;
        if (local.tm_mday != previous.tm_mday) {
            ++newDays;
            char date[32];
            std::snprintf(date, sizeof date, "%02d/%02d/%04d", local.tm_mday, local.tm_mon + 1,
                          local.tm_year + 1900);
            ASSERT_EQ(view.caption, std::string("Kestrow  ") + date) << minute;
            ASSERT_EQ(view.toolTips[AlmanacRow::Sunrise], std::string("Sunrise ") + date);
        }
        const auto key = std::make_tuple(local.tm_year, local.tm_mon, local.tm_mday, tu);
        auto it = expected.find(key);
        if (it == expected.end()) {
            CalendarDay day;
            day.day = static_cast<std::int16_t>(local.tm_mday);
            day.month = static_cast<std::int16_t>(local.tm_mon + 1);
            day.year = static_cast<std::int16_t>(local.tm_year + 1900);
            it = expected.emplace(key, testing::DayTexts(place, day, {DesignClockFor(tu)})).first;
        }
        ASSERT_EQ(view.almanac.sunrise, it->second.sunrise) << minute;
        ASSERT_EQ(view.almanac.sunset, it->second.sunset) << minute;
        ASSERT_EQ(view.almanac.length, it->second.length) << minute;
        ASSERT_EQ(view.almanac.change, it->second.change) << minute;
        previous = local;
        if (minute == 2 * 1440) heapAfterWarmUp = mallinfo2().uordblks;
    }
    EXPECT_EQ(changes, c.expectedChanges);
    EXPECT_EQ(newDays, 400);
    EXPECT_TRUE(view.messages.empty());
    // The expected-texts cache grows by design; everything else must not.
    const std::size_t cacheBytes = expected.size() * 512;
    EXPECT_LE(mallinfo2().uordblks, heapAfterWarmUp + cacheBytes);
    std::filesystem::remove_all(folder);
}

INSTANTIATE_TEST_SUITE_P(Zones, SimulatedYear,
                         ::testing::Values(YearCase{"Europe/Paris", "48,85", "2,35", 2},
                                           YearCase{"Australia/Sydney", "-33,87", "151,2", 2},
                                           YearCase{"America/New_York", "40,7", "-74", 2}),
                         [](const auto& info) {
                             std::string name = info.param.zone;
                             for (char& ch : name) {
                                 if (ch == '/') ch = '_';
                             }
                             return name;
                         });

}  // namespace
}  // namespace kestrow
