#!/bin/bash
# Takes the screenshots in this folder: the compact and expanded main window
# and the About window, on a virtual display with no window manager.
#   docs/take_screenshots.sh build/ui/kestrow
# Needs xvfb, xdotool and imagemagick.
set -euo pipefail

kestrow=$(realpath "${1:?usage: take_screenshots.sh /path/to/kestrow}")
docs=$(cd "$(dirname "$0")" && pwd)

if [ -z "${KESTROW_SHOTS_DISPLAY:-}" ]; then
    KESTROW_SHOTS_DISPLAY=1 exec xvfb-run -a -s "-screen 0 800x600x24 -dpi 96" "$0" "$kestrow"
fi

work=$(mktemp -d)
trap 'kill $pid 2>/dev/null || true; rm -rf "$work"' EXIT
# Paris, so that the almanac shows a place's real times.
printf '"48.85","2.35",0,0\r\n' >"$work/Kestrow.dat"
(cd "$work" && exec env LANG=fr_FR.UTF-8 "$kestrow") &
pid=$!

window() {
    local id=
    for _ in $(seq 50); do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1) && [ -n "$id" ] && break
        sleep 0.1
    done
    echo "$id"
}

# shoot WINDOW FILE: the screen cut to the window.
shoot() {
    sleep 0.5
    eval "$(xdotool getwindowgeometry --shell "$1" | grep -E '^(X|Y|WIDTH|HEIGHT)=')"
    import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$2"
}

main=$(window '^Kestrow')
shoot "$main" "$docs/compact.png"
xdotool mousemove --window "$main" 15 8 click 1
shoot "$main" "$docs/expanded.png"
xdotool mousemove --window "$main" 55 8 click 1
about=$(window '^About Brem$')
shoot "$about" "$docs/about.png"
