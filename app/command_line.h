// SPDX-License-Identifier: MIT
// The command line of the kestrow program. It is read before the window
// system is touched, so that --help and --version work without a display and
// a mistyped option stops the program before a window opens.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kestrow {

struct CommandLine {
    enum class Action { Run, Help, Version, Refuse };
    Action action = Action::Run;
    // Kestrow.dat in the user's configuration folder rather than the working folder.
    bool userSettings = false;
    // Sunrise and sunset on the computer's own clock rather than UT plus one
    // or two hours.
    bool localTime = false;
    // The precise method (AlmanacMethod::Precise) rather than the design's.
    bool precise = false;
    // For Refuse: one line, without the program's name or a line end.
    std::string error;
};

// Reads the arguments after the program's name. The toolkit's own standard
// options (-platform NAME, -style NAME, -display NAME, -reverse, ...) are let
// through for the toolkit to read; anything else unknown is refused.
CommandLine ParseCommandLine(const std::vector<std::string_view>& args);

// The texts of --help and --version, each ending in a newline.
std::string CommandLineHelp();
std::string VersionText(std::string_view program);

}  // namespace kestrow
