// SPDX-License-Identifier: MIT
#include "app/zone_table.h"

#include <array>
#include <charconv>
#include <cstdlib>
#include <fstream>
#include <system_error>

namespace kestrow {
namespace {

namespace fs = std::filesystem;

// What follows the last "zoneinfo" folder of `path`, without the "posix" or
// "right" variant folder: "Europe/Paris".
std::optional<std::string> ZoneNameInPath(const fs::path& path) {
    std::optional<fs::path> rest;
    for (const fs::path& part : path) {
        if (part == "zoneinfo") {
            rest = fs::path();
        } else if (rest) {
            if (rest->empty() && (part == "posix" || part == "right")) continue;
            *rest /= part;
        }
    }
    if (!rest || rest->empty()) return std::nullopt;
    return rest->generic_string();
}

std::string Trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return std::string(text);
}

// Degrees from `digits` ASCII digits: DD MM [SS] or DDD MM [SS].
std::optional<double> Degrees(std::string_view digits, std::size_t degreeDigits) {
    if (digits.size() != degreeDigits + 2 && digits.size() != degreeDigits + 4) {
        return std::nullopt;
    }
    for (const char c : digits) {
        if (c < '0' || c > '9') return std::nullopt;
    }
    const auto number = [&digits](std::size_t from, std::size_t count) {
        int value = 0;
        for (std::size_t i = from; i < from + count; ++i) value = value * 10 + (digits[i] - '0');
        return value;
    };
    const int minutes = number(degreeDigits, 2);
    const int seconds = digits.size() > degreeDigits + 2 ? number(degreeDigits + 2, 2) : 0;
    if (minutes >= 60 || seconds >= 60) return std::nullopt;
    return number(0, degreeDigits) + minutes / 60.0 + seconds / 3600.0;
}

// The place on the row of `zone` in one table, if it has one.
std::optional<ZonePlace> PlaceInTable(const std::string& zone, const fs::path& table) {
    std::ifstream in(table);
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        // Country codes, coordinates, zone name, and perhaps a comment.
        std::array<std::string_view, 3> columns;
        std::string_view rest(line);
        for (std::string_view& column : columns) {
            const std::size_t tab = rest.find('\t');
            column = rest.substr(0, tab);
            rest = tab == std::string_view::npos ? std::string_view() : rest.substr(tab + 1);
        }
        if (columns[2] == zone) return ParseIso6709(columns[1]);
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> SystemZoneName(const char* tz, const fs::path& localtime,
                                          const fs::path& timezoneFile, const fs::path& zoneinfo) {
    if (tz != nullptr) {
        std::string_view value(tz);
        if (value.starts_with(':')) value.remove_prefix(1);
        // An empty TZ is UTC by the C library's rules.
        if (value.empty()) return "UTC";
        if (value.front() == '/') {
            const fs::path relative = fs::path(value).lexically_relative(zoneinfo);
            if (!relative.empty() && *relative.begin() != "..") return relative.generic_string();
            if (auto name = ZoneNameInPath(value)) return name;
        }
        return std::string(value);
    }
    std::error_code error;
    const fs::path target = fs::read_symlink(localtime, error);
    if (!error) {
        if (auto name = ZoneNameInPath(localtime.parent_path() / target)) return name;
    }
    std::ifstream file(timezoneFile);
    std::string line;
    if (std::getline(file, line)) {
        std::string name = Trimmed(line);
        if (!name.empty()) return name;
    }
    return std::nullopt;
}

std::optional<ZonePlace> ParseIso6709(std::string_view text) {
    if (text.size() < 2 || (text[0] != '+' && text[0] != '-')) return std::nullopt;
    const std::size_t split = text.find_first_of("+-", 1);
    if (split == std::string_view::npos) return std::nullopt;
    const auto latitude = Degrees(text.substr(1, split - 1), 2);
    const auto longitude = Degrees(text.substr(split + 1), 3);
    if (!latitude || !longitude || *latitude > 90 || *longitude > 180) return std::nullopt;
    return ZonePlace{text[0] == '-' ? -*latitude : *latitude,
                     text[split] == '-' ? -*longitude : *longitude};
}

std::optional<ZonePlace> ZonePlaceOf(const std::string& zone, const fs::path& zoneinfo) {
    std::array<std::string, 2> names{zone, {}};
    // A link's own name has no row; the zone it leads to has.
    std::error_code linkError;
    std::error_code rootError;
    const fs::path resolved = fs::canonical(zoneinfo / zone, linkError);
    const fs::path root = fs::canonical(zoneinfo, rootError);
    if (!linkError && !rootError) {
        const fs::path relative = resolved.lexically_relative(root);
        if (!relative.empty() && *relative.begin() != ".." && relative.generic_string() != zone)
            names[1] = relative.generic_string();
    }
    for (const std::string& name : names) {
        if (name.empty()) continue;
        for (const char* table : {"zone1970.tab", "zone.tab"}) {
            if (auto place = PlaceInTable(name, zoneinfo / table)) return place;
        }
    }
    return std::nullopt;
}

std::optional<ZonePlace> SystemZonePlace() {
    const fs::path zoneinfo(kZoneinfoFolder);
    const auto name =
        SystemZoneName(std::getenv("TZ"), "/etc/localtime", "/etc/timezone", zoneinfo);
    if (!name) return std::nullopt;
    return ZonePlaceOf(*name, zoneinfo);
}

std::string DegreesText(double degrees) {
    std::array<char, 32> text{};
    const auto result =
        std::to_chars(text.data(), text.data() + text.size(), degrees, std::chars_format::fixed, 2);
    std::string shown(text.data(), result.ptr);
    // A place just west of Greenwich is still on it at two decimals.
    if (shown == "-0.00") shown = "0.00";
    return shown;
}

}  // namespace kestrow
