// SPDX-License-Identifier: MIT
// Arbitrary bytes as "Kestrow.dat": read the way the window reads it at
// start-up, then written and read back as a record made from the same bytes.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <sstream>
#include <string>
#include <string_view>

#include "app/settings_record.h"

namespace {

using kestrow::SettingsFields;
using kestrow::SettingsReader;
using kestrow::SettingsReadError;

[[noreturn]] void Broken(const char* what) {
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

void Check(bool holds, const char* what) {
    if (!holds) Broken(what);
}

// Written here from the UTF-8 definition rather than shared with the reader,
// so that the two can disagree.
bool IsValidUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto b = static_cast<unsigned char>(text[i]);
        std::size_t length;
        if (b < 0x80) {
            length = 1;
        } else if (b >= 0xC2 && b <= 0xDF) {
            length = 2;
        } else if (b >= 0xE0 && b <= 0xEF) {
            length = 3;
        } else if (b >= 0xF0 && b <= 0xF4) {
            length = 4;
        } else {
            return false;
        }
        if (i + length > text.size()) return false;
        for (std::size_t k = 1; k < length; ++k) {
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
        }
        const auto second = static_cast<unsigned char>(length > 1 ? text[i + 1] : 0);
        if ((b == 0xE0 && second < 0xA0) || (b == 0xED && second > 0x9F) ||
            (b == 0xF0 && second < 0x90) || (b == 0xF4 && second > 0x8F)) {
            return false;
        }
        i += length;
    }
    return true;
}

void CheckText(const kestrow::Coordinate& text) {
    if (!text) return;
    Check(IsValidUtf8(*text), "a stored text is not valid UTF-8");
    Check(text->size() <= 2 * kestrow::kMaxFieldBytes, "a stored text is too long");
}

// The start-up read: records while not at the end, until the first failure.
void ReadLikeTheWindow(const std::string& bytes) {
    std::istringstream in(bytes);
    SettingsReader reader(in);
    SettingsFields fields;
    int before = 0;
    std::size_t records = 0;
    while (!reader.AtEnd()) {
        Check(++records <= bytes.size(), "more records than bytes");
        try {
            reader.ReadRecord(fields);
            Check(reader.FieldsStored() == before + 4, "a whole record did not store four fields");
        } catch (const SettingsReadError&) {
            const int stored = reader.FieldsStored() - before;
            Check(stored >= 0 && stored <= 3, "a failed record stored a wrong number of fields");
            CheckText(fields.latitude);
            CheckText(fields.longitude);
            return;
        }
        before = reader.FieldsStored();
        CheckText(fields.latitude);
        CheckText(fields.longitude);
    }
}

std::string Latin1ToUtf8(std::string_view bytes) {
    std::string text;
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

// The value a position text should read as, by the C library: round half to
// even of the decimal. Float texts have at most nine significant digits, so
// a double decides the halves exactly.
bool ExpectedPosition(const std::string& text, std::int32_t& value) {
    char* end = nullptr;
    const double number = std::strtod(text.c_str(), &end);
    if (end != text.c_str() + text.size() || !std::isfinite(number)) return false;
    const double rounded = std::nearbyint(number);
    if (rounded < std::numeric_limits<std::int32_t>::min() ||
        rounded > std::numeric_limits<std::int32_t>::max()) {
        return false;
    }
    value = static_cast<std::int32_t>(rounded);
    return true;
}

// The text between the third and fourth commas after the two quoted texts.
std::string NumberFieldOf(const std::string& record, std::size_t texts, int which) {
    std::size_t begin = texts + 1;
    for (int i = 0; i < which; ++i) begin = record.find(',', begin) + 1;
    const std::size_t end = record.find_first_of(",\r", begin);
    return record.substr(begin, end - begin);
}

// A record built from the bytes reads back as what was written.
void WriteAndReadBack(const std::uint8_t* data, std::size_t size) {
    if (size < 8) return;
    float top;
    float left;
    std::memcpy(&top, data, 4);
    std::memcpy(&left, data + 4, 4);
    const std::string_view rest(reinterpret_cast<const char*>(data) + 8, size - 8);
    const std::string latitude = Latin1ToUtf8(rest.substr(0, rest.size() / 2));
    const std::string longitude = Latin1ToUtf8(rest.substr(rest.size() / 2));

    const std::string record = kestrow::FullRecord(latitude, longitude, top, left);
    const std::string shortRecord = kestrow::ShortRecord(latitude, longitude);
    const std::size_t texts = shortRecord.size() - 2;
    Check(record.compare(0, texts, shortRecord, 0, texts) == 0,
          "full and short records differ in their texts");
    Check(record.size() >= 2 && record.compare(record.size() - 2, 2, "\r\n") == 0,
          "a record does not end in CR LF");

    const std::string topText = NumberFieldOf(record, texts, 0);
    const std::string leftText = NumberFieldOf(record, texts, 1);
    for (const auto& [text, value] : {std::pair{topText, top}, std::pair{leftText, left}}) {
        Check(text.find_first_of("eE+") == std::string::npos, "a number field has an exponent");
        if (std::isfinite(value)) {
            Check(static_cast<float>(std::strtod(text.c_str(), nullptr)) == value,
                  "a number field does not read back as the same float");
        }
    }

    const bool textsFit = rest.substr(0, rest.size() / 2).size() <= kestrow::kMaxFieldBytes &&
                          rest.substr(rest.size() / 2).size() <= kestrow::kMaxFieldBytes &&
                          rest.find('"') == std::string_view::npos;
    if (!textsFit) return;

    std::int32_t expectedTop = 0;
    std::int32_t expectedLeft = 0;
    const bool topFits = ExpectedPosition(topText, expectedTop);
    const bool leftFits = ExpectedPosition(leftText, expectedLeft);

    std::istringstream in(record);
    SettingsReader reader(in);
    SettingsFields fields;
    try {
        reader.ReadRecord(fields);
        Check(topFits && leftFits, "a position that does not fit was read");
        Check(fields.top == expectedTop && fields.left == expectedLeft,
              "a position read back wrong");
        Check(reader.AtEnd(), "not at the end after one record");
    } catch (const SettingsReadError&) {
        Check(!(topFits && leftFits), "a record the program wrote could not be read");
        Check(reader.FieldsStored() == (topFits ? 3 : 2), "failed at the wrong field");
    }
    Check(fields.latitude == latitude && fields.longitude == longitude, "a text read back wrong");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Anything but SettingsReadError escaping ends the run as a finding.
    ReadLikeTheWindow(std::string(reinterpret_cast<const char*>(data), size));
    WriteAndReadBack(data, size);
    return 0;
}
