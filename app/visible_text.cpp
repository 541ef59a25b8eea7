// SPDX-License-Identifier: MIT
#include "app/visible_text.h"

namespace kestrow {

std::string WithVisibleControls(std::string_view text) {
    std::string shown;
    shown.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte != 0x7F) {
            shown.push_back(c);
            continue;
        }
        // U+2400 + byte, or U+2421 for DEL, in UTF-8: E2 90 xx.
        const unsigned sign = byte == 0x7F ? 0x21 : byte;
        shown += "\xE2\x90";
        shown.push_back(static_cast<char>(0x80 | sign));
    }
    return shown;
}

}  // namespace kestrow
