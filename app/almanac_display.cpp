// SPDX-License-Identifier: MIT
#include "almanac_display.h"

#include <cmath>

#include "almanac/rise_set.h"

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
    const double zoneShift = offsetTU && *offsetTU == 2 ? 2.0 / 24 : 1.0 / 24;
    const auto& lat = place.latitude;
    const auto& lon = place.longitude;
    const std::string_view sep = place.decimalSeparator;
    const double day = today.day;
    const double month = today.month;
    const double year = today.year;

    AlmanacTimes times;
    times.rise = AddDuration(SunriseTime(lat, lon, day, month, year, sep), zoneShift);
    sink.SetAlmanacText(AlmanacLabel::Sunrise, ClockTimeText(times.rise));
    times.set = AddDuration(SunsetTime(lat, lon, day, month, year, sep), zoneShift);
    sink.SetAlmanacText(AlmanacLabel::Sunset, ClockTimeText(times.set));
    times.length = Elapsed(times.rise, times.set);
    sink.SetAlmanacText(AlmanacLabel::DayLength, DayLengthText(times.length));

    const DateValue prevRise =
        AddDuration(SunriseTime(lat, lon, today.prevDay, month, year, sep), zoneShift);
    const DateValue prevSet =
        AddDuration(SunsetTime(lat, lon, today.prevDay, month, year, sep), zoneShift);
    const double prevLength = Elapsed(prevRise, prevSet);
    sink.SetAlmanacText(AlmanacLabel::Change, LengthChangeText(times.length, prevLength));
    return times;
}

AlmanacTexts ComputeAlmanacTexts(const AlmanacPlace& place, const CalendarDay& today,
                                 std::optional<double> offsetTU) {
    TextCollector collector;
    ShowAlmanac(place, today, offsetTU, collector);
    return collector.texts;
}

}  // namespace kestrow
