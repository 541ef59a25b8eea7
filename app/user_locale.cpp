// SPDX-License-Identifier: MIT
#include "user_locale.h"

#include <locale>
#include <stdexcept>

namespace kestrow {
namespace {

bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }

std::string Utf8Of(char32_t c) {
    std::string text;
    if (c < 0x80) {
        text += static_cast<char>(c);
    } else if (c < 0x800) {
        text += static_cast<char>(0xC0 | (c >> 6));
        text += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        text += static_cast<char>(0xE0 | (c >> 12));
        text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        text += static_cast<char>(0xF0 | (c >> 18));
        text += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (c & 0x3F));
    }
    return text;
}

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
        // The wide facet holds the whole mark; the narrow one keeps only its
        // first byte where the mark takes several in UTF-8 (U+066B).
        const wchar_t mark = std::use_facet<std::numpunct<wchar_t>>(user).decimal_point();
        return Utf8Of(static_cast<char32_t>(mark));
    } catch (const std::runtime_error&) {
        return ".";
    }
}

}  // namespace kestrow
