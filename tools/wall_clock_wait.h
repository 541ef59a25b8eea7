// SPDX-License-Identifier: MIT
// Waiting for a moment of the wall clock, as `--wait` does for lights and
// cameras: a laptop that sleeps through the evening must still switch the
// lights at sunset by the clock on the wall, not an hour of running later.
#pragma once

#include <ctime>

namespace kestrow {

// Returns once the system's real-time clock reads `instant` or later. The
// sleep is absolute on CLOCK_REALTIME, so a suspend or a change of the
// system's clock moves the wake-up with the wall clock; a relative sleep
// would wake late after a suspend and early or late after a clock change.
// A signal with a handler resumes the wait; one without a handler ends the
// process as it always does.
void SleepUntil(std::time_t instant);

}  // namespace kestrow
