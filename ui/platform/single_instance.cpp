// SPDX-License-Identifier: MIT
#include "ui/platform/single_instance.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
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
#include "ui/platform/socket_owner.h"

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
// Requests taken in one go; the rest wait for the next turn of the event
// loop, so that a flood of them never holds the window up.
constexpr int kMostPerTurn = 64;
// The window is raised at most this often: a flood of requests must not hold
// the desktop's focus. Requests within it share one raise.
constexpr milliseconds kRaiseInterval{500};
constexpr char kShown[] = "shown\n";

// FNV-1a: stable from one build and one version to the next, unlike std::hash.
std::string Key(const std::filesystem::path& settingsFile) {
    std::error_code error;
    std::string path = std::filesystem::absolute(settingsFile, error).string();
    if (error) {
        // A working folder that was deleted has no path; two of them are
        // told apart by what they are on disk.
        struct stat folder {};
        if (::stat(".", &folder) != 0) folder = {};
        path = "folder " + std::to_string(folder.st_dev) + ":" + std::to_string(folder.st_ino) +
               " " + settingsFile.string();
    } else {
        const std::filesystem::path resolved = std::filesystem::weakly_canonical(path, error);
        if (!error) path = resolved.string();
    }
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : path) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    }
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
}

// The claim's name: a leading zero byte puts it in the abstract namespace.
struct Name {
    std::string text;  // without the leading zero byte
    sockaddr_un address{};
    socklen_t length = 0;
    const sockaddr* get() const { return reinterpret_cast<const sockaddr*>(&address); }
};

Name ClaimName(const std::filesystem::path& settingsFile) {
    const std::string text = "kestrow-" + std::to_string(::geteuid()) + "-" + Key(settingsFile);
    Name name;
    name.text = text;
    name.address.sun_family = AF_UNIX;
    std::memcpy(name.address.sun_path + 1, text.data(), text.size());
    name.length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + text.size());
    return name;
}

std::string Reason(int error) { return std::generic_category().message(error); }

// Whether the credentials of the socket's other end are this user's.
bool PeerIsUs(int fd) {
    ucred peer{};
    socklen_t size = sizeof peer;
    return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && size == sizeof peer &&
           peer.uid == ::geteuid();
}

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
    Unknown,  // its queue is full, and whose it is cannot be told
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
    if (!PeerIsUs(fd)) return answer(Answer::Foreign);
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
    bool ownerChecked = false;
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
        Answer answer = Ask(name, deadline);
        // A full queue hides whose it is; the kernel tells. Only a window of
        // our own is waited for.
        if (answer == Answer::Busy && !ownerChecked) {
            uid_t owner = 0;
            const NameOwner found = findAbstractNameOwner(name.text, owner);
            if (found == NameOwner::Found && owner != ::geteuid()) answer = Answer::Foreign;
            if (found == NameOwner::Unknown) answer = Answer::Unknown;
            ownerChecked = found == NameOwner::Found;
        }
        if (answer == Answer::Shown) {
            state_ = State::CameForward;
            return;
        }
        if (answer == Answer::Foreign) {
            message_ = unchecked + "another user holds its claim";
            return;
        }
        if (answer == Answer::Unknown) {
            message_ = unchecked + "its claim is held and takes no requests";
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
    for (int taken = 0; listenFd_ >= 0 && taken < kMostPerTurn; ++taken) {
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
        // Another user's request is not even read, let alone answered.
        if (!PeerIsUs(fd)) {
            ::close(fd);
            continue;
        }
        // A closed window is not brought back: the start that asked is sent
        // away unanswered, and finds the claim free when it looks again.
        if (window_.isNull() || !window_->isVisible()) {
            ::close(fd);
            release();
            return;
        }
        raiseSoon();
        (void)::send(fd, kShown, sizeof kShown - 1, MSG_NOSIGNAL);
        ::close(fd);
    }
}

void SingleInstance::raiseSoon() {
    if (raisePending_ || !show_) return;
    const auto now = Clock::now();
    if (now - lastRaise_ >= kRaiseInterval) {
        lastRaise_ = now;
        show_();
        return;
    }
    raisePending_ = true;
    const auto wait = std::chrono::ceil<milliseconds>(lastRaise_ + kRaiseInterval - now);
    QTimer::singleShot(wait, this, [this] {
        raisePending_ = false;
        lastRaise_ = Clock::now();
        if (!window_.isNull() && window_->isVisible()) show_();
    });
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
