// SPDX-License-Identifier: MIT
#include "tools/almanac_table.h"

#include <charconv>
#include <cstdint>

#include "almanac/rise_set.h"

namespace kestrow {
namespace {

void AppendNumber(std::string& out, int value, int width) {
    char digits[16];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    for (auto n = result.ptr - digits; n < width; ++n) out += '0';
    out.append(digits, result.ptr);
}

void AppendClock(std::string& out, DateValue time) {
    AppendNumber(out, HourOf(time), 1);
    out += ':';
    AppendNumber(out, MinuteOf(time), 2);
    out += ':';
    AppendNumber(out, SecondOf(time), 2);
}

}  // namespace

std::string_view AlmanacTableHeader() {
    return "date\tsunrise_ut\tsunset_ut\tsunrise\tsunset\tlength\tchange\toffset\n";
}

std::string OffsetText(long seconds) {
    std::string out(1, seconds < 0 ? '-' : '+');
    const long size = seconds < 0 ? -seconds : seconds;
    AppendNumber(out, static_cast<int>(size / 3600), 2);
    out += ':';
    AppendNumber(out, static_cast<int>(size % 3600 / 60), 2);
    // Old local mean times are not whole minutes off UT.
    if (size % 60 != 0) {
        out += ':';
        AppendNumber(out, static_cast<int>(size % 60), 2);
    }
    return out;
}

void WriteAlmanacTable(const AlmanacTableRequest& request,
                       const std::function<void(std::string_view line)>& write) {
    const std::string_view separator = request.place.decimalSeparator;
    // Read once here for the UT columns; the window's texts read them again
    // from the text, as the window does.
    const double latitude = ReadCoordinate(request.place.latitude, Axis::Latitude, separator);
    const double longitude = ReadCoordinate(request.place.longitude, Axis::Longitude, separator);
    const ShownClock clock{request.offsetTU, request.zone};

    write(AlmanacTableHeader());
    std::string out;
    for (int i = 0; i < request.days; ++i) {
        // Whole serials stay whole, so plain addition steps one calendar day
        // even before day 0.
        const DateValue date = request.first + i;
        const CalendarDay day = CalendarDayOf(date);
        const DateValue rise = SunriseTime(latitude, longitude, day.day, day.month, day.year);
        const DateValue set = SunsetTime(latitude, longitude, day.day, day.month, day.year);
        AlmanacTimes times;
        const AlmanacTexts texts = ComputeAlmanacTexts(request.place, day, clock, &times);

        out.clear();
        AppendNumber(out, day.year, 4);
        out += '-';
        AppendNumber(out, day.month, 2);
        out += '-';
        AppendNumber(out, day.day, 2);
        out += '\t';
        AppendClock(out, rise);
        out += '\t';
        AppendClock(out, set);
        for (const std::string* text :
             {&texts.sunrise, &texts.sunset, &texts.length, &texts.change}) {
            out += '\t';
            out += *text;
        }
        out += '\t';
        out += OffsetText(times.riseOffsetSeconds);
        out += '\n';
        write(out);
    }
}

std::string BuildAlmanacTable(const AlmanacTableRequest& request) {
    std::string table;
    WriteAlmanacTable(request, [&table](std::string_view line) { table.append(line); });
    return table;
}

}  // namespace kestrow
