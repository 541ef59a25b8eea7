// SPDX-License-Identifier: MIT
#include "app/display_check.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/row_name.h"

namespace kestrow {
namespace {

struct DisplayCase {
    const char* display;
    const char* wayland;
    const char* platform;
    std::vector<const char*> arguments;
    bool missing;
};

class DisplayCheck : public ::testing::TestWithParam<DisplayCase> {};

TEST_P(DisplayCheck, SaysSoOnlyWhenNothingNamesADisplay) {
    const auto& c = GetParam();
    std::vector<const char*> argv{"kestrow"};
    argv.insert(argv.end(), c.arguments.begin(), c.arguments.end());
    DisplayEnvironment environment =
        ReadDisplayEnvironment(static_cast<int>(argv.size()), argv.data());
    environment.display = c.display;
    environment.waylandDisplay = c.wayland;
    environment.platform = c.platform;
    const auto message = MissingDisplayMessage(environment);
    EXPECT_EQ(message.has_value(), c.missing);
    if (message) {
        EXPECT_EQ(*message,
                  "no display to show the window on (DISPLAY and WAYLAND_DISPLAY are unset)");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Environments, DisplayCheck,
    ::testing::Values(DisplayCase{"", "", "", {}, true},
                      DisplayCase{"", "", "", {"--version-of-nothing", "platform"}, true},
                      DisplayCase{":0", "", "", {}, false},
                      DisplayCase{"", "wayland-0", "", {}, false},
                      DisplayCase{"", "", "offscreen", {}, false},
                      DisplayCase{"", "", "", {"-platform", "offscreen"}, false},
                      DisplayCase{"", "", "", {"--platform", "vnc"}, false}),
    kestrow::test_rows::RowName{});

}  // namespace
}  // namespace kestrow
