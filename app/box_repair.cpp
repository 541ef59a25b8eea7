// SPDX-License-Identifier: MIT
#include "app/box_repair.h"

#include <array>

namespace kestrow {
namespace {

// Zeros of the digit runs a keyboard may type besides ASCII; Unicode keeps
// each script's ten digits in a row from its zero.
constexpr std::array<char32_t, 3> kOtherZeros = {
    U'\u0660',  // Arabic-Indic
    U'\u06F0',  // Extended Arabic-Indic, as Persian and Urdu write them
    U'\uFF10',  // full-width, as East Asian input methods type them
};

// The code point at `at` and its length in bytes; a broken sequence reads
// as its one byte.
char32_t Decode(std::string_view text, std::size_t at, std::size_t& length) {
    const auto byte = static_cast<unsigned char>(text[at]);
    length = byte < 0x80 ? 1 : byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
    if (at + length > text.size()) length = 1;
    if (length == 1) return byte;
    char32_t code = byte & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[at + i]);
        if ((next & 0xC0) != 0x80) {
            length = 1;
            return byte;
        }
        code = (code << 6) | (next & 0x3F);
    }
    return code;
}

std::optional<int> DigitValue(char32_t code, char32_t localeZero) {
    const auto from = [code](char32_t zero) -> std::optional<int> {
        if (code >= zero && code <= zero + 9) return static_cast<int>(code - zero);
        return std::nullopt;
    };
    if (localeZero != U'0') {
        if (auto value = from(localeZero)) return value;
    }
    for (const char32_t zero : kOtherZeros) {
        if (auto value = from(zero)) return value;
    }
    return std::nullopt;
}

}  // namespace

std::optional<BoxRepair> NextBoxRepair(std::string_view text, std::string_view decimalSeparator,
                                       char32_t localeZero) {
    const bool pointsReplaced = decimalSeparator != ".";
    std::size_t length = 1;
    for (std::size_t at = 0; at < text.size(); at += length) {
        const char32_t code = Decode(text, at, length);
        if (code == U'.' && pointsReplaced) return BoxRepair{at, 1, std::string(decimalSeparator)};
        if (code < 0x80) continue;
        if (const auto digit = DigitValue(code, localeZero)) {
            return BoxRepair{at, length, std::string(1, static_cast<char>('0' + *digit))};
        }
    }
    return std::nullopt;
}

char32_t ZeroDigitOf(const UserLocale& locale) {
    const std::string text = locale.NumberText(0.5);
    if (text.empty()) return U'0';
    std::size_t length = 1;
    const char32_t zero = Decode(text, 0, length);
    // One half is a zero, a mark and a five: the five tells that the first
    // character is a zero and not a sign or a mark of writing direction.
    std::size_t last = text.size() - 1;
    while (last > 0 && (static_cast<unsigned char>(text[last]) & 0xC0) == 0x80) --last;
    const char32_t five = Decode(text, last, length);
    return zero >= 0x80 && five == zero + 5 ? zero : U'0';
}

}  // namespace kestrow
