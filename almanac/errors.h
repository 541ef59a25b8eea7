// SPDX-License-Identifier: MIT
// Typed failures of the almanac. Each carries a message a person can read,
// since the window shows it as it stands.
#pragma once

#include <stdexcept>
#include <string>

namespace kestrow {

// Base of every failure that the program reports to the user.
class Error : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A number that does not fit the signed 16-bit range of a date or clock field.
class OverflowError : public Error {
  public:
    using Error::Error;
};

// A calendar date outside the years 100 to 9999.
class DateRangeError : public Error {
  public:
    using Error::Error;
};

}  // namespace kestrow
