// SPDX-License-Identifier: MIT
#include "app/command_line.h"

#include <algorithm>
#include <array>

#include "app/version.h"

namespace kestrow {
namespace {

// The toolkit's standard options that users and desktop launchers pass; the
// toolkit takes them out of the arguments itself. It also reads them with two
// dashes, and the two style options with "=VALUE".
constexpr std::array<std::string_view, 15> kToolkitOptionsWithValue = {
    "platform",        "platformpluginpath",
    "platformtheme",   "plugin",
    "qwindowgeometry", "geometry",
    "qwindowtitle",    "title",
    "qwindowicon",     "icon",
    "display",         "name",
    "style",           "stylesheet",
    "session",
};
constexpr std::array<std::string_view, 5> kToolkitFlags = {
    "reverse", "nograb", "dograb", "sync", "widgetcount",
};

template <std::size_t N>
bool Among(const std::array<std::string_view, N>& names, std::string_view name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

// Appended piece by piece: GCC 12 warns of a false overlap in "..." + std::string.
CommandLine Refuse(std::string_view before, std::string_view arg, std::string_view after) {
    CommandLine line;
    line.action = CommandLine::Action::Refuse;
    line.error.append(before).append("'").append(arg).append("'").append(after);
    line.error.append(" (see --help)");
    return line;
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string_view>& args) {
    CommandLine line;
    bool help = false;
    bool version = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (arg == "--help" || arg == "-h") {
            help = true;
        } else if (arg == "--version") {
            version = true;
        } else if (arg == "--user-settings") {
            line.userSettings = true;
        } else if (arg == "--local-time") {
            line.localTime = true;
        } else if (arg == "--precise") {
            line.precise = true;
        } else if (arg.size() > 1 && arg[0] == '-' && arg != "--") {
            std::string_view name = arg.substr(arg.starts_with("--") ? 2 : 1);
            if (Among(kToolkitFlags, name)) continue;
            const std::size_t equals = name.find('=');
            if (equals != std::string_view::npos &&
                (name.substr(0, equals) == "style" || name.substr(0, equals) == "stylesheet")) {
                continue;
            }
            if (!Among(kToolkitOptionsWithValue, name)) {
                return Refuse("unknown option ", arg, "");
            }
            if (i + 1 == args.size()) return Refuse("", arg, " needs a value");
            ++i;
        } else {
            return Refuse("unexpected argument ", arg, "");
        }
    }
    if (help) {
        line.action = CommandLine::Action::Help;
    } else if (version) {
        line.action = CommandLine::Action::Version;
    }
    return line;
}

std::string CommandLineHelp() {
    return "Usage: kestrow [--user-settings] [--local-time] [--precise] [toolkit options]\n"
           "Shows today's sunrise, sunset and length of day for one place, and how much\n"
           "the day has grown or shrunk since yesterday.\n"
           "\n"
           "  --user-settings  keep Kestrow.dat in $XDG_CONFIG_HOME/kestrow/ (by default\n"
           "                   ~/.config/kestrow/) instead of the working folder; the\n"
           "                   first start there offers the time zone's city as the\n"
           "                   place, with Setup shown: Enter keeps it\n"
           "  --local-time     show sunrise and sunset on this computer's clock, by its\n"
           "                   time zone and summer time (as the desktop menu starts it)\n"
           "  --precise        compute them by the precise method (as the desktop menu\n"
           "                   starts it)\n"
           "  -h, --help       print this text and exit\n"
           "  --version        print the version and exit\n"
           "\n"
           "The toolkit's standard options, such as -platform NAME, -style NAME or\n"
           "-display NAME, are passed on. A second start on the same settings file\n"
           "brings the open window to the front.\n"
           "\n"
           "Keys: Alt+S Setup, Enter OK, Escape leaves Setup with the boxes as they\n"
           "were, F1 the About window.\n"
           "\n"
           "Two clocks: without --local-time the times are UT plus two hours while this\n"
           "computer's clock is two hours ahead of UTC, and UT plus one hour otherwise,\n"
           "which suits a zone one hour ahead in winter and two in summer. With it, they\n"
           "are on this computer's own clock. The length of day and its change are the\n"
           "same on both.\n"
           "\n"
           "Two methods: without --precise, the original one: one position of the sun\n"
           "for the whole date, times cut to the minute. It is minutes off everywhere,\n"
           "up to half an hour near the polar circles, and shows polar days and nights\n"
           "as ordinary times. With it, the sun's position at each event's own instant,\n"
           "after Meeus (Astronomical Algorithms): within a few seconds of an\n"
           "independent ephemeris below 65 degrees of latitude and well within a minute\n"
           "up to 72, times rounded to the nearest minute, polar days and nights said\n"
           "in words, a sunset after midnight marked +1.\n";
}

std::string VersionText(std::string_view program) {
    return std::string(program) + " " + std::string(kVersion) + "\n";
}

}  // namespace kestrow
