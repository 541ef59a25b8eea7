#!/bin/bash
# End-to-end run of the kestrow binary under Xvfb with a small window
# manager (evilwm, which asks windows to close the cooperative way):
# first start without a settings file, "Setup", type a place under a French
# locale, "OK", close, then start again and find the window and place back.
#   kestrow_e2e.sh /path/to/kestrow
set -euo pipefail

kestrow=${1:?usage: kestrow_e2e.sh /path/to/kestrow}
kestrow=$(realpath "$kestrow")
session=kestrow_e2e
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
xdotool windowmove "$win" 300 200
wait_for 5 placed_at 300 200 || fail "the window did not move"
read_frame
close_kestrow
printf '"48,85","2,35",%d,%d\r\n' $((fy * 15)) $((fx * 15)) | cmp - "$work/Kestrow.dat" ||
    fail "full record is '$(od -c "$work/Kestrow.dat")', frame at $fx,$fy"

# Second start: back in place, compact, the boxes filled with the saved place.
start_kestrow
wait_for 5 placed_at 300 200 || fail "second start at $x,$y, not 300,200"
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
