// SPDX-License-Identifier: MIT
#include "app/settings_location.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace kestrow {
namespace {

TEST(SettingsLocation, FollowsTheConfigurationFolderRules) {
    struct Case {
        const char* xdgConfigHome;
        const char* home;
        std::optional<std::string> expected;
    };
    const Case cases[] = {
        {"/cfg", "/home/u", "/cfg/kestrow/Kestrow.dat"},
        {nullptr, "/home/u", "/home/u/.config/kestrow/Kestrow.dat"},
        {"", "/home/u", "/home/u/.config/kestrow/Kestrow.dat"},
        {"cfg", "/home/u", "/home/u/.config/kestrow/Kestrow.dat"},
        {"/cfg", nullptr, "/cfg/kestrow/Kestrow.dat"},
        {nullptr, "home/u", std::nullopt},
        {nullptr, nullptr, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.xdgConfigHome ? c.xdgConfigHome : "(unset)") + " " +
                     (c.home ? c.home : "(unset)"));
        const auto path = UserSettingsPath(c.xdgConfigHome, c.home);
        ASSERT_EQ(path.has_value(), c.expected.has_value());
        if (path) {
            EXPECT_EQ(path->string(), *c.expected);
        }
    }
}

}  // namespace
}  // namespace kestrow
