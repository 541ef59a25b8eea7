#!/bin/bash
# SPDX-License-Identifier: MIT
# End-to-end run of the kestrow binary under Xvfb with a window manager that
# draws title bars (openbox, asked to close windows the cooperative way):
# first start without a settings file, "Setup", type a place under a French
# locale, "OK", close, then start again and find the window and place back.
#   kestrow_e2e.sh /path/to/kestrow
set -euo pipefail

# shellcheck source=tests/e2e/x11_session.sh
source "$(dirname "$(realpath "$0")")/x11_session.sh" "$@"

start_wm

# First start, no settings file: a compact window titled with today's date.
start_kestrow
title=$(xdotool getwindowname "$win")
[[ "$title" =~ ^Kestrow\ \ [0-9]{2}/[0-9]{2}/[0-9]{4}$ ]] || fail "title is '$title'"
read_geometry
compact=$h
[ "$w" -eq 189 ] || fail "width is $w pixels, not 2835 twips"

save_place 48.85 2.35
wait_for 5 test -s "$work/Kestrow.dat" || fail "OK wrote no settings file"
printf '"48,85","2,35"\r\n' | cmp - "$work/Kestrow.dat" ||
    fail "short record is '$(od -c "$work/Kestrow.dat")'"
wait_for 5 height_is "$compact" || fail "the window did not become compact after OK"

# Move it, close it: the full record holds the outer frame's top and left.
read_frame
xdotool windowmove "$win" 300 200
wait_for 5 moved_from "$fx" "$fy" || fail "the window did not move"
wait_for 10 settled || fail "the window did not settle after moving"
read_frame
moved_x=$fx moved_y=$fy
close_kestrow
printf '"48,85","2,35",%d,%d\r\n' $((fy * 15)) $((fx * 15)) | cmp - "$work/Kestrow.dat" ||
    fail "full record is '$(od -c "$work/Kestrow.dat")', frame at $fx,$fy"

# Second start: back in place, compact, the boxes filled with the saved place.
start_kestrow
wait_for 5 frame_at "$moved_x" "$moved_y" || fail "second start at $fx,$fy, not $moved_x,$moved_y"
read_geometry
[ "$h" -eq "$compact" ] || fail "second start is $h pixels high, not $compact"
close_kestrow
# What closing saves is what the boxes show.
printf '"48,85","2,35",%d,%d\r\n' $((fy * 15)) $((fx * 15)) | cmp - "$work/Kestrow.dat" ||
    fail "after the second start the record is '$(od -c "$work/Kestrow.dat")'"

if grep -q '^kestrow:' "$work/stderr.txt"; then
    fail "the program reported: $(grep '^kestrow:' "$work/stderr.txt")"
fi
echo "kestrow_e2e: passed"
