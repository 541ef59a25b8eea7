// SPDX-License-Identifier: MIT
#include "ui/platform/qt_desktop_shell.h"

#include <QDesktopServices>
#include <QString>
#include <QUrl>

namespace kestrow::ui {

void QtDesktopShell::Open(std::string_view target) {
    const QUrl url(QString::fromUtf8(target.data(), static_cast<qsizetype>(target.size())));
    // No mail program or browser: the link does nothing visible.
    (void)QDesktopServices::openUrl(url);
}

}  // namespace kestrow::ui
