// SPDX-License-Identifier: MIT
// Who listens on a name in the abstract socket namespace, asked of the
// kernel's socket diagnostics rather than of the socket itself: a listener
// whose queue is full cannot be connected to, so its credentials cannot be
// read the usual way, and a full queue is what another user would show to
// keep a window from opening.
#pragma once

#include <sys/types.h>

#include <string_view>

namespace kestrow::ui {

enum class NameOwner {
    Found,         // `owner` holds the user id of the listening socket
    NotListening,  // no socket listens on the name
    Unknown,       // the kernel does not tell
};

// Looks up the listener on the abstract name `name` (without the leading
// zero byte).
NameOwner findAbstractNameOwner(std::string_view name, uid_t& owner);

}  // namespace kestrow::ui
