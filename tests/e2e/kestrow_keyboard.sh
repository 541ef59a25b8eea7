#!/bin/bash
# SPDX-License-Identifier: MIT
# The real program driven from the keyboard alone (xdotool key and type),
# under Xvfb and openbox: stray keys in the compact window change nothing,
# Alt+S opens the coordinate frame, Enter saves a typed place (corrected in
# the middle, one edit undone), F1 opens the
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

# saves_after KEYS... RECORD: Alt+S, the keys (a word with a dot is typed,
# others pressed), then Enter saves RECORD and makes the window compact again.
saves_after() {
    local record=${*: -1} key
    xdotool key alt+s
    wait_for 5 height_above "$compact" || fail "Alt+S did not expand the window"
    for key in "${@:1:$#-1}"; do
        if [[ $key == *.* ]]; then xdotool type --delay 50 -- "$key"; else xdotool key --delay 50 "$key"; fi
    done
    xdotool key Return
    wait_for 5 bash -c "printf '%s\r\n' '$record' | cmp -s - '$work/Kestrow.dat'" ||
        fail "after $*, Enter saved '$(od -c "$work/Kestrow.dat")'"
    wait_for 5 height_is "$compact" || fail "the window did not become compact after Enter"
}

# Alt+S opens the frame with the latitude selected, so typing replaces it; a
# point typed becomes the locale's comma. A correction in the middle stays
# where it was typed, and Ctrl+Z undoes only the last edit.
start_kestrow
wait_for 10 active_is "$win" || fail "the window did not get the keyboard"
saves_after 48.85 Tab Tab 2.35 '"48,85","2,35"'
saves_after Home Right Right BackSpace 7 '"47,85","2,35"'
saves_after End 9 Tab Tab 3 ctrl+z '"47,859","2,35"'

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
grep -q '^"47,859","2,35",' "$work/Kestrow.dat" || fail "closing wrote '$(od -c "$work/Kestrow.dat")'"
if grep -q '^kestrow:' "$work/stderr.txt"; then
    fail "the program reported: $(grep '^kestrow:' "$work/stderr.txt")"
fi
echo "$session: passed"
