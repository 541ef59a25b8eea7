// SPDX-License-Identifier: MIT
#include "app/command_line.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

namespace kestrow {
namespace {

using Action = CommandLine::Action;

TEST(CommandLine, ReadsItsOwnOptionsPassesTheToolkitsAndRefusesTheRest) {
    struct Case {
        std::vector<std::string_view> args;
        Action action;
        bool userSettings;
        std::string_view named;  // what a refusal must quote
    };
    const Case cases[] = {
        {{}, Action::Run, false, ""},
        {{"--user-settings"}, Action::Run, true, ""},
        {{"--user-settings", "--local-time"}, Action::Run, true, ""},
        {{"--local-time", "-style", "fusion"}, Action::Run, false, ""},
        {{"--user-settings", "--local-time", "--precise"}, Action::Run, true, ""},
        {{"--precise=yes"}, Action::Refuse, false, "'--precise=yes'"},
        {{"--help"}, Action::Help, false, ""},
        {{"-h", "--user-settings"}, Action::Help, true, ""},
        {{"--version"}, Action::Version, false, ""},
        // Help wins over version wherever it stands, and nothing is run.
        {{"--version", "--help"}, Action::Help, false, ""},
        {{"-platform", "offscreen", "--user-settings"}, Action::Run, true, ""},
        {{"--style", "fusion", "-reverse", "-style=windows"}, Action::Run, false, ""},
        {{"-display", ":1", "-name", "sun", "-geometry", "+0+0"}, Action::Run, false, ""},
        // A toolkit option's value is not read as an option of ours.
        {{"-qwindowtitle", "--help"}, Action::Run, false, ""},
        {{"--frobnicate"}, Action::Refuse, false, "'--frobnicate'"},
        {{"--user-settings=yes"}, Action::Refuse, false, "'--user-settings=yes'"},
        {{"-user-settings"}, Action::Refuse, false, "'-user-settings'"},
        {{"--local-time=yes"}, Action::Refuse, false, "'--local-time=yes'"},
        {{"-platform=xcb"}, Action::Refuse, false, "'-platform=xcb'"},
        {{"--help", "-x"}, Action::Refuse, false, "'-x'"},
        {{"-platform"}, Action::Refuse, false, "'-platform' needs a value"},
        {{"Kestrow.dat"}, Action::Refuse, false, "'Kestrow.dat'"},
        {{"--"}, Action::Refuse, false, "'--'"},
    };
    for (const Case& c : cases) {
        std::string shown;
        for (const std::string_view arg : c.args) shown += "'" + std::string(arg) + "' ";
        SCOPED_TRACE(shown);
        const CommandLine line = ParseCommandLine(c.args);
        EXPECT_EQ(line.action, c.action);
        if (c.action == Action::Refuse) {
            EXPECT_NE(line.error.find(c.named), std::string::npos) << line.error;
            EXPECT_TRUE(line.error.ends_with(" (see --help)")) << line.error;
            EXPECT_EQ(line.error.find('\n'), std::string::npos) << line.error;
        } else {
            EXPECT_EQ(line.userSettings, c.userSettings);
            EXPECT_EQ(line.localTime,
                      std::find(c.args.begin(), c.args.end(), "--local-time") != c.args.end());
            EXPECT_EQ(line.precise,
                      std::find(c.args.begin(), c.args.end(), "--precise") != c.args.end());
        }
    }
}

}  // namespace
}  // namespace kestrow
