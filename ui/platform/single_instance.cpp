// SPDX-License-Identifier: MIT
#include "ui/platform/single_instance.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QEvent>
#include <QSocketNotifier>
#include <QTimer>
#include <cerrno>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <system_error>

#include "app/settings_file.h"

namespace kestrow::ui {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// How long a later start waits, in all, for the window that holds the claim.
constexpr milliseconds kPatience{1800};
constexpr milliseconds kPause{20};
// After an accept that fails for want of descriptors or memory, the request
// waits in the queue; it is looked at again after this, not at once.
constexpr int kAcceptRetryMs = 1000;
constexpr int kQueue = 8;
constexpr char kShown[] = "shown\n";

// FNV-1a: stable from one build and one version to the next, unlike std::hash.
std::string Key(const std::filesystem::path& settingsFile) {
    std::error_code error;
    std::filesystem::path absolute = std::filesystem::absolute(settingsFile, error);
    const std::filesystem::path resolved = std::filesystem::weakly_canonical(absolute, error);
    if (!error) absolute = resolved;
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : absolute.string()) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    }
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
}

// The claim's name: a leading zero byte puts it in the abstract namespace.
struct Name {
    sockaddr_un address{};
    socklen_t length = 0;
    const sockaddr* get() const { return reinterpret_cast<const sockaddr*>(&address); }
};

Name ClaimName(const std::filesystem::path& settingsFile) {
    const std::string text = "kestrow-" + std::to_string(::geteuid()) + "-" + Key(settingsFile);
    Name name;
    name.address.sun_family = AF_UNIX;
    std::memcpy(name.address.sun_path + 1, text.data(), text.size());
    name.length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + text.size());
    return name;
}

std::string Reason(int error) { return std::generic_category().message(error); }

// Close-on-exec: a browser started from the About window must not inherit
// the claim and keep the file taken after we end.
int NewSocket() { return ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0); }

int MillisecondsLeft(Clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

enum class Answer {
    Shown,    // the window came to the front
    Silent,   // connected, but no answer in time
    Busy,     // its queue is full: it takes no requests at present
    Gone,     // nobody listens, or the window closed before answering
    Foreign,  // the name is held by another user
};

// Asks the process that holds the claim to bring its window forward.
Answer Ask(const Name& name, Clock::time_point deadline) {
    const int fd = NewSocket();
    if (fd < 0) return Answer::Gone;
    const auto answer = [fd](Answer a) {
        ::close(fd);
        return a;
    };
    if (::connect(fd, name.get(), name.length) != 0) {
        return answer(errno == EAGAIN ? Answer::Busy : Answer::Gone);
    }
    ucred peer{};
    socklen_t size = sizeof peer;
    if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) != 0 || peer.uid != ::geteuid()) {
        return answer(Answer::Foreign);
    }
    pollfd wait{fd, POLLIN, 0};
    int ready = 0;
    while ((ready = ::poll(&wait, 1, MillisecondsLeft(deadline))) < 0 && errno == EINTR) {
    }
    if (ready <= 0) return answer(Answer::Silent);
    char reply[sizeof kShown] = {};
    const ssize_t count = ::recv(fd, reply, sizeof reply - 1, 0);
    return answer(count > 0 && std::strcmp(reply, kShown) == 0 ? Answer::Shown : Answer::Gone);
}

}  // namespace

SingleInstance::SingleInstance(const std::filesystem::path& settingsFile) {
    const Name name = ClaimName(settingsFile);
    const std::string unchecked =
        "cannot make sure that no other window uses " + QuotedSettingsPath(settingsFile) + ": ";
    const auto deadline = Clock::now() + kPatience;
    for (;;) {
        const int fd = NewSocket();
        if (fd < 0) {
            message_ = unchecked + Reason(errno);
            return;
        }
        if (::bind(fd, name.get(), name.length) == 0 && ::listen(fd, kQueue) == 0) {
            listenFd_ = fd;
            return;
        }
        const int error = errno;
        ::close(fd);
        if (error != EADDRINUSE) {
            message_ = unchecked + Reason(error);
            return;
        }
        const Answer answer = Ask(name, deadline);
        if (answer == Answer::Shown) {
            state_ = State::CameForward;
            return;
        }
        if (answer == Answer::Foreign) {
            message_ = unchecked + "another user holds its claim";
            return;
        }
        if (answer == Answer::Silent || (answer == Answer::Busy && Clock::now() >= deadline)) {
            state_ = State::NotAnswering;
            message_ = "the window already open on " + QuotedSettingsPath(settingsFile) +
                       " does not answer";
            return;
        }
        // The window closed while we asked, or its process is between taking
        // the claim and listening: look again.
        if (Clock::now() >= deadline) {
            message_ = unchecked + "another program holds its claim";
            return;
        }
        ::poll(nullptr, 0, static_cast<int>(kPause.count()));
    }
}

SingleInstance::~SingleInstance() { release(); }

void SingleInstance::onRequest(QWidget& window, std::function<void()> show) {
    show_ = std::move(show);
    window_ = &window;
    window.installEventFilter(this);
    if (listenFd_ < 0 || notifier_ != nullptr) return;
    notifier_ = new QSocketNotifier(listenFd_, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] { acceptRequests(); });
}

bool SingleInstance::eventFilter(QObject* watched, QEvent* event) {
    // Let go once the closing has run (it saves the place) and the window is
    // gone; a message raised by the closing may keep the process alive.
    if (watched == window_ && event->type() == QEvent::Close) {
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (window_.isNull() || !window_->isVisible()) release();
            },
            Qt::QueuedConnection);
    }
    return QObject::eventFilter(watched, event);
}

void SingleInstance::acceptRequests() {
    while (listenFd_ >= 0) {
        const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0) {
            if (errno == EINTR || errno == ECONNABORTED) continue;
            if (errno != EAGAIN && errno != EWOULDBLOCK && notifier_ != nullptr) {
                // Out of descriptors or memory: the queue stays readable, and
                // looking again at once would only spin.
                notifier_->setEnabled(false);
                QTimer::singleShot(kAcceptRetryMs, notifier_,
                                   [n = notifier_] { n->setEnabled(true); });
            }
            return;
        }
        // A closed window is not brought back: the start that asked is sent
        // away unanswered, and finds the claim free when it looks again.
        if (window_.isNull() || !window_->isVisible()) {
            ::close(fd);
            release();
            return;
        }
        if (show_) show_();
        (void)::send(fd, kShown, sizeof kShown - 1, MSG_NOSIGNAL);
        ::close(fd);
    }
}

void SingleInstance::release() {
    delete notifier_;
    notifier_ = nullptr;
    if (listenFd_ >= 0) {
        ::close(listenFd_);
        listenFd_ = -1;
    }
}

}  // namespace kestrow::ui
