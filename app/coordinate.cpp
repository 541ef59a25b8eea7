// SPDX-License-Identifier: MIT
#include "app/coordinate.h"

#include <charconv>
#include <cmath>

namespace kestrow {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

[[noreturn]] void NotANumber(std::string_view text, Axis axis) {
    throw CoordinateError(std::string(AxisName(axis)) + " \"" + std::string(text) +
                          "\" is not a number");
}

}  // namespace

std::string_view AxisName(Axis axis) { return axis == Axis::Latitude ? "latitude" : "longitude"; }

double ParseCoordinate(std::string_view text, Axis axis, std::string_view decimalSeparator) {
    std::string_view rest = Trim(text);
    // The number rebuilt with a point, so that from_chars reads it whatever the locale.
    std::string plain;
    if (!rest.empty() && (rest.front() == '-' || rest.front() == '+')) {
        if (rest.front() == '-') plain += '-';
        rest.remove_prefix(1);
    }
    int digits = 0;
    bool mark = false;
    while (!rest.empty()) {
        if (IsDigit(rest.front())) {
            plain += rest.front();
            ++digits;
            rest.remove_prefix(1);
            continue;
        }
        std::size_t markLength = 0;
        if (!decimalSeparator.empty() && rest.starts_with(decimalSeparator)) {
            markLength = decimalSeparator.size();
        } else if (rest.front() == '.' || rest.front() == ',') {
            markLength = 1;
        }
        if (markLength == 0 || mark) NotANumber(text, axis);
        mark = true;
        plain += '.';
        rest.remove_prefix(markLength);
    }
    if (digits == 0) NotANumber(text, axis);
    if (plain.back() == '.') plain += '0';

    double value = 0;
    const char* first = plain.data();
    const char* last = plain.data() + plain.size();
    const auto result = std::from_chars(first, last, value);
    if (result.ec != std::errc() || result.ptr != last) NotANumber(text, axis);

    const double limit = axis == Axis::Latitude ? 90.0 : 180.0;
    if (!(std::fabs(value) <= limit)) {
        const std::string bound = axis == Axis::Latitude ? "90" : "180";
        throw CoordinateError(std::string(AxisName(axis)) + " \"" + std::string(text) +
                              "\" is out of range (-" + bound + " to " + bound + ")");
    }
    return value;
}

Place ReadPlace(const Coordinate& latitude, const Coordinate& longitude,
                std::string_view decimalSeparator) {
    const auto read = [&](const Coordinate& value, Axis axis) {
        return value ? ParseCoordinate(*value, axis, decimalSeparator) : 0.0;
    };
    Place place;
    place.latitude = read(latitude, Axis::Latitude);
    place.longitude = read(longitude, Axis::Longitude);
    return place;
}

std::string ReplaceMarks(std::string text, std::string_view from, std::string_view to) {
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

}  // namespace kestrow
