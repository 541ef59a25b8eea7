// SPDX-License-Identifier: MIT
// Texts from outside (what the user typed, a file's path) shown inside a
// message: control characters drawn as visible signs.
#pragma once

#include <string>
#include <string_view>

namespace kestrow {

// `text` (UTF-8) with each C0 control character and DEL replaced by its sign
// from the Control Pictures block: NUL becomes U+2400, a line feed U+240A,
// DEL U+2421. Everything else is kept as it is.
std::string WithVisibleControls(std::string_view text);

}  // namespace kestrow
