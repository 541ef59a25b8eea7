// SPDX-License-Identifier: MIT
#include "tools/wall_clock_wait.h"

#include <cerrno>

namespace kestrow {

void SleepUntil(std::time_t instant) {
    const timespec until{instant, 0};
    // Each wake-up asks the clock again: the call returns early only for a
    // handled signal, and the deadline stays the same wall-clock moment.
    while (clock_nanosleep(CLOCK_REALTIME, TIMER_ABSTIME, &until, nullptr) == EINTR) {
    }
}

}  // namespace kestrow
