// SPDX-License-Identifier: MIT
#include "almanac_display.h"

#include <cmath>

namespace kestrow {
namespace {

constexpr double kSecondsPerDay = 86400;
constexpr double kMinutesPerDay = 1440;

long long RoundedSeconds(double days) { return std::llround(std::fabs(days) * kSecondsPerDay); }

std::string TwoDigits(long long n) {
    std::string text = std::to_string(n);
    if (n < 10) text.insert(text.begin(), '0');
    return text;
}

std::string EventText(const std::optional<double>& instant, const ShownClock& clock) {
    if (!instant) return {};
    return ClockTimeText(static_cast<double>(ShownSecondOfDay(*instant, clock)) / kSecondsPerDay);
}

// "8 h 45" from minutes after midnight.
std::string HoursAndMinutes(long long minutes) {
    return std::to_string(minutes / 60) + " h " + TwoDigits(minutes % 60);
}

// Seconds on the shown clock since its reading of day 0, 00:00, on a
// continuous line: the day an instant falls on is its whole days.
double ShownSeconds(double instant, const ShownClock& clock) {
    return ToLinear(instant) * kSecondsPerDay + static_cast<double>(clock.LeadAt(instant));
}

struct PreciseEvent {
    std::string shown;
    std::string spoken;
};

// `dateDay`: the whole days of ShownSeconds over the date's own day.
PreciseEvent PreciseEventText(const std::optional<double>& instant, DayState state, double dateDay,
                              const ShownClock& clock) {
    if (state == DayState::PolarDay) return {"Jour polaire", "Jour polaire"};
    if (state == DayState::PolarNight) return {"Nuit polaire", "Nuit polaire"};
    if (!instant) return {"aucun", "aucun"};
    const double minutes = std::round(ShownSeconds(*instant, clock) / 60);
    const double day = std::floor(minutes / kMinutesPerDay);
    const auto later = static_cast<long long>(day - dateDay);
    PreciseEvent event;
    event.shown = HoursAndMinutes(static_cast<long long>(minutes - day * kMinutesPerDay));
    event.spoken = event.shown;
    // The precise method keeps a sunset within two days of its sunrise.
    if (later > 0) {
        event.shown += " +" + std::to_string(later);
        event.spoken += later == 1 ? ", le lendemain" : ", le surlendemain";
    }
    return event;
}

AlmanacTexts FormatPreciseDay(const DayEvents& day, double yesterdayLength,
                              const ShownClock& clock) {
    // Every event lies on the date, but a sunset may follow after midnight:
    // the date is the day of whichever comes first, before any rounding.
    const std::optional<double>& first = day.rise ? day.rise : day.set;
    const double dateDay = first ? std::floor(ShownSeconds(*first, clock) / kSecondsPerDay) : 0;
    const PreciseEvent rise = PreciseEventText(day.rise, day.state, dateDay, clock);
    const PreciseEvent set = PreciseEventText(day.set, day.state, dateDay, clock);
    const long long change = std::llround((day.length - yesterdayLength) * kSecondsPerDay);
    return {rise.shown, set.shown, HoursAndMinutes(std::llround(day.length * kMinutesPerDay)),
            // Through the design's format from whole seconds, so that both
            // read alike; a change that rounds to nothing is no loss.
            LengthChangeText(static_cast<double>(change) / kSecondsPerDay, 0), rise.spoken,
            set.spoken};
}

}  // namespace

std::string ClockText(DateValue value, std::string_view pattern) {
    const int h = HourOf(value);
    const int n = MinuteOf(value);
    const int s = SecondOf(value);
    std::string text;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        if (c == 'h') {
            text += std::to_string(h);
        } else if (c == 'n' && i + 1 < pattern.size() && pattern[i + 1] == 'n') {
            text += TwoDigits(n);
            ++i;
        } else if (c == 'n') {
            text += std::to_string(n);
        } else if (c == 's') {
            text += std::to_string(s);
        } else {
            text += c;
        }
    }
    return text;
}

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

AlmanacTexts FormatDay(const DayEvents& day, double yesterdayLength, const ShownClock& clock,
                       AlmanacMethod method) {
    if (method == AlmanacMethod::Precise) return FormatPreciseDay(day, yesterdayLength, clock);
    const std::string rise = EventText(day.rise, clock);
    const std::string set = EventText(day.set, clock);
    return {rise, set, DayLengthText(day.length), LengthChangeText(day.length, yesterdayLength),
            rise, set};
}

}  // namespace kestrow
