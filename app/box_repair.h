// SPDX-License-Identifier: MIT
// What the coordinate boxes turn into the form the almanac and the settings
// file read, as it is typed or pasted: a point where the locale writes
// another decimal mark, and digits of another script (Arabic-Indic,
// Persian, the locale's own) that a keyboard for that script types.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "user_locale.h"

namespace kestrow {

struct BoxRepair {
    std::size_t at = 0;      // bytes into the text
    std::size_t length = 0;  // bytes replaced
    std::string with;        // UTF-8
};

// The first character of `text` (UTF-8) to replace, if any: a "." when
// `decimalSeparator` is not a point, or a digit of another script than
// ASCII, by its ASCII digit. `localeZero` is the zero of the locale's own
// digits, '0' where they are ASCII.
std::optional<BoxRepair> NextBoxRepair(std::string_view text, std::string_view decimalSeparator,
                                       char32_t localeZero);

// The zero digit the locale writes numbers with: the first character of its
// text for one half ("0,5", or "۰٫۵" under Persian).
char32_t ZeroDigitOf(const UserLocale& locale);

}  // namespace kestrow
