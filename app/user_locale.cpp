// SPDX-License-Identifier: MIT
#include "user_locale.h"

#include <locale>
#include <stdexcept>

namespace kestrow {
namespace {

bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::string DecimalSeparatorOf(const UserLocale& locale) {
    const std::string text = locale.NumberText(0.5);
    if (text.empty()) return ".";
    // Skip the first code point, then take the second whole.
    std::size_t start = 1;
    while (start < text.size() && (static_cast<unsigned char>(text[start]) & 0xC0) == 0x80) ++start;
    if (start >= text.size() || IsAsciiDigit(text[start])) return ".";
    std::size_t end = start + 1;
    while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) ++end;
    return text.substr(start, end - start);
}

std::string EnvironmentDecimalSeparator() {
    try {
        const std::locale user("");
        return std::string(1, std::use_facet<std::numpunct<char>>(user).decimal_point());
    } catch (const std::runtime_error&) {
        return ".";
    }
}

}  // namespace kestrow
