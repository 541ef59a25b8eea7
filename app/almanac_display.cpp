// SPDX-License-Identifier: MIT
#include "almanac_display.h"

#include <cmath>

namespace kestrow {
namespace {

constexpr double kSecondsPerDay = 86400;

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
                       AlmanacMethod /*method*/) {
    return {EventText(day.rise, clock), EventText(day.set, clock), DayLengthText(day.length),
            LengthChangeText(day.length, yesterdayLength)};
}

}  // namespace kestrow
