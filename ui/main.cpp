// Kestrow: sunrise, sunset and length of day for one place.
#include <QApplication>
#include <iostream>

#include "app/clock.h"
#include "app/display_check.h"
#include "close_on_signal.h"
#include "form1_window.h"
#include "qt_desktop_shell.h"
#include "qt_user_locale.h"

int main(int argc, char* argv[]) {
    if (const auto missing =
            kestrow::MissingDisplayMessage(kestrow::ReadDisplayEnvironment(argc, argv))) {
        std::cerr << "kestrow: " << *missing << '\n';
        return 1;
    }
    QApplication app(argc, argv);
    const kestrow::SystemClock clock;
    const kestrow::ui::QtUserLocale locale;
    kestrow::ui::QtDesktopShell shell;
    kestrow::ui::Form1Window window(shell, clock, locale, std::cerr);
    kestrow::ui::CloseOnTermination(window);
    window.show();
    return QApplication::exec();
}
