# SPDX-License-Identifier: MIT
# The Wayland counterpart of x11_session.sh: a headless weston of the
# session's own (its own runtime folder and socket, so that sessions side by
# side do not meet), a session bus with the accessibility bus on it, and the
# kestrow window driven through that bus, in a temporary working folder
# `work`. Set `kestrow` and `session` before sourcing it with the script's
# arguments; `runner` (an array) and `patience` as for x11_session.sh. A
# Wayland program cannot be told to close its window from outside headless,
# so closing is SIGTERM, which the program answers by closing its window.
runner=("${runner[@]}")
patience=${patience:-1}
# shellcheck source=tests/e2e/session_common.sh
source "$(dirname "${BASH_SOURCE[0]}")/session_common.sh"
drive="$(dirname "$(realpath "${BASH_SOURCE[0]}")")/atspi_drive.py"

for tool in weston dbus-run-session /usr/bin/python3 /usr/libexec/at-spi-bus-launcher; do
    command -v "$tool" >/dev/null ||
        fail "$tool is missing (Debian packages: weston qt6-wayland dbus at-spi2-core python3-pyatspi)"
done

if [ -z "${KESTROW_WAYLAND_SESSION:-}" ]; then
    KESTROW_WAYLAND_SESSION=1 exec dbus-run-session -- "$0" "$@"
fi

work=$(mktemp -d)
runtime=$(mktemp -d)
chmod 700 "$runtime"
socket="kestrow-$$"
compositor_pid=
bus_pid=
app_pid=
cleanup() {
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
    [ -n "$bus_pid" ] && kill "$bus_pid" 2>/dev/null || true
    [ -n "$compositor_pid" ] && kill "$compositor_pid" 2>/dev/null || true
    rm -rf "$work" "$runtime"
}
trap cleanup EXIT

start_compositor() {
    XDG_RUNTIME_DIR=$runtime weston --backend=headless-backend.so --socket="$socket" \
        --idle-time=0 >"$work/weston.txt" 2>&1 &
    compositor_pid=$!
    wait_for 10 test -S "$runtime/$socket" ||
        fail "weston did not start: $(cat "$work/weston.txt")"
    /usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
    bus_pid=$!
}

start_kestrow() {
    (cd "$work" && exec env -u DISPLAY -u LC_ALL -u LC_NUMERIC -u LANGUAGE \
        XDG_RUNTIME_DIR="$runtime" WAYLAND_DISPLAY="$socket" QT_QPA_PLATFORM=wayland \
        QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 LANG=fr_FR.UTF-8 \
        "${runner[@]}" "$kestrow" 2>>"$work/stderr.txt") &
    app_pid=$!
    "$drive" wait $((15 * patience)) || fail "no Kestrow window: $(cat "$work/stderr.txt")"
}

close_kestrow() { end_session; }
