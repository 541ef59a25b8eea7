// SPDX-License-Identifier: MIT
// The desktop's handler for links: a mail program or a web browser.
#pragma once

#include <string_view>

namespace kestrow {

class DesktopShell {
public:
    virtual ~DesktopShell() = default;
    // Hands the target to the desktop with a verb ("Open", "open"). The
    // outcome is not looked at: a link that cannot open does nothing visible.
    virtual void Execute(std::string_view verb, std::string_view target) = 0;
};

}  // namespace kestrow
