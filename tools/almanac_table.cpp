// SPDX-License-Identifier: MIT
#include "tools/almanac_table.h"

#include <charconv>
#include <cstdint>

#include "app/almanac_display.h"
#include "app/day_almanac.h"
#include "tools/instant_text.h"

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

void WriteAlmanacTable(const AlmanacTableRequest& request,
                       const std::function<void(std::string_view line)>& write) {
    // Each day is computed once: it is the next row's yesterday.
    DayRequest day{request.place, DayBefore(CalendarDayOf(request.first)), request.clock};
    DayEvents yesterday = ComputeDay(day);

    write(AlmanacTableHeader());
    std::string out;
    for (int i = 0; i < request.days; ++i) {
        // Whole serials stay whole, so plain addition steps one calendar day
        // even before day 0.
        day.date = CalendarDayOf(request.first + i);
        const DayEvents today = ComputeDay(day);
        const AlmanacTexts texts = FormatDay(today, yesterday.length, request.clock);
        yesterday = today;

        out.clear();
        AppendNumber(out, day.date.year, 4);
        out += '-';
        AppendNumber(out, day.date.month, 2);
        out += '-';
        AppendNumber(out, day.date.day, 2);
        for (const std::optional<double>& event : {today.rise, today.set}) {
            out += '\t';
            if (event) AppendClock(out, *event);
        }
        for (const std::string* text :
             {&texts.sunrise, &texts.sunset, &texts.length, &texts.change}) {
            out += '\t';
            out += *text;
        }
        out += '\t';
        if (today.rise) out += OffsetText(request.clock.LeadAt(*today.rise));
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
