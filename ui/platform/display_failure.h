// SPDX-License-Identifier: MIT
// A display that is named but cannot be reached (DISPLAY=:999, a Wayland
// socket that is gone): the toolkit then ends the process with an abort and
// several lines of advice about plugins. While it starts, this catches that
// end and turns it into one line on standard error and status 1.
#pragma once

namespace kestrow::ui {

class DisplayFailureGuard {
  public:
    // Holds back the toolkit's messages until the guard ends, when they are
    // passed on as they came; a fatal one ends the process at once.
    explicit DisplayFailureGuard(const char* program);
    ~DisplayFailureGuard();
    DisplayFailureGuard(const DisplayFailureGuard&) = delete;
    DisplayFailureGuard& operator=(const DisplayFailureGuard&) = delete;
};

}  // namespace kestrow::ui
