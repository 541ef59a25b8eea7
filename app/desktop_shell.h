// SPDX-License-Identifier: MIT
// The desktop's handler for links: a mail program or a web browser.
#pragma once

#include <string_view>

namespace kestrow {

class DesktopShell {
  public:
    virtual ~DesktopShell() = default;
    // Hands a "mailto:" link or a web page to the desktop. The outcome is
    // not looked at: a link that cannot open does nothing visible.
    virtual void Open(std::string_view target) = 0;
};

}  // namespace kestrow
