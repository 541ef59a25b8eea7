// SPDX-License-Identifier: MIT
// Coordinates as the window holds them (no value at all, or the text typed),
// and the place they name once read as numbers.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "almanac/errors.h"

namespace kestrow {

// No value counts as 0; a text is read as a number once for each computation.
using Coordinate = std::optional<std::string>;

// A place in decimal degrees, north and east positive.
struct Place {
    double latitude = 0;   // -90..90
    double longitude = 0;  // -180..180
};

// A coordinate text that is not a number, or a number outside its range.
class CoordinateError : public Error {
  public:
    using Error::Error;
};

enum class Axis { Latitude, Longitude };

// "latitude" or "longitude".
std::string_view AxisName(Axis axis);

// Reads a coordinate text as decimal degrees, the same way under every locale.
// Blanks around the text are ignored. What remains is an optional sign, then
// at least one digit with at most one decimal mark among or around the digits;
// the mark may be `decimalSeparator`, a point or a comma. No grouping.
// Throws CoordinateError naming the axis and the text when the text is not a
// number, or when it lies outside -90..90 (latitude) or -180..180 (longitude).
double ParseCoordinate(std::string_view text, Axis axis, std::string_view decimalSeparator);

// `text` with every `from` replaced by `to`: a coordinate text's decimal
// marks turned from one form into another (a typed point into the locale's
// mark, or a mark the settings file cannot keep into a point).
std::string ReplaceMarks(std::string text, std::string_view from, std::string_view to);

// The latitude, then the longitude, read as above; no value reads as 0.
// The first failure is thrown.
Place ReadPlace(const Coordinate& latitude, const Coordinate& longitude,
                std::string_view decimalSeparator);

}  // namespace kestrow
