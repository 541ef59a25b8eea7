#!/bin/bash
# End-to-end run of the kestrow binary under Xvfb with a small window
# manager (evilwm, which asks windows to close the cooperative way):
# first start without a settings file, "Setup", type a place under a French
# locale, "OK", close, then start again and find the window and place back.
#   kestrow_e2e.sh /path/to/kestrow
set -euo pipefail

kestrow=${1:?usage: kestrow_e2e.sh /path/to/kestrow}
kestrow=$(realpath "$kestrow")

fail() {
    echo "kestrow_e2e: FAIL: $*" >&2
    exit 1
}

for tool in xvfb-run Xvfb xdotool evilwm xwininfo xprop; do
    command -v "$tool" >/dev/null ||
        fail "$tool is missing (Debian packages: xvfb xauth xdotool evilwm x11-utils)"
done

if [ -z "${KESTROW_E2E_DISPLAY:-}" ]; then
    # 96 DPI: 15 twips to a pixel, as the positions below assume.
    KESTROW_E2E_DISPLAY=1 exec xvfb-run -a -s "-screen 0 1280x800x24 -dpi 96" "$0" "$kestrow"
fi

work=$(mktemp -d)
wm_pid=
app_pid=
cleanup() {
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
    [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# wait_for SECONDS COMMAND...: retries the command until it succeeds.
wait_for() {
    local tries=$(($1 * 10))
    shift
    while ! "$@" >/dev/null 2>&1; do
        tries=$((tries - 1))
        [ "$tries" -gt 0 ] || return 1
        sleep 0.1
    done
}

start_kestrow() {
    (cd "$work" && exec env -u LC_ALL -u LC_NUMERIC -u LANGUAGE -u QT_QPA_PLATFORM LANG=fr_FR.UTF-8 \
        "$kestrow" 2>>"$work/stderr.txt") &
    app_pid=$!
    wait_for 15 xdotool search --onlyvisible --name '^Kestrow' || fail "no Kestrow window"
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
    # Ctrl+Alt+Escape: evilwm sends the window under the pointer a close request.
    xdotool mousemove --window "$win" 20 20
    sleep 0.3
    xdotool key ctrl+alt+Escape
    local code=0
    wait_for 10 bash -c "! kill -0 $app_pid" || fail "the program did not end on closing"
    wait "$app_pid" || code=$?
    app_pid=
    [ "$code" -eq 0 ] || fail "the program ended with status $code"
}

# click_at X Y: a left click at a place in the window's client area. The
# pointer rests first, so that the window manager has focused the window.
click_at() {
    xdotool mousemove --window "$win" "$1" "$2"
    sleep 0.5
    xdotool click 1
}

height_is() { read_geometry; [ "$h" -eq "$1" ]; }
height_above() { read_geometry; [ "$h" -gt "$1" ]; }
placed_at() { read_geometry; [ "$x" -eq "$1" ] && [ "$y" -eq "$2" ]; }

evilwm -fn fixed >"$work/wm.txt" 2>&1 &
wm_pid=$!
wait_for 10 bash -c "xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'" ||
    fail "the window manager did not start: $(cat "$work/wm.txt")"

# First start, no settings file: a compact window titled with today's date.
start_kestrow
title=$(xdotool getwindowname "$win")
[[ "$title" =~ ^Kestrow\ \ [0-9]{2}/[0-9]{2}/[0-9]{4}$ ]] || fail "title is '$title'"
read_geometry
compact=$h
[ "$w" -eq 189 ] || fail "width is $w pixels, not 2835 twips"

# "Setup" is the first entry of the menu bar, at the window's top-left.
click_at 15 8
wait_for 5 height_above "$compact" || fail "Setup did not expand the window"

# The focus starts in the latitude box; Tab twice reaches the longitude box.
xdotool key ctrl+a
xdotool type --delay 50 48.85
xdotool key Tab Tab ctrl+a
xdotool type --delay 50 2.35
sleep 0.3
# "OK": Frame1 at (120, 1080) twips, the button at (1920, 360) in it, 615 x 375.
# 156 = (120 + 1920 + 300) / 15; 128 = (1080 + 360 + 180) / 15 + a 20-pixel menu
# bar, inside the button for any menu bar from 8 to 32 pixels high.
click_at 156 128
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
