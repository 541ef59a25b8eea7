// SPDX-License-Identifier: MIT
// The desktop's handler for links: a mail program or a web browser.
#pragma once

#include <string_view>

namespace kestrow {

class DesktopShell {
  public:
    virtual ~DesktopShell() = default;
    // Hands a "mailto:" link or a web page to the desktop. False when the
    // desktop has nothing to open it with (no mail program or browser found),
    // so that the user can be told and given the address instead.
    virtual bool Open(std::string_view target) = 0;
};

}  // namespace kestrow
