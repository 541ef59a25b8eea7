// SPDX-License-Identifier: MIT
#include "ui/platform/qt_desktop_shell.h"

#include <QDesktopServices>
#include <QString>
#include <QUrl>

namespace kestrow::ui {

bool QtDesktopShell::Open(std::string_view target) {
    const QUrl url(QString::fromUtf8(target.data(), static_cast<qsizetype>(target.size())));
    // False where no opener could be started (no xdg-open, no portal): the
    // toolkit says so only on stderr, which a user started from a menu never sees.
    return QDesktopServices::openUrl(url);
}

}  // namespace kestrow::ui
