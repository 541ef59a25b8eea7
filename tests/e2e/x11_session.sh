# SPDX-License-Identifier: MIT
# Shared by the end-to-end tests and the valgrind session: drives the real
# kestrow window on an X display with xdotool, as a user would, in a
# temporary working folder `work`. The display has a window manager that
# draws title bars (openbox) and a session bus, as a desktop has.
# Source it with the script's own arguments, the first of which is the
# binary; a script may set `kestrow` (the binary) and `session` (the name
# that failures are reported under, the script's own by default); `runner`
# (an array) may hold a command to run the program under, and `patience`
# multiplies every wait, for slow runners; `kestrow_args` and `kestrow_env`
# (arrays) add arguments and NAME=VALUE settings to each start. The script is
# started again under Xvfb when it is not already on one of its own.
kestrow=$(realpath "${kestrow:-${1:?usage: $0 /path/to/kestrow}}")
session=${session:-$(basename "$0" .sh)}
runner=("${runner[@]}")
kestrow_args=("${kestrow_args[@]}")
kestrow_env=("${kestrow_env[@]}")
patience=${patience:-1}

# shellcheck source=tests/e2e/session_common.sh
source "$(dirname "${BASH_SOURCE[0]}")/session_common.sh"

for tool in xvfb-run Xvfb xdotool openbox wmctrl xwininfo xprop dbus-run-session; do
    command -v "$tool" >/dev/null ||
        fail "$tool is missing (Debian packages: xvfb xauth xdotool openbox wmctrl x11-utils dbus)"
done

if [ -z "${KESTROW_X11_SESSION:-}" ]; then
    # 96 DPI: 15 twips to a pixel, as the positions in the scripts assume.
    # A bus of the session's own: without one, the toolkit's accessibility
    # bridge would have the bus library start a stray one of its own.
    KESTROW_X11_SESSION=1 exec dbus-run-session -- \
        xvfb-run -a -s "-screen 0 1280x800x24 -dpi 96" "$0" "$@"
fi

work=$(mktemp -d)
wm_pid=
app_pid=
helper_pids=()  # other programs a script starts, ended with the session
cleanup() {
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
    [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null || true
    for pid in "${helper_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT

start_kestrow() {
    (cd "$work" && exec env -u LC_ALL -u LC_NUMERIC -u LANGUAGE -u QT_QPA_PLATFORM LANG=fr_FR.UTF-8 \
        "${kestrow_env[@]}" "${runner[@]}" "$kestrow" "${kestrow_args[@]}" 2>>"$work/stderr.txt") &
    app_pid=$!
    wait_for 30 xdotool search --onlyvisible --name '^Kestrow' ||
        fail "no Kestrow window; the program said: $(cat "$work/stderr.txt")"
    win=$(xdotool search --onlyvisible --name '^Kestrow' | head -n 1)
    wait_for 10 settled || fail "the window did not settle"
}

# Framed by the window manager and still for a moment: clicks land where aimed.
settled() {
    local before after
    before=$(xwininfo -tree -id "$win" | grep -E 'Parent|Absolute|Width|Height')
    sleep 0.3
    after=$(xwininfo -tree -id "$win" | grep -E 'Parent|Absolute|Width|Height')
    [ "$before" = "$after" ] && ! grep -q "(the root window)" <<<"$after"
}

# Sets x, y (client area on the screen) and w, h of the main window.
read_geometry() {
    eval "$(xdotool getwindowgeometry --shell "$win" | grep -E '^(X|Y|WIDTH|HEIGHT)=')"
    x=$X y=$Y w=$WIDTH h=$HEIGHT
}

# Sets fx, fy: the outer top-left corner of the window manager's frame.
read_frame() {
    local parent
    parent=$(xwininfo -tree -id "$win" | sed -n 's/^ *Parent window id: \(0x[0-9a-f]*\).*/\1/p')
    local root
    root=$(xwininfo -root | sed -n 's/.*Window id: \(0x[0-9a-f]*\).*/\1/p')
    local frame=$win
    [ "$parent" != "$root" ] && frame=$parent
    fx=$(xwininfo -id "$frame" | sed -n 's/.*Absolute upper-left X: *//p')
    fy=$(xwininfo -id "$frame" | sed -n 's/.*Absolute upper-left Y: *//p')
}

close_kestrow() {
    # The cooperative way, as the title bar's close box does.
    wmctrl -i -c "$win"
    await_end
}

# click_at X Y: a left click at a place in the window's client area. The
# pointer rests first, so that the window manager has focused the window.
click_at() {
    xdotool mousemove --window "$win" "$1" "$2"
    sleep 0.5
    xdotool click 1
}

# save_place LAT LON: "Setup", the place typed into the two boxes, and "OK".
# `compact` holds the window's compact height in pixels.
save_place() {
    # "Setup" is the first entry of the menu bar, at the window's top-left.
    click_at 15 8
    wait_for 5 height_above "$compact" || fail "Setup did not expand the window"
    # The focus starts in the latitude box; Tab twice reaches the longitude box.
    xdotool key ctrl+a
    xdotool type --delay 50 "$1"
    xdotool key Tab Tab ctrl+a
    xdotool type --delay 50 "$2"
    sleep 0.3
    # "OK": Frame1 at (120, 1080) twips, the button at (1920, 360) in it, 615 x 375.
    # 156 = (120 + 1920 + 300) / 15; 128 = (1080 + 360 + 180) / 15 + a 20-pixel menu
    # bar, inside the button for any menu bar from 8 to 32 pixels high.
    click_at 156 128
}

height_is() { read_geometry; [ "$h" -eq "$1" ]; }
height_above() { read_geometry; [ "$h" -gt "$1" ]; }
frame_at() { read_frame; [ "$fx" -eq "$1" ] && [ "$fy" -eq "$2" ]; }
moved_from() { ! frame_at "$1" "$2"; }

# start_wm: openbox, which frames windows with title bars.
start_wm() {
    openbox --sm-disable >"$work/wm.txt" 2>&1 &
    wm_pid=$!
    wait_for 10 bash -c "xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'" ||
        fail "the window manager did not start: $(cat "$work/wm.txt")"
}

# fake_opener: an xdg-open first on PATH, which the toolkit hands links to;
# it writes each target it is given as a line of $work/opened.txt.
fake_opener() {
    mkdir -p "$work/bin"
    printf '#!/bin/sh\nprintf "%%s\\n" "$*" >>"%s/opened.txt"\n' "$work" >"$work/bin/xdg-open"
    chmod +x "$work/bin/xdg-open"
    export PATH="$work/bin:$PATH"
}
opened() { [ "$(cat "$work/opened.txt" 2>/dev/null)" = "$1" ]; }

# The window that has the keyboard: keys from xdotool go there.
active_is() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$1" ]; }

# start_atspi: the accessibility bus and registry on the session's bus, and
# the program's accessibility bridge on; `atspi` runs atspi.py against them.
start_atspi() {
    local tool
    for tool in /usr/libexec/at-spi-bus-launcher /usr/libexec/at-spi2-registryd; do
        [ -x "$tool" ] || fail "$tool is missing (Debian package at-spi2-core)"
    done
    /usr/bin/python3 -c 'import pyatspi' 2>/dev/null || fail "pyatspi is missing (python3-pyatspi)"
    /usr/libexec/at-spi-bus-launcher --launch-immediately >"$work/atspi.txt" 2>&1 &
    helper_pids+=($!)
    # The registry asks for the accessibility bus: this one, not one the
    # session bus would start for it.
    wait_for 10 a11y_bus_up || fail "the accessibility bus did not start: $(cat "$work/atspi.txt")"
    /usr/libexec/at-spi2-registryd >>"$work/atspi.txt" 2>&1 &
    helper_pids+=($!)
    export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
}
a11y_bus_up() {
    dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.NameHasOwner string:org.a11y.Bus | grep -q 'boolean true'
}
atspi() { /usr/bin/python3 "$(dirname "${BASH_SOURCE[0]}")/atspi.py" "$@"; }
