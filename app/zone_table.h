// SPDX-License-Identifier: MIT
// A first place to offer a new user: the principal city of the computer's
// time zone, as the time zone database's own table places it. Most people
// do not know their latitude in decimal degrees, but their zone is set.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace kestrow {

// Decimal degrees, north and east positive.
struct ZonePlace {
    double latitude = 0;
    double longitude = 0;
};

inline constexpr std::string_view kZoneinfoFolder = "/usr/share/zoneinfo";

// The zone's name, such as "Europe/Paris": from `tz` when set (a leading ":"
// dropped, a path into `zoneinfo` made relative to it), else from where the
// link `localtime` points into a zoneinfo tree, else from the first line of
// `timezoneFile`. A TZ value that names no zone file (a POSIX rule such as
// "CET-1CEST") is still the zone in force, and is returned as it stands.
std::optional<std::string> SystemZoneName(const char* tz, const std::filesystem::path& localtime,
                                          const std::filesystem::path& timezoneFile,
                                          const std::filesystem::path& zoneinfo);

// An ISO 6709 place as the zone tables write it: "+4852+00220" (degrees and
// minutes) or "+404251-0740023" (and seconds). Nothing for any other text.
std::optional<ZonePlace> ParseIso6709(std::string_view text);

// The place of `zone` in zoneinfo/zone1970.tab, else in zoneinfo/zone.tab;
// a name that is a link to another zone (US/Eastern) is looked up by the
// zone it leads to. Nothing for a zone without a row, such as UTC.
std::optional<ZonePlace> ZonePlaceOf(const std::string& zone,
                                     const std::filesystem::path& zoneinfo);

// The place of this computer's zone, from TZ, /etc/localtime or
// /etc/timezone, looked up in the system's tables.
std::optional<ZonePlace> SystemZonePlace();

// Degrees with two decimals and a point, as a box holds a place: "48.87".
std::string DegreesText(double degrees);

}  // namespace kestrow
