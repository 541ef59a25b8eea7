// SPDX-License-Identifier: MIT
// Kestrow: sunrise, sunset and length of day for one place.
#include <QApplication>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iostream>
#include <optional>
#include <string_view>
#include <vector>

#include "app/clock.h"
#include "app/command_line.h"
#include "app/display_check.h"
#include "app/settings_file.h"
#include "app/settings_location.h"
#include "app/zone_table.h"
#include "main_window.h"
#include "ui/platform/close_on_signal.h"
#include "ui/platform/display_failure.h"
#include "ui/platform/qt_desktop_shell.h"
#include "ui/platform/qt_user_locale.h"
#include "ui/platform/single_instance.h"

int main(int argc, char* argv[]) {
    using kestrow::CommandLine;
    // Read before the toolkit starts: --help and --version need no display,
    // and a mistyped option must not open a window.
    const CommandLine line = kestrow::ParseCommandLine({argv + 1, argv + argc});
    switch (line.action) {
        case CommandLine::Action::Help:
            std::cout << kestrow::CommandLineHelp() << std::flush;
            return std::cout ? 0 : 1;
        case CommandLine::Action::Version:
            std::cout << kestrow::VersionText("kestrow") << std::flush;
            return std::cout ? 0 : 1;
        case CommandLine::Action::Refuse:
            std::cerr << "kestrow: " << line.error << '\n';
            return 2;
        case CommandLine::Action::Run:
            break;
    }

    std::filesystem::path settingsPath(kestrow::kSettingsFileName);
    if (line.userSettings) {
        const auto user =
            kestrow::UserSettingsPath(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
        if (!user) {
            std::cerr << "kestrow: --user-settings needs XDG_CONFIG_HOME or HOME to name a "
                         "folder by its full path\n";
            return 1;
        }
        settingsPath = *user;
    }
    if (const auto missing =
            kestrow::MissingDisplayMessage(kestrow::ReadDisplayEnvironment(argc, argv))) {
        std::cerr << "kestrow: " << *missing << '\n';
        return 1;
    }
    // A window already open on this settings file is brought to the front
    // instead of a second one that would undo its saves.
    kestrow::ui::SingleInstance instance(settingsPath);
    if (!instance.message().empty()) std::cerr << "kestrow: " << instance.message() << '\n';
    // 0 only when the open window came forward.
    if (instance.anotherIsRunning()) return instance.cameForward() ? 0 : 1;

    // A display that is named but cannot be reached ends here, in one line.
    std::optional<kestrow::ui::DisplayFailureGuard> displayGuard(std::in_place, "kestrow");
    QApplication app(argc, argv);
    displayGuard.reset();
    const kestrow::SystemClock clock;
    const kestrow::ui::QtUserLocale locale;
    kestrow::ui::QtDesktopShell shell;
    // Started from the desktop menu for the first time: the time zone's city
    // is a place to start from. The table is read only then.
    std::function<std::optional<kestrow::ZonePlace>()> firstPlace;
    if (line.userSettings) firstPlace = kestrow::SystemZonePlace;
    kestrow::ui::MainWindow window(
        shell, clock, locale, std::cerr, settingsPath, line.localTime,
        line.precise ? kestrow::AlmanacMethod::Precise : kestrow::AlmanacMethod::Design,
        std::move(firstPlace));
    instance.onRequest(window, [&window] {
        window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
        window.show();
        window.raise();
        window.activateWindow();
    });
    kestrow::ui::closeOnTermination(window);
    window.show();
    return QApplication::exec();
}
