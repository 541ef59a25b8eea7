// SPDX-License-Identifier: MIT
// Instants as ISO 8601 texts, the form scripts and spreadsheets read.
#pragma once

#include <string>

namespace kestrow {

// An instant of UT in days since 1899-12-30 00:00 UT on a continuous line
// (ToLinear of a DateValue, so that one before day 0 counts back), rounded to the nearest second
// and shown on a clock `offsetSeconds` ahead of UT: "2026-06-21T00:04:12+00:00". The date is the
// clock's own, so an event on another day than the one it was computed for says so. An offset of
// whole minutes is written +HH:MM; one with seconds (old local mean times) +HH:MM:SS.
std::string IsoInstantText(double instant, long offsetSeconds);

// A lead over UT as the table writes it: "+05:30", "-03:30", "+00:09:21".
std::string OffsetText(long seconds);

}  // namespace kestrow
