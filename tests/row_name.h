// SPDX-License-Identifier: MIT
// Readable names for the rows of the parameterised tests, for ctest and
// --gtest_filter: the row's number, then its fields as text (a table row is a
// plain struct, which gtest alone would print as raw bytes). Pass RowName{} as
// the last argument of INSTANTIATE_TEST_SUITE_P.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>

namespace kestrow::test_rows {
namespace row_name {

// Converts to any field's type, to count a struct's fields by how many of it
// brace-initialise the struct.
struct AnyField {
    template <class T>
    operator T() const;  // NOLINT: only ever named in unevaluated contexts
};

template <class T, class... Fields>
constexpr std::size_t FieldCount() {
    if constexpr (requires { T{Fields{}..., AnyField{}}; }) {
        return FieldCount<T, Fields..., AnyField>();
    } else {
        return sizeof...(Fields);
    }
}

template <class T>
auto Tie(const T& row) {
    constexpr std::size_t kCount = FieldCount<T>();
    static_assert(kCount <= 10, "RowName reads rows of at most ten fields");
    // clang-format off
    if constexpr (kCount == 1) { const auto& [a] = row; return std::tie(a); }
    else if constexpr (kCount == 2) { const auto& [a, b] = row; return std::tie(a, b); }
    else if constexpr (kCount == 3) { const auto& [a, b, c] = row; return std::tie(a, b, c); }
    else if constexpr (kCount == 4) { const auto& [a, b, c, d] = row; return std::tie(a, b, c, d); }
    else if constexpr (kCount == 5) { const auto& [a, b, c, d, e] = row; return std::tie(a, b, c, d, e); }
    else if constexpr (kCount == 6) { const auto& [a, b, c, d, e, f] = row; return std::tie(a, b, c, d, e, f); }
    else if constexpr (kCount == 7) { const auto& [a, b, c, d, e, f, g] = row; return std::tie(a, b, c, d, e, f, g); }
    else if constexpr (kCount == 8) { const auto& [a, b, c, d, e, f, g, h] = row; return std::tie(a, b, c, d, e, f, g, h); }
    else if constexpr (kCount == 9) { const auto& [a, b, c, d, e, f, g, h, i] = row; return std::tie(a, b, c, d, e, f, g, h, i); }
    else { const auto& [a, b, c, d, e, f, g, h, i, j] = row; return std::tie(a, b, c, d, e, f, g, h, i, j); }
    // clang-format on
}

inline bool IsNameCharacter(char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; }

inline std::string SpelledOut(char c) {
    switch (c) {
        case ',':
            return "comma";
        case '.':
            return "point";
        case ' ':
            return "blank";
        case '-':
            return "minus";
        case '+':
            return "plus";
        default:
            return "byte" + std::to_string(static_cast<unsigned char>(c));
    }
}

template <class T>
std::string Text(const T& value) {
    if constexpr (std::is_pointer_v<T> && std::is_convertible_v<const T&, std::string_view>) {
        return value == nullptr ? "null" : Text(std::string_view(value));
    } else if constexpr (std::is_convertible_v<const T&, std::string_view>) {
        const std::string_view text = value;
        if (text.empty()) return "empty";
        if (std::any_of(text.begin(), text.end(), [](char c) { return IsNameCharacter(c); })) {
            return std::string(text);
        }
        // A decimal mark or a blank alone would leave nothing of itself.
        std::string spelled;
        for (const char c : text) spelled += SpelledOut(c) + " ";
        return spelled;
    } else if constexpr (std::is_enum_v<T>) {
        return std::to_string(static_cast<long long>(value));
    } else if constexpr (std::is_class_v<T> && std::is_aggregate_v<T> &&
                         !requires { value.begin(); }) {
        std::string text;
        std::apply([&text](const auto&... field) { ((text += Text(field) + " "), ...); },
                   Tie(value));
        return text;
    } else {
        return ::testing::PrintToString(value);
    }
}

}  // namespace row_name

struct RowName {
    // Long enough to tell rows apart at a glance; the number keeps them unique.
    static constexpr std::size_t kMostCharacters = 48;

    template <class Param>
    std::string operator()(const ::testing::TestParamInfo<Param>& info) const {
        std::string name = std::to_string(info.index);
        bool gap = true;
        for (const char c : row_name::Text(info.param)) {
            if (name.size() >= kMostCharacters) break;
            const bool sign = c == '-' || c == '+';
            if (!sign && !row_name::IsNameCharacter(c)) {
                gap = true;
                continue;
            }
            if (gap) name += '_';
            name += sign ? row_name::SpelledOut(c) : std::string(1, c);
            gap = sign;
        }
        return name;
    }
};

}  // namespace kestrow::test_rows
