// SPDX-License-Identifier: MIT
// Whether there is a display to open the window on, decided before the
// toolkit starts: without one it would abort with advice that does not help.
#pragma once

#include <optional>
#include <string>

namespace kestrow {

// What the toolkit looks at to choose a display; an empty value counts as unset.
struct DisplayEnvironment {
    std::string display;            // DISPLAY
    std::string waylandDisplay;     // WAYLAND_DISPLAY
    std::string platform;           // QT_QPA_PLATFORM
    bool platformArgument = false;  // -platform or --platform on the command line
};

DisplayEnvironment ReadDisplayEnvironment(int argc, const char* const* argv);

// The line to tell the user when nothing names a display, otherwise nothing.
std::optional<std::string> MissingDisplayMessage(const DisplayEnvironment& environment);

}  // namespace kestrow
