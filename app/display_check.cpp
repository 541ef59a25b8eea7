// SPDX-License-Identifier: MIT
#include "display_check.h"

#include <cstdlib>
#include <string_view>

namespace kestrow {
namespace {

std::string Variable(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

}  // namespace

DisplayEnvironment ReadDisplayEnvironment(int argc, const char* const* argv) {
    DisplayEnvironment environment{Variable("DISPLAY"), Variable("WAYLAND_DISPLAY"),
                                   Variable("QT_QPA_PLATFORM")};
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "-platform" || argument == "--platform") {
            environment.platformArgument = true;
        }
    }
    return environment;
}

std::optional<std::string> MissingDisplayMessage(const DisplayEnvironment& environment) {
    // A chosen platform (offscreen, vnc, a Wayland socket by path...) is the
    // user's to judge: the toolkit reports its own failures there.
    if (!environment.display.empty() || !environment.waylandDisplay.empty() ||
        !environment.platform.empty() || environment.platformArgument) {
        return std::nullopt;
    }
    return "no display to show the window on (DISPLAY and WAYLAND_DISPLAY are unset)";
}

}  // namespace kestrow
