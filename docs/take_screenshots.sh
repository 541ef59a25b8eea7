#!/bin/bash
# SPDX-License-Identifier: MIT
# Takes the screenshots in this folder: the compact and expanded main window
# and the About window under a window manager with title bars, at scale 2 and
# at scale 1 (files ending in -x1), each once in a light and once in a dark
# colour scheme (files with -dark).
#   docs/take_screenshots.sh build/ui/kestrow
# Needs xvfb, openbox, xdotool, imagemagick and qt6-gtk-platformtheme.
set -euo pipefail

kestrow=$(realpath "${1:?usage: take_screenshots.sh /path/to/kestrow}")
docs=$(cd "$(dirname "$0")" && pwd)

if [ -z "${KESTROW_SHOTS_DISPLAY:-}" ]; then
    KESTROW_SHOTS_DISPLAY=1 exec xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96" "$0" "$kestrow"
fi

work=$(mktemp -d)
pids=()
trap 'for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; rm -rf "$work"' EXIT
mkdir -m 700 "$work/runtime"
export XDG_RUNTIME_DIR="$work/runtime" HOME="$work"
openbox >/dev/null 2>&1 &
pids+=($!)

window() {
    local id=
    for _ in $(seq 100); do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1) && [ -n "$id" ] && break
        sleep 0.1
    done
    [ -n "$id" ] || { echo "take_screenshots.sh: no window $1" >&2; cat "$work/stderr.txt" >&2; exit 1; }
    echo "$id"
}

# shoot WINDOW FILE: the window with its title bar.
shoot() {
    sleep 1
    import -window "$1" -frame "$2"
}

# take SCALE SUFFIX [VARIABLE=VALUE...]: the three pictures, the program
# started at the scale with the variables given.
take() {
    local scale=$1 suffix=$2 main about pid
    shift 2
    # Paris, so that the almanac shows a place's real times.
    printf '"48.85","2.35",1500,1500\r\n' >"$work/Kestrow.dat"
    (cd "$work" && exec env LANG=fr_FR.UTF-8 QT_SCALE_FACTOR=$scale "$@" "$kestrow" 2>>"$work/stderr.txt") &
    pid=$!
    pids+=("$pid")
    main=$(window '^Kestrow')
    shoot "$main" "$docs/compact$suffix.png"
    # The menu entries "Setup" and "?", at the scale's place.
    xdotool mousemove --window "$main" $((15 * scale)) $((8 * scale)) click 1
    shoot "$main" "$docs/expanded$suffix.png"
    xdotool mousemove --window "$main" $((50 * scale)) $((8 * scale)) click 1
    about=$(window '^About Brem$')
    shoot "$about" "$docs/about$suffix.png"
    kill "$pid"
    wait "$pid" 2>/dev/null || true
}

for scale in 2 1; do
    suffix=""
    [ "$scale" = 2 ] || suffix="-x$scale"
    take "$scale" "$suffix"
    take "$scale" "-dark$suffix" QT_QPA_PLATFORMTHEME=gtk3 GTK_THEME=Adwaita:dark
done
