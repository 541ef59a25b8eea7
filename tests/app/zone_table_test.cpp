// SPDX-License-Identifier: MIT
// The zone's name, and its city's place in tables of the test's own.
#include "app/zone_table.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <fstream>

namespace kestrow {
namespace {

namespace fs = std::filesystem;

TEST(ZoneTable, NameAndPlace) {
    std::string pattern = (fs::temp_directory_path() / "kestrow-zones-XXXXXX").string();
    const fs::path folder = mkdtemp(pattern.data());
    const fs::path zoneinfo = folder / "zoneinfo";
    fs::create_directories(zoneinfo / "US");
    std::ofstream(zoneinfo / "US" / "Pacific") << "TZif";
    fs::create_symlink("Pacific", zoneinfo / "US" / "Link");
    std::ofstream(zoneinfo / "zone1970.tab") << "FR,MC\t+4852+00220\tEurope/Paris\n"
                                                "US\t+404251-0740023\tAmerica/New_York\tEastern\n"
                                                "US\t-010203-0000001\tUS/Pacific\n";
    std::ofstream(zoneinfo / "zone.tab") << "MC\t+4342+00723\tEurope/Monaco\n";
    // TZ (null: unset), where /etc/localtime links to, /etc/timezone, and the
    // zone's name and place found (two decimals).
    for (const auto& [tz, localtime, timezone, found] :
         std::initializer_list<std::tuple<const char*, const char*, const char*, std::string>>{
             {"Europe/Paris", "zoneinfo/Asia/Tokyo", nullptr, "Europe/Paris 48.87 2.33"},
             {":/x/zoneinfo/America/New_York", nullptr, nullptr, "America/New_York 40.71 -74.01"},
             {"US/Link", nullptr, nullptr, "US/Link -1.03 0.00"},
             {"Europe/Monaco", nullptr, nullptr, "Europe/Monaco 43.70 7.38"},
             {"", nullptr, nullptr, "UTC"},
             {nullptr, "/usr/share/zoneinfo/posix/Europe/Paris", "X", "Europe/Paris 48.87 2.33"},
             {nullptr, nullptr, " America/New_York\n", "America/New_York 40.71 -74.01"},
             {nullptr, nullptr, nullptr, ""}}) {
        fs::remove(folder / "localtime");
        fs::remove(folder / "timezone");
        if (localtime != nullptr) fs::create_symlink(localtime, folder / "localtime");
        if (timezone != nullptr) std::ofstream(folder / "timezone") << timezone;
        const auto name = SystemZoneName(tz, folder / "localtime", folder / "timezone", zoneinfo);
        std::string shown = name.value_or("");
        if (const auto place = ZonePlaceOf(shown, zoneinfo)) {
            shown += " " + DegreesText(place->latitude) + " " + DegreesText(place->longitude);
        }
        EXPECT_EQ(shown, found);
    }
    fs::remove_all(folder);
}

}  // namespace
}  // namespace kestrow
