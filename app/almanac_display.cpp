// SPDX-License-Identifier: MIT
#include "almanac_display.h"

#include <cmath>

#include "almanac/rise_set.h"
#include "zone_clock.h"

namespace kestrow {
namespace {

constexpr double kSecondsPerDay = 86400;

struct TextCollector final : AlmanacSink {
    AlmanacTexts texts;
    void SetAlmanacText(AlmanacLabel label, const std::string& text) override {
        switch (label) {
            case AlmanacLabel::Sunrise:
                texts.sunrise = text;
                break;
            case AlmanacLabel::Sunset:
                texts.sunset = text;
                break;
            case AlmanacLabel::DayLength:
                texts.length = text;
                break;
            case AlmanacLabel::Change:
                texts.change = text;
                break;
            default:  // the captions carry no almanac text
                break;
        }
    }
};

long long RoundedSeconds(double days) { return std::llround(std::fabs(days) * kSecondsPerDay); }

std::string TwoDigits(long long n) {
    std::string text = std::to_string(n);
    if (n < 10) text.insert(text.begin(), '0');
    return text;
}

}  // namespace

CalendarDay CalendarDayOf(DateValue date) {
    CalendarDay day;
    day.day = static_cast<std::int16_t>(DayOf(date));
    day.month = static_cast<std::int16_t>(MonthOf(date));
    day.year = static_cast<std::int16_t>(YearOf(date));
    day.prevDay = day.day - 1;
    return day;
}

CalendarDay ReadToday(const ClockReading& reading) { return CalendarDayOf(reading.local); }

std::string ClockTimeText(DateValue time) {
    return ClockText(time, "h") + " h " + ClockText(time, "nn");
}

std::string DayLengthText(double length) {
    // From whole seconds, so that a day without night reads 24 h 00 and not 0 h 00.
    const long long seconds = RoundedSeconds(length);
    return std::to_string(seconds / 3600) + " h " + TwoDigits(seconds % 3600 / 60);
}

std::string LengthChangeText(double today, double yesterday) {
    const std::string sign = yesterday > today ? "-" : "+";
    const double change = today - yesterday;
    const long long seconds = RoundedSeconds(change);
    if (seconds >= 3600) {
        return sign + " " + std::to_string(seconds / 3600) + " h " + TwoDigits(seconds % 3600 / 60);
    }
    const std::string minutes = ClockText(change, " n");
    if (std::stoi(minutes) >= 1) return sign + minutes + " mn";
    return sign + ClockText(change, " s") + " s";
}

AlmanacTimes ShowAlmanac(const AlmanacPlace& place, const CalendarDay& today,
                         std::optional<double> offsetTU, AlmanacSink& sink) {
    return ShowAlmanac(place, today, ShownClock{offsetTU, nullptr}, sink);
}

AlmanacTimes ShowAlmanac(const AlmanacPlace& place, const CalendarDay& today,
                         const ShownClock& clock, AlmanacSink& sink) {
    const double zoneShift = clock.offsetTU && *clock.offsetTU == 2 ? 2.0 / 24 : 1.0 / 24;
    const auto& lat = place.latitude;
    const auto& lon = place.longitude;
    const std::string_view sep = place.decimalSeparator;
    const double day = today.day;
    const double month = today.month;
    const double year = today.year;
    // On a zone's clock the computation is still for today's local date, even
    // where the zone puts that day's sunrise on the UT day before (east of
    // Greenwich) or keeps a clock a whole day from the sun's (Chatham): the
    // sun of the neighbouring UT day differs by a minute or two at most, and
    // the local date keeps the almanac on the day the user's clock shows and
    // its change since yesterday the same on both clocks. OnZoneClock then
    // finds the moment on that local day and the offset at that moment.
    const auto onZone = [&](DateValue ut, bool isSunrise) {
        return OnZoneClock(ut, MakeDate(today.year, today.month, today.day),
                           ReadCoordinate(lon, Axis::Longitude, sep), isSunrise, *clock.zone);
    };

    AlmanacTimes times;
    const DateValue utRise = SunriseTime(lat, lon, day, month, year, sep);
    times.rise = AddDuration(utRise, zoneShift);
    times.riseOffsetSeconds = std::lround(zoneShift * kSecondsPerDay);
    DateValue shownRise = times.rise;
    if (clock.zone != nullptr) {
        const ZoneTime local = onZone(utRise, true);
        shownRise = local.clock;
        times.riseOffsetSeconds = local.offsetSeconds;
    }
    sink.SetAlmanacText(AlmanacLabel::Sunrise, ClockTimeText(shownRise));
    const DateValue utSet = SunsetTime(lat, lon, day, month, year, sep);
    times.set = AddDuration(utSet, zoneShift);
    const DateValue shownSet = clock.zone != nullptr ? onZone(utSet, false).clock : times.set;
    sink.SetAlmanacText(AlmanacLabel::Sunset, ClockTimeText(shownSet));
    times.length = Elapsed(times.rise, times.set);
    sink.SetAlmanacText(AlmanacLabel::DayLength, DayLengthText(times.length));

    const DateValue prevRise =
        AddDuration(SunriseTime(lat, lon, today.prevDay, month, year, sep), zoneShift);
    const DateValue prevSet =
        AddDuration(SunsetTime(lat, lon, today.prevDay, month, year, sep), zoneShift);
    const double prevLength = Elapsed(prevRise, prevSet);
    sink.SetAlmanacText(AlmanacLabel::Change, LengthChangeText(times.length, prevLength));
    times.rise = shownRise;
    times.set = shownSet;
    return times;
}

AlmanacTexts ComputeAlmanacTexts(const AlmanacPlace& place, const CalendarDay& today,
                                 std::optional<double> offsetTU) {
    return ComputeAlmanacTexts(place, today, ShownClock{offsetTU, nullptr});
}

AlmanacTexts ComputeAlmanacTexts(const AlmanacPlace& place, const CalendarDay& today,
                                 const ShownClock& clock, AlmanacTimes* times) {
    TextCollector collector;
    const AlmanacTimes computed = ShowAlmanac(place, today, clock, collector);
    if (times != nullptr) *times = computed;
    return collector.texts;
}

}  // namespace kestrow
