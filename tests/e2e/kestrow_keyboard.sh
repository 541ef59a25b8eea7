#!/bin/bash
# SPDX-License-Identifier: MIT
# The real program driven from the keyboard alone (xdotool key and type),
# under Xvfb and openbox: stray keys in the compact window change nothing,
# Alt+S opens the coordinate frame, Enter saves a typed place, F1 opens the
# About window, Tab and Enter open the site, Escape closes it.
#   kestrow_keyboard.sh /path/to/kestrow
set -euo pipefail

# shellcheck source=tests/e2e/x11_session.sh
source "$(dirname "$(realpath "$0")")/x11_session.sh" "$@"

start_wm
fake_opener
place='"48,85","2,35",'
printf '%s600,975\r\n' "$place" >"$work/Kestrow.dat"

# Keys typed into the compact window, where the frame is out of view, must
# not reach a box: closing saves the place the file held.
start_kestrow
wait_for 10 active_is "$win" || fail "the window did not get the keyboard"
read_geometry
compact=$h
xdotool key --delay 50 BackSpace BackSpace BackSpace BackSpace 1 2 Tab 3 Tab period Return
sleep 0.5  # nothing is to happen: give it the time to happen if it would
close_kestrow
grep -q "^$place" "$work/Kestrow.dat" ||
    fail "stray keys changed the place: '$(od -c "$work/Kestrow.dat")'"

# Alt+S opens the frame with the focus in the latitude box.
start_kestrow
wait_for 10 active_is "$win" || fail "the window did not get the keyboard"
xdotool key alt+s
wait_for 5 height_above "$compact" || fail "Alt+S did not expand the window"
xdotool key ctrl+a
xdotool type --delay 50 -- -33.9
xdotool key Tab Tab ctrl+a
xdotool type --delay 50 151.2
xdotool key Return
wait_for 5 bash -c "printf '\"-33,9\",\"151,2\"\r\n' | cmp -s - '$work/Kestrow.dat'" ||
    fail "Enter saved '$(od -c "$work/Kestrow.dat")'"
wait_for 5 height_is "$compact" || fail "the window did not become compact after Enter"

# F1 opens About with the focus on OK; Tab thrice reaches the site link.
xdotool key F1
wait_for 10 xdotool search --onlyvisible --name '^About Brem$' || fail "F1 showed no About window"
about=$(xdotool search --onlyvisible --name '^About Brem$' | head -n 1)
wait_for 10 active_is "$about" || fail "the About window did not get the keyboard"
xdotool key --delay 100 Tab Tab Tab Return
wait_for 10 opened "http://kestrow.example.org/" ||
    fail "Tab and Enter opened '$(cat "$work/opened.txt" 2>/dev/null)'"
xdotool key Escape
wait_for 10 bash -c "! xdotool search --onlyvisible --name '^About Brem$'" ||
    fail "Escape did not close the About window"

close_kestrow
grep -q '^"-33,9","151,2",' "$work/Kestrow.dat" || fail "closing wrote '$(od -c "$work/Kestrow.dat")'"
if grep -q '^kestrow:' "$work/stderr.txt"; then
    fail "the program reported: $(grep '^kestrow:' "$work/stderr.txt")"
fi
echo "$session: passed"
