// SPDX-License-Identifier: MIT
// What the program takes from the user's locale.
#pragma once

#include <string>

namespace kestrow {

class UserLocale {
  public:
    virtual ~UserLocale() = default;
    // The locale's text of a number, e.g. "0,5" for one half under French.
    virtual std::string NumberText(double value) const = 0;
    // A date in the locale's short date form, e.g. "07/12/2026" under French.
    virtual std::string ShortDate(int year, int month, int day) const = 0;
};

// The decimal separator: the second character (UTF-8 code point) of the
// locale's text for one half, or "." when that text has none.
std::string DecimalSeparatorOf(const UserLocale& locale);

// The decimal separator of the process environment's locale (LC_ALL,
// LC_NUMERIC, LANG), found without touching the global C or C++ locale;
// "." when that locale is not installed.
std::string EnvironmentDecimalSeparator();

}  // namespace kestrow
