// SPDX-License-Identifier: MIT
// Hands links to the desktop's mail program or web browser.
#pragma once

#include "app/desktop_shell.h"

namespace kestrow::ui {

class QtDesktopShell final : public DesktopShell {
  public:
    // The desktop picks the program from the link's scheme: a mail program
    // for "mailto:", the web browser for a page.
    bool Open(std::string_view target) override;
};

}  // namespace kestrow::ui
