// SPDX-License-Identifier: MIT
#include "single_instance.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <system_error>

namespace kestrow::ui {
namespace {

// The first start takes the lock and then listens; a later start arriving in
// between retries for this long before it gives up and leaves quietly.
constexpr int kConnectTries = 100;
constexpr int kTryPauseMs = 20;

// $XDG_RUNTIME_DIR, or where it is unset a folder of this user's own in /tmp,
// checked not to be somebody else's. Empty when neither can be used.
std::string RuntimeFolder() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && runtime[0] == '/') return runtime;
    const std::string folder = "/tmp/kestrow-" + std::to_string(::getuid());
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return {};
    struct stat info {};
    if (::lstat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) ||
        info.st_uid != ::getuid() || (info.st_mode & 077) != 0) {
        return {};
    }
    return folder;
}

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

bool SocketAddress(const std::string& path, sockaddr_un& address) {
    address = {};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) return false;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

// True when `path` still names the file open at `fd`.
bool StillAt(int fd, const std::string& path) {
    struct stat open {};
    struct stat named {};
    return ::fstat(fd, &open) == 0 && ::stat(path.c_str(), &named) == 0 &&
           open.st_dev == named.st_dev && open.st_ino == named.st_ino;
}

// Asks the window listening at `path` to come to the front.
bool AskToShow(const std::string& path) {
    sockaddr_un address;
    if (!SocketAddress(path, address)) return false;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    // The connection is the request. What is sent only names it: the window
    // may already have closed its end, which must not end this process with
    // SIGPIPE.
    const bool asked =
        ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    if (asked) (void)::send(fd, "show\n", 5, MSG_NOSIGNAL);
    ::close(fd);
    return asked;
}

}  // namespace

SingleInstance::SingleInstance(const std::filesystem::path& settingsFile) {
    const std::string folder = RuntimeFolder();
    if (folder.empty()) return;
    const std::string base = folder + "/kestrow-" + Key(settingsFile);
    const std::string lockPath = base + ".lock";
    socketPath_ = base + ".socket";
    for (int tries = 0; tries < kConnectTries; ++tries) {
        if (lockFd_ < 0) {
            // Close-on-exec everywhere: a browser started from the About window
            // must not inherit the lock and keep the file taken after we end.
            lockFd_ = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
            if (lockFd_ < 0) return;
        }
        if (::flock(lockFd_, LOCK_EX | LOCK_NB) == 0) {
            if (StillAt(lockFd_, lockPath)) break;
            // The window that held it removed it on closing: take the new one.
            ::close(lockFd_);
            lockFd_ = -1;
            continue;
        }
        if (errno != EWOULDBLOCK && errno != EINTR) {
            // Locks not supported here: run unchecked rather than not at all.
            ::close(lockFd_);
            lockFd_ = -1;
            return;
        }
        if (AskToShow(socketPath_) || tries + 1 == kConnectTries) {
            ::close(lockFd_);
            lockFd_ = -1;
            anotherIsRunning_ = true;
            return;
        }
        ::poll(nullptr, 0, kTryPauseMs);
    }
    if (lockFd_ < 0) return;
    lockPath_ = lockPath;
    // The lock is ours, so a socket left at this path belongs to a process
    // that has ended.
    ::unlink(socketPath_.c_str());
    sockaddr_un address;
    if (!SocketAddress(socketPath_, address)) return;
    listenFd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (listenFd_ < 0) return;
    if (::bind(listenFd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listenFd_, 4) != 0) {
        ::close(listenFd_);
        listenFd_ = -1;
    }
}

SingleInstance::~SingleInstance() {
    if (listenFd_ >= 0) {
        ::unlink(socketPath_.c_str());
        ::close(listenFd_);
    }
    // Removed while still locked; a start that opened it just before finds,
    // once it has the lock, that the path no longer leads to it, and retries.
    if (lockFd_ >= 0) {
        ::unlink(lockPath_.c_str());
        ::close(lockFd_);
    }
}

void SingleInstance::OnRequest(std::function<void()> show) {
    show_ = std::move(show);
    if (listenFd_ < 0 || notifier_ != nullptr) return;
    notifier_ = new QSocketNotifier(listenFd_, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] { AcceptRequests(); });
}

void SingleInstance::AcceptRequests() {
    // Any connection is a request; what it sends is not needed.
    bool asked = false;
    int fd = -1;
    while ((fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC)) >= 0) {
        ::close(fd);
        asked = true;
    }
    if (asked && show_) show_();
}

}  // namespace kestrow::ui
