#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# One session of the real kestrow program under valgrind's memcheck, on a
# virtual X display: start, "Setup", type a place, "OK", "?", "OK", close.
# Fails on any memory error or definite leak outside the toolkit's own
# (tests/e2e/toolkit.supp).
#   valgrind-session.sh /path/to/kestrow
set -euo pipefail
root=$(cd "$(dirname "$(realpath "$0")")/.." && pwd)
kestrow=$(realpath "${1:?usage: valgrind-session.sh /path/to/kestrow}")
session=kestrow_valgrind
patience=10  # memcheck runs the program some twenty times slower
# shellcheck source=tests/e2e/x11_session.sh
source "$root/tests/e2e/x11_session.sh" "$@"
runner=(valgrind --tool=memcheck --leak-check=full --show-leak-kinds=definite
        --errors-for-leak-kinds=definite --num-callers=40
        --suppressions="$root/tests/e2e/toolkit.supp" --log-file="$work/valgrind.%p.txt")

start_wm
start_kestrow
read_geometry
compact=$h
click_at 15 8  # "Setup"
wait_for 5 height_above "$compact" || fail "Setup did not expand the window"
xdotool key ctrl+a
xdotool type --delay 100 48.85
xdotool key Tab Tab ctrl+a
xdotool type --delay 100 2.35
click_at 156 128  # "OK"
wait_for 10 test -s "$work/Kestrow.dat" || fail "OK wrote no settings file"
printf '"48,85","2,35"\r\n' | cmp -s - "$work/Kestrow.dat" || fail "OK wrote $(od -c "$work/Kestrow.dat")"

click_at 54 8  # "?"
wait_for 10 xdotool search --onlyvisible --name '^About Brem$' || fail "? showed no About window"
about=$(xdotool search --onlyvisible --name '^About Brem$' | head -n 1)
# "OK" of the About window: Command1 at (1200, 3240) twips, 855 x 375.
xdotool mousemove --window "$about" 108 228
sleep 1
xdotool click 1
wait_for 10 bash -c "! xdotool search --onlyvisible --name '^About Brem$'" ||
    fail "OK did not close the About window"
close_kestrow
grep -q '"48,85","2,35",' "$work/Kestrow.dat" || fail "closing wrote $(od -c "$work/Kestrow.dat")"

shopt -s nullglob
logs=("$work"/valgrind.*.txt)
[ ${#logs[@]} -gt 0 ] || fail "valgrind wrote no log"
status=0
for log in "${logs[@]}"; do
    grep -q 'ERROR SUMMARY: 0 errors' "$log" || { cat "$log" >&2; status=1; }
done
[ "$status" -eq 0 ] || fail "memcheck found errors (logs above)"
grep -h -E 'ERROR SUMMARY|definitely lost|in use at exit' "${logs[@]}"
echo "$session: passed"
echo "valgrind: 1 passed, 0 failed"
