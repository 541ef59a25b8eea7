// SPDX-License-Identifier: MIT
#include "shown_clock.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <string>

namespace kestrow {
namespace {

constexpr long kSecondsPerDay = 86400;
// Day 25569 of the calendar serials is 1 January 1970, where time_t counts from.
constexpr long long kUnixEpochSerial = 25569;

long LeadAt(const ShownClock& clock, std::time_t instant) {
    if (clock.zone != nullptr) return clock.zone->UtcOffsetAt(instant);
    return std::lround(DesignShift(clock.design) * kSecondsPerDay);
}

bool SafeZoneName(std::string_view name) {
    if (name.empty() || name.front() == '/' || name.back() == '/') return false;
    std::size_t start = 0;
    while (start <= name.size()) {
        const std::size_t end = std::min(name.find('/', start), name.size());
        const std::string_view part = name.substr(start, end - start);
        if (part.empty() || part == "." || part == "..") return false;
        for (const char c : part) {
            const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                               (c >= '0' && c <= '9') || c == '_' || c == '-' || c == '+' ||
                               c == '.';
            if (!plain) return false;
        }
        start = end + 1;
    }
    return true;
}

std::uint64_t Count(std::string_view bytes, std::size_t at) {
    std::uint64_t value = 0;
    for (std::size_t i = at; i < at + 4; ++i)
        value = value << 8 | static_cast<unsigned char>(bytes[i]);
    return value;
}

// Whether `bytes` is one whole compiled zone as RFC 8536 lays it out: every
// header's counts agree with one another and with the data after them, each
// transition names a type that exists, and the file ends where the last data
// block (version 1) or the footer (version 2 and later) ends. The C library
// takes a file cut short, or anything else, for UTC and says nothing.
bool IsWholeZoneFile(std::string_view bytes) {
    constexpr std::size_t kHeader = 44;
    std::size_t at = 0;
    char version = 0;
    for (int block = 0; block < 2; ++block) {
        if (bytes.size() - at < kHeader || bytes.substr(at, 4) != "TZif") return false;
        if (block == 0) version = bytes[at + 4];
        if (version != 0 && version < '2') return false;
        const std::uint64_t isUt = Count(bytes, at + 20);
        const std::uint64_t isStd = Count(bytes, at + 24);
        const std::uint64_t leaps = Count(bytes, at + 28);
        const std::uint64_t times = Count(bytes, at + 32);
        const std::uint64_t types = Count(bytes, at + 36);
        const std::uint64_t chars = Count(bytes, at + 40);
        if (types == 0 || chars == 0 || (isUt != 0 && isUt != types) ||
            (isStd != 0 && isStd != types)) {
            return false;
        }
        // Times are 32 bits wide in the first block, 64 in the second.
        const std::uint64_t width = block == 0 ? 4 : 8;
        const std::uint64_t length =
            times * (width + 1) + types * 6 + chars + leaps * (width + 4) + isStd + isUt;
        at += kHeader;
        if (bytes.size() - at < length) return false;
        for (std::uint64_t k = 0; k < times; ++k) {
            if (static_cast<unsigned char>(bytes[at + times * width + k]) >= types) return false;
        }
        at += length;
        if (version == 0) return at == bytes.size();
    }
    // The footer: a newline, a rule for times after the last transition
    // (empty, perhaps), and a newline that ends the file.
    return at < bytes.size() && bytes[at] == '\n' && bytes.find('\n', at + 1) == bytes.size() - 1;
}

}  // namespace

std::time_t UnixSeconds(DateValue instant) {
    return static_cast<std::time_t>(
        std::llround((ToLinear(instant) - kUnixEpochSerial) * kSecondsPerDay));
}

DateValue InstantOf(std::time_t seconds) {
    return ToStored(kUnixEpochSerial + static_cast<double>(seconds) / kSecondsPerDay);
}

DesignClock DesignClockFor(double leadHours) {
    return leadHours == 2 ? DesignClock::UtPlusTwo : DesignClock::UtPlusOne;
}

double DesignShift(DesignClock clock) {
    return clock == DesignClock::UtPlusTwo ? 2.0 / 24 : 1.0 / 24;
}

long ShownClock::LeadAt(DateValue instant) const {
    return kestrow::LeadAt(*this, UnixSeconds(instant));
}

bool IsKnownZone(std::string_view name) {
    if (!SafeZoneName(name)) return false;
    const char* dir = std::getenv("TZDIR");
    std::string path = dir != nullptr && *dir != '\0' ? dir : "/usr/share/zoneinfo";
    path.append("/").append(name);
    // Read with a bound: the largest zones take a few kilobytes.
    constexpr std::streamsize kMostBytes = 1 << 20;
    std::ifstream file(path, std::ios::binary);
    std::string bytes(static_cast<std::size_t>(kMostBytes) + 1, '\0');
    file.read(bytes.data(), kMostBytes + 1);
    if (file.bad() || file.gcount() > kMostBytes) return false;
    bytes.resize(static_cast<std::size_t>(file.gcount()));
    return IsWholeZoneFile(bytes);
}

DateValue EventInstant(DateValue utClock, DateValue date, double longitude, bool isSunrise,
                       const ShownClock& clock) {
    const long utSeconds = HourOf(utClock) * 3600L + MinuteOf(utClock) * 60L + SecondOf(utClock);
    const std::time_t midnight = static_cast<std::time_t>(
        (static_cast<long long>(FloorInt(date)) - kUnixEpochSerial) * kSecondsPerDay);
    // The solar computation gives only a clock time: the day it falls on is
    // found from the sun's transit, at about 12 h less the longitude in hours
    // of UT. The transit taken is the one that falls on `date` on the shown
    // clock, so that a zone far from its place's solar time (a day ahead of
    // it, even) still shows the sunrise and sunset of its own local date, and
    // on a day the clock changes, each with the offset of its own moment.
    const double transitUt = (12 - longitude / 15) * 3600;
    const long transitLead = LeadAt(clock, midnight + static_cast<std::time_t>(transitUt));
    const double localTransit = transitUt + static_cast<double>(transitLead);
    const double transit = transitUt - std::floor(localTransit / kSecondsPerDay) * kSecondsPerDay;
    // Sunrise lies up to 12 hours before the transit, sunset up to 12 after:
    // the nearest clock reading to six hours either side is the event.
    const double expected = transit + (isSunrise ? -6.0 : 6.0) * 3600;
    const double days = std::round((expected - static_cast<double>(utSeconds)) / kSecondsPerDay);
    return InstantOf(midnight + utSeconds + static_cast<std::time_t>(days) * kSecondsPerDay);
}

LocalDayBounds LocalDayOn(DateValue date, const ShownClock& clock) {
    // The UT moment the clock reads midnight: the lead is asked again at the
    // moment found, so that a change of the zone's offset that day is met;
    // a midnight that a change skips is taken at the later offset.
    const auto midnight = [&clock](long long serial) {
        const std::time_t local =
            static_cast<std::time_t>((serial - kUnixEpochSerial) * kSecondsPerDay);
        std::time_t ut = local - LeadAt(clock, local);
        ut = local - LeadAt(clock, ut);
        return kUnixEpochSerial + static_cast<double>(ut) / kSecondsPerDay;
    };
    const auto day = static_cast<long long>(FloorInt(date));
    return {midnight(day), midnight(day + 1)};
}

long ShownSecondOfDay(DateValue instant, const ShownClock& clock) {
    const std::time_t seconds = UnixSeconds(instant);
    const long long local = static_cast<long long>(seconds) + LeadAt(clock, seconds);
    return static_cast<long>((local % kSecondsPerDay + kSecondsPerDay) % kSecondsPerDay);
}

}  // namespace kestrow
