// SPDX-License-Identifier: MIT
#include "ui/platform/close_on_signal.h"

#include <sys/socket.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QPointer>
#include <QSocketNotifier>
#include <QWidget>
#include <cerrno>
#include <csignal>

namespace kestrow::ui {
namespace {

// The handler may do nothing but write: the event loop does the closing.
int signalPipe[2] = {-1, -1};

extern "C" void OnTermination(int) {
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[0], &byte, 1);
    errno = saved;
}

}  // namespace

void closeOnTermination(QWidget& window) {
    if (signalPipe[0] < 0 &&
        ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, signalPipe) != 0) {
        return;  // no handler then: the signal's default action ends the program
    }
    auto* notifier = new QSocketNotifier(signalPipe[1], QSocketNotifier::Read, &window);
    QObject::connect(notifier, &QSocketNotifier::activated, &window,
                     [target = QPointer<QWidget>(&window)] {
                         char bytes[16];
                         while (::read(signalPipe[1], bytes, sizeof bytes) > 0) {
                         }
                         if (target && target->isVisible()) {
                             target->close();
                         } else {
                             QCoreApplication::quit();
                         }
                     });
    struct sigaction action = {};
    action.sa_handler = OnTermination;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGHUP, &action, nullptr);
}

}  // namespace kestrow::ui
