#!/bin/bash
# SPDX-License-Identifier: MIT
# Where the window goes and what closing writes, on X11 under a window
# manager with title bars or on Wayland, at a scale factor of 1 or 2. From a
# full record, a short record and no file, the program starts three times;
# each time "Setup" and "OK" are pressed and the window is closed, and the
# file is checked after each close: on X11 the same position comes back at
# every start, on Wayland no position is made up.
#   placement_e2e.sh /path/to/kestrow x11|wayland SCALE
set -euo pipefail

kestrow=$(realpath "${1:?usage: placement_e2e.sh /path/to/kestrow x11|wayland SCALE}")
platform=${2:?}
scale=${3:?}
session="placement_e2e ($platform, scale $scale)"
here=$(dirname "$(realpath "$0")")
drive=$here/atspi_drive.py
runner=(env QT_SCALE_FACTOR="$scale" QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1)
case $platform in
    x11)
        # shellcheck source=tests/e2e/x11_session.sh
        source "$here/x11_session.sh" "$@"
        start_wm
        ;;
    wayland)
        # shellcheck source=tests/e2e/wayland_session.sh
        source "$here/wayland_session.sh" "$@"
        start_compositor
        ;;
    *) echo "usage: placement_e2e.sh /path/to/kestrow x11|wayland SCALE" >&2; exit 2 ;;
esac

# frame_near X Y: the frame's corner within one logical pixel, which is what
# the toolkit places by at a scale above 1.
frame_near() {
    read_frame
    [ $((fx - $1)) -gt -"$scale" ] && [ $((fx - $1)) -lt "$scale" ] &&
        [ $((fy - $2)) -gt -"$scale" ] && [ $((fy - $2)) -lt "$scale" ]
}
file_is() { printf '%s\r\n' "$1" | cmp -s - "$work/Kestrow.dat"; }
file_text() { tr -d '\r\n' <"$work/Kestrow.dat"; }
height() { "$drive" height; }
taller_than() { [ "$(height)" -gt "$1" ]; }
height_is() { [ "$(height)" -eq "$1" ]; }

# one_start PLACE LAST: a start, "Setup", "OK" (which saves PLACE, the texts
# the boxes show, as a short record), and closing: the last of three starts on
# X11 ends by SIGTERM, the others by the title bar's close box.
one_start() {
    start_kestrow
    if [ -n "$frame" ]; then
        # shellcheck disable=SC2086
        wait_for 5 frame_near $frame || fail "the window's frame is at $fx,$fy, not $frame"
    fi
    "$drive" wait $((15 * patience)) || fail "the window is not on the accessibility bus"
    local compact
    compact=$(height)
    "$drive" press Setup
    wait_for 5 taller_than "$compact" || fail "Setup did not expand the window"
    "$drive" press OK
    wait_for 5 file_is "$1" || fail "OK saved '$(file_text)', not '$1'"
    wait_for 5 height_is "$compact" || fail "the window did not become compact after OK"
    if [ "$platform" = wayland ] || [ "$2" = last ]; then end_session; else close_kestrow; fi
}

full='"48,85","2,35",1500,3000'  # top 100, left 200 pixels at 96 DPI
for start in full short none; do
    rm -f "$work/Kestrow.dat"
    case $start in
        full) place='"48,85","2,35"' && printf '%s\r\n' "$full" >"$work/Kestrow.dat" ;;
        short) place='"48,85","2,35"' && printf '%s\r\n' "$place" >"$work/Kestrow.dat" ;;
        none) place='"00,00","000,00"' ;;
    esac
    expected="" frame=""
    if [ "$start" = full ]; then
        expected=$full
        # The frame's outer corner in the screen's device pixels.
        [ "$platform" = x11 ] && frame="$((200 * scale)) $((100 * scale))"
    fi
    [ "$platform" = wayland ] && [ "$start" != full ] && expected=$place
    for run in first second last; do
        one_start "$place" "$run"
        if [ -z "$expected" ]; then
            # The window system's own place, as the window's frame stood.
            [[ "$(file_text)" =~ ^$place,[0-9]+,[0-9]+$ ]] ||
                fail "from $start, closing wrote '$(file_text)'"
            expected=$(file_text)
        fi
        file_is "$expected" ||
            fail "from $start, the $run close wrote '$(file_text)', not '$expected'"
    done
done

if grep -q '^kestrow:' "$work/stderr.txt"; then
    fail "the program reported: $(grep '^kestrow:' "$work/stderr.txt")"
fi
echo "$session: passed"
