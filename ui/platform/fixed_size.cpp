// SPDX-License-Identifier: MIT
#include "ui/platform/fixed_size.h"

#include <dlfcn.h>

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

// The few calls of the X connection's library that the hints need. Qt's X11
// platform plugin has loaded that library already; taking them from it links
// nothing new into the program, and needs no X headers to build.
struct XcbCalls {
    struct AtomCookie {
        unsigned int sequence;
    };
    struct AtomReply {
        uint8_t responseType;
        uint8_t pad;
        uint16_t sequence;
        uint32_t length;
        uint32_t atom;
    };
    struct VoidCookie {
        unsigned int sequence;
    };
    AtomCookie (*internAtom)(void*, uint8_t, uint16_t, const char*) = nullptr;
    AtomReply* (*internAtomReply)(void*, AtomCookie, void**) = nullptr;
    VoidCookie (*changeProperty)(void*, uint8_t, uint32_t, uint32_t, uint32_t, uint8_t, uint32_t,
                                 const void*) = nullptr;

    static const XcbCalls& loaded() {
        static const XcbCalls calls = [] {
            XcbCalls found;
            void* library = ::dlopen("libxcb.so.1", RTLD_LAZY | RTLD_NOLOAD);
            if (library == nullptr) return found;
            found.internAtom =
                reinterpret_cast<decltype(internAtom)>(::dlsym(library, "xcb_intern_atom"));
            found.internAtomReply = reinterpret_cast<decltype(internAtomReply)>(
                ::dlsym(library, "xcb_intern_atom_reply"));
            found.changeProperty =
                reinterpret_cast<decltype(changeProperty)>(::dlsym(library, "xcb_change_property"));
            return found;
        }();
        return calls;
    }
    bool usable() const { return internAtom && internAtomReply && changeProperty; }
};

void setMotifHints(QWidget* window) {
    // Other platforms may offer the interface too, without an X connection.
    if (QGuiApplication::platformName() != QLatin1String("xcb")) return;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    void* connection = x11 != nullptr ? static_cast<void*>(x11->connection()) : nullptr;
    const XcbCalls& xcb = XcbCalls::loaded();
    if (connection == nullptr || !xcb.usable()) return;
    const char* name = "_MOTIF_WM_HINTS";
    XcbCalls::AtomReply* atom = xcb.internAtomReply(
        connection, xcb.internAtom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name),
        nullptr);
    if (atom == nullptr) return;
    const uint32_t hints[5] = {kHintFunctions | kHintDecorations, kFunctionMove | kFunctionClose,
                               kDecorationBorder | kDecorationTitle | kDecorationMenu, 0, 0};
    constexpr uint8_t kReplace = 0;
    xcb.changeProperty(connection, kReplace, static_cast<uint32_t>(window->winId()), atom->atom,
                       atom->atom, 32, 5, hints);
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
