// SPDX-License-Identifier: MIT
// Starts a Qt Widgets program with kestrow_startup_probe preloaded and prints
// one line about that start:
//
//   startup_ms=... rss_kb=... cpu_ms=... loaded_ms=... app_ms=... shown_ms=... painted_ms=...
//
// startup_ms runs from just before the fork to the probe's end point (the
// first turn of the event loop after the first window was painted, see
// startup_probe.cpp); the stage marks are measured from the same instant.
// rss_kb is the child's peak resident set (ru_maxrss), cpu_ms its user and
// system time, both from wait4.
//
// Usage: kestrow_startup_launch PROBE.so FOLDER PROGRAM [ARGUMENT...]
//   The program runs in FOLDER with the environment it is given here.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

namespace {

constexpr int kTimeoutMs = 60000;

long long Now() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1000000000LL + ts.tv_nsec;
}

double Ms(long long from, long long to) { return to > 0 ? (to - from) / 1e6 : -1.0; }

double Ms(const timeval& tv) { return tv.tv_sec * 1e3 + tv.tv_usec / 1e3; }

}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s PROBE.so FOLDER PROGRAM [ARGUMENT...]\n", argv[0]);
        return 2;
    }
    int fds[2];
    if (pipe(fds) != 0) {
        std::perror("pipe");
        return 1;
    }
    fcntl(fds[0], F_SETFD, FD_CLOEXEC);
    const std::string fd_text = std::to_string(fds[1]);

    const long long start = Now();
    const pid_t child = fork();
    if (child < 0) {
        std::perror("fork");
        return 1;
    }
    if (child == 0) {
        if (chdir(argv[2]) != 0) _exit(126);
        setenv("STARTUP_PROBE_FD", fd_text.c_str(), 1);
        setenv("LD_PRELOAD", argv[1], 1);
        execv(argv[3], argv + 3);
        _exit(127);
    }
    close(fds[1]);

    // The report, read until the probe's end closes the pipe.
    std::string report;
    const long long deadline = start + kTimeoutMs * 1000000LL;
    bool timed_out = false;
    for (;;) {
        const long long left_ms = (deadline - Now()) / 1000000;
        if (left_ms <= 0) {
            timed_out = true;
            break;
        }
        pollfd pfd{fds[0], POLLIN, 0};
        const int ready = poll(&pfd, 1, static_cast<int>(left_ms));
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) {
            timed_out = ready == 0;
            break;
        }
        char buffer[512];
        const ssize_t n = read(fds[0], buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        report.append(buffer, static_cast<size_t>(n));
    }
    if (timed_out) kill(child, SIGKILL);

    int status = 0;
    rusage usage{};
    while (wait4(child, &status, 0, &usage) < 0 && errno == EINTR) {
    }

    long long loaded = 0, app = 0, shown = 0, painted = 0, end = 0;
    const bool parsed =
        std::sscanf(report.c_str(), "loaded=%lld app=%lld shown=%lld painted=%lld end=%lld",
                    &loaded, &app, &shown, &painted, &end) == 5;
    if (timed_out || !parsed || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "%s: %s did not report its start-up (%s, status %d)\n", argv[0],
                     argv[3], timed_out ? "timed out" : "no report", status);
        return 1;
    }
    std::printf(
        "startup_ms=%.2f rss_kb=%ld cpu_ms=%.1f loaded_ms=%.2f app_ms=%.2f shown_ms=%.2f "
        "painted_ms=%.2f\n",
        Ms(start, end), usage.ru_maxrss, Ms(usage.ru_utime) + Ms(usage.ru_stime), Ms(start, loaded),
        Ms(start, app), Ms(start, shown), Ms(start, painted));
    return 0;
}
