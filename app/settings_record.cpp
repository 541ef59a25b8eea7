// SPDX-License-Identifier: MIT
#include "settings_record.h"

#include <charconv>
#include <cstdint>
#include <limits>
#include <string>

namespace kestrow {
namespace {

constexpr int kEnd = std::char_traits<char>::eof();

bool IsBlank(int c) { return c == ' ' || c == '\t'; }
bool IsLineEnd(int c) { return c == '\r' || c == '\n'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Every byte stands for the Latin-1 character of the same number, so any byte
// sequence turns into valid UTF-8.
std::string Latin1ToUtf8(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size() * 2);
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80) {
            text.push_back(c);
        } else {
            text.push_back(static_cast<char>(0xC0 | (b >> 6)));
            text.push_back(static_cast<char>(0x80 | (b & 0x3F)));
        }
    }
    return text;
}

// A character Latin-1 cannot hold becomes "?", as does each byte that is not
// part of a well-formed UTF-8 sequence, so nothing unreadable reaches the file.
std::string Utf8ToLatin1(std::string_view text) {
    std::string bytes;
    bytes.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) {
            bytes.push_back(static_cast<char>(lead));
            ++i;
            continue;
        }
        std::size_t length = 0;
        char32_t code = 0;
        char32_t smallest = 0;
        if ((lead & 0xE0) == 0xC0) {
            length = 2;
            code = lead & 0x1F;
            smallest = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3;
            code = lead & 0x0F;
            smallest = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4;
            code = lead & 0x07;
            smallest = 0x10000;
        }
        bool wellFormed = length != 0 && i + length <= text.size();
        for (std::size_t k = 1; wellFormed && k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            wellFormed = (next & 0xC0) == 0x80;
            code = (code << 6) | (next & 0x3F);
        }
        wellFormed = wellFormed && code >= smallest && code <= 0x10FFFF &&
                     !(code >= 0xD800 && code <= 0xDFFF);
        if (!wellFormed) {
            bytes.push_back('?');
            ++i;
            continue;
        }
        bytes.push_back(code <= 0xFF ? static_cast<char>(code) : '?');
        i += length;
    }
    return bytes;
}

const char* FieldName(int field) {
    static constexpr const char* kNames[] = {"the latitude", "the longitude", "the window top",
                                             "the window left"};
    return kNames[field - 1];
}

// Every read goes through here so that a failing disk is not taken for the
// end of the file.
int Take(std::istream& in, bool consume) {
    const int c = consume ? in.get() : in.peek();
    if (c == kEnd && in.bad()) {
        throw SettingsReadError("The settings file could not be read to its end");
    }
    return c;
}
int Peek(std::istream& in) { return Take(in, false); }
int Get(std::istream& in) { return Take(in, true); }

void SkipBlanksAndLineEnds(std::istream& in) {
    for (int c = Peek(in); IsBlank(c) || IsLineEnd(c); c = Peek(in)) {
        Get(in);
    }
}

void TooLong(int field) {
    throw SettingsReadError(std::string("The settings file holds a value for ") + FieldName(field) +
                            " longer than " + std::to_string(kMaxFieldBytes) + " characters");
}

// Returns the bytes of one field and consumes its terminator. Blank lines
// before a field are passed over like spaces, which also lets CR LF, a lone
// CR and a lone LF end a line alike: the LF after a CR is simply the next
// thing skipped.
std::string ReadField(std::istream& in, int field) {
    SkipBlanksAndLineEnds(in);
    int c = Get(in);
    if (c == kEnd) {
        throw SettingsReadError(std::string("The settings file ends before ") + FieldName(field));
    }
    std::string value;
    if (c == '"') {
        // A quoted text that the file never closes is more likely cut short
        // than meant, so it is refused rather than stored in part.
        for (c = Get(in); c != '"'; c = Get(in)) {
            if (c == kEnd) {
                throw SettingsReadError(std::string("The settings file ends inside ") +
                                        FieldName(field));
            }
            if (value.size() == kMaxFieldBytes) {
                TooLong(field);
            }
            value.push_back(static_cast<char>(c));
        }
        // Whatever follows the closing quote on its line, up to a comma, is
        // not part of the field.
        for (c = Get(in); c != kEnd && c != ',' && !IsLineEnd(c); c = Get(in)) {
        }
    } else {
        for (; c != kEnd && c != ',' && !IsLineEnd(c); c = Get(in)) {
            if (value.size() == kMaxFieldBytes) {
                TooLong(field);
            }
            value.push_back(static_cast<char>(c));
        }
        while (!value.empty() && IsBlank(value.back())) {
            value.pop_back();
        }
    }
    return value;
}

[[noreturn]] void NotAPosition(int field, std::string_view text, const char* why) {
    throw SettingsReadError(std::string("The settings file holds ") + why + " for " +
                            FieldName(field) + ": \"" + Latin1ToUtf8(text) + "\"");
}

// A decimal number, optionally signed, with or without a fraction; the
// fraction rounds half to even. Decided on the digits themselves, so no
// binary rounding and no locale comes into it.
std::int32_t ReadPosition(std::string_view text, int field) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsBlank(text[begin])) ++begin;
    while (end > begin && IsBlank(text[end - 1])) --end;
    const std::string_view number = text.substr(begin, end - begin);

    std::size_t i = 0;
    const bool negative = i < number.size() && number[i] == '-';
    if (i < number.size() && (number[i] == '-' || number[i] == '+')) ++i;
    const std::size_t wholeBegin = i;
    while (i < number.size() && IsDigit(number[i])) ++i;
    const std::string_view whole = number.substr(wholeBegin, i - wholeBegin);
    std::string_view fraction;
    if (i < number.size() && number[i] == '.') {
        const std::size_t fractionBegin = ++i;
        while (i < number.size() && IsDigit(number[i])) ++i;
        fraction = number.substr(fractionBegin, i - fractionBegin);
    }
    if (i != number.size() || (whole.empty() && fraction.empty())) {
        NotAPosition(field, number, "a value that is not a number");
    }

    constexpr std::uint64_t kLargestMagnitude = std::uint64_t{1} << 31;  // of -2147483648
    std::uint64_t magnitude = 0;
    if (!whole.empty()) {
        const auto [rest, error] =
            std::from_chars(whole.data(), whole.data() + whole.size(), magnitude);
        if (error != std::errc() || magnitude > kLargestMagnitude) {
            NotAPosition(field, number, "a number too large");
        }
        (void)rest;
    }
    if (!fraction.empty()) {
        const char first = fraction.front();
        const bool beyondHalf = fraction.find_first_not_of('0', 1) != std::string_view::npos;
        if (first > '5' || (first == '5' && (beyondHalf || magnitude % 2 == 1))) {
            ++magnitude;
        }
    }
    const std::int64_t value =
        negative ? -static_cast<std::int64_t>(magnitude) : static_cast<std::int64_t>(magnitude);
    if (value < std::numeric_limits<std::int32_t>::min() ||
        value > std::numeric_limits<std::int32_t>::max()) {
        NotAPosition(field, number, "a number too large");
    }
    return static_cast<std::int32_t>(value);
}

std::string TextField(std::string_view text) {
    std::string field(1, '"');
    field.append(Utf8ToLatin1(text)).push_back('"');
    return field;
}

// The shortest text that reads back as the same single-precision value, in
// plain digits: whole positions come out as 600 or -90, never 6E+02.
std::string NumberField(float value) {
    if (value == 0) {
        value = 0;  // no "-0"
    }
    char buffer[128];
    const auto [end, error] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    if (error != std::errc()) {
        return "0";  // cannot happen: the buffer holds the longest float
    }
    return std::string(buffer, end);
}

}  // namespace

SettingsReader::SettingsReader(std::istream& in) : in_(in) {}

bool SettingsReader::AtEnd() {
    SkipBlanksAndLineEnds(in_);
    return Peek(in_) == kEnd;
}

void SettingsReader::ReadRecord(SettingsFields& fields) {
    failedField_ = 1;
    fields.latitude = Latin1ToUtf8(ReadField(in_, 1));
    ++fieldsStored_;
    failedField_ = 2;
    fields.longitude = Latin1ToUtf8(ReadField(in_, 2));
    ++fieldsStored_;
    failedField_ = 3;
    fields.top = ReadPosition(ReadField(in_, 3), 3);
    ++fieldsStored_;
    failedField_ = 4;
    fields.left = ReadPosition(ReadField(in_, 4), 4);
    ++fieldsStored_;
    failedField_ = 0;
}

std::string StorableCoordinate(std::string_view text, std::string_view decimalSeparator) {
    if (decimalSeparator.empty() ||
        Latin1ToUtf8(Utf8ToLatin1(decimalSeparator)) == decimalSeparator) {
        return std::string(text);
    }
    return ReplaceMarks(std::string(text), decimalSeparator, ".");
}

std::string ShortRecord(std::string_view latitude, std::string_view longitude) {
    return TextField(latitude) + "," + TextField(longitude) + "\r\n";
}

std::string FullRecord(std::string_view latitude, std::string_view longitude, float top,
                       float left) {
    return TextField(latitude) + "," + TextField(longitude) + "," + NumberField(top) + "," +
           NumberField(left) + "\r\n";
}

}  // namespace kestrow
