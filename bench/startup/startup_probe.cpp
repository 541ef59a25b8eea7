// SPDX-License-Identifier: MIT
// Preloaded (LD_PRELOAD) into a Qt Widgets program by kestrow_startup_launch
// to time its start-up without any hook in the program itself.
//
// The end point is the first turn of the event loop after the first window
// has been painted: a queued call posted from the first paint runs only once
// the event loop is going and that paint has been flushed; it then makes one
// round trip to the X server, so the picture is known to be there, writes the
// times of the stages to the descriptor named by STARTUP_PROBE_FD and ends the
// process at once. Without that variable the library does nothing.
//
// Stages, all CLOCK_MONOTONIC in nanoseconds:
//   loaded   the libraries are loaded and relocated (this library's constructor);
//   app      QApplication is being built and has its connection to the display;
//   shown    the first top-level widget is shown (the program's own set-up is over);
//   painted  the first paint event begins;
//   end      the event loop has turned and the X server has caught up.
#include <unistd.h>

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QMetaObject>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

long long Now() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1000000000LL + ts.tv_nsec;
}

int out_fd = -1;
long long loaded = 0;
long long app = 0;
long long shown = 0;
long long painted = 0;

[[noreturn]] void Finish() {
    QGuiApplication::sync();
    const long long end = Now();
    char line[256];
    const int n =
        std::snprintf(line, sizeof line, "loaded=%lld app=%lld shown=%lld painted=%lld end=%lld\n",
                      loaded, app, shown, painted, end);
    if (n > 0 && write(out_fd, line, static_cast<size_t>(n)) != n) _exit(3);
    // No destructors, no settings saved on the way out: only start-up is timed.
    _exit(0);
}

class Watch : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* target, QEvent* event) override {
        if (!target->isWidgetType()) return false;
        if (event->type() == QEvent::Show && shown == 0 &&
            static_cast<QWidget*>(target)->isWindow()) {
            shown = Now();
        } else if (event->type() == QEvent::Paint && painted == 0) {
            painted = Now();
            QMetaObject::invokeMethod(this, &Finish, Qt::QueuedConnection);
        }
        return false;
    }
};

void Install() {
    // The program's own children, if any, must not report in its place. Not
    // forgotten earlier: a launcher in front of the program (valgrind) loads
    // this library too, and must hand both variables on.
    unsetenv("STARTUP_PROBE_FD");
    unsetenv("LD_PRELOAD");
    if (out_fd < 0) return;
    app = Now();
    QCoreApplication::instance()->installEventFilter(new Watch(QCoreApplication::instance()));
}

void Load() {
    loaded = Now();
    const char* fd = std::getenv("STARTUP_PROBE_FD");
    if (fd != nullptr && *fd != '\0') out_fd = std::atoi(fd);
}

}  // namespace

Q_CONSTRUCTOR_FUNCTION(Load)
Q_COREAPP_STARTUP_FUNCTION(Install)
