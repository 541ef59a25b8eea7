// SPDX-License-Identifier: MIT
#include "fixed_size.h"

#include <xcb/xcb.h>

#include <QEvent>
#include <QGuiApplication>
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace kestrow::ui {
namespace {

// The Motif window manager hints, as window managers read them.
constexpr uint32_t kHintFunctions = 1 << 0;
constexpr uint32_t kHintDecorations = 1 << 1;
constexpr uint32_t kFunctionMove = 1 << 2;
constexpr uint32_t kFunctionClose = 1 << 5;
constexpr uint32_t kDecorationBorder = 1 << 1;
constexpr uint32_t kDecorationTitle = 1 << 3;
constexpr uint32_t kDecorationMenu = 1 << 4;

void setMotifHints(QWidget* window) {
    // Other platforms may offer the interface too, without an X connection.
    if (QGuiApplication::platformName() != QLatin1String("xcb")) return;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 != nullptr ? x11->connection() : nullptr;
    if (connection == nullptr) return;
    const char* name = "_MOTIF_WM_HINTS";
    xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, std::strlen(name), name), nullptr);
    if (atom == nullptr) return;
    const uint32_t hints[5] = {kHintFunctions | kHintDecorations, kFunctionMove | kFunctionClose,
                               kDecorationBorder | kDecorationTitle | kDecorationMenu, 0, 0};
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE,
                        static_cast<xcb_window_t>(window->winId()), atom->atom, atom->atom, 32, 5,
                        hints);
    std::free(atom);
}

class FixedSize : public QObject {
  public:
    explicit FixedSize(QWidget* window) : QObject(window), window_(window) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != window_) return false;
        if (event->type() == QEvent::Show) {
            // Qt writes its own hints when it makes the native window, which
            // is before the window is shown; the window manager reads them
            // when it is mapped, which is after.
            setMotifHints(window_);
        } else if (event->type() == QEvent::WindowStateChange &&
                   (window_->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))) {
            // Not from within the change itself.
            QTimer::singleShot(0, window_, [window = window_] {
                window->setWindowState(window->windowState() &
                                       ~(Qt::WindowMaximized | Qt::WindowFullScreen));
            });
        }
        return false;
    }

  private:
    QWidget* window_;
};

}  // namespace

void keepFixedSize(QWidget* window) { window->installEventFilter(new FixedSize(window)); }

}  // namespace kestrow::ui
