#!/bin/bash
# SPDX-License-Identifier: MIT
# The program as the desktop menu starts it: the entry's Exec line with HOME
# and XDG_CONFIG_HOME in a scratch folder. A place saved there lands in the
# configuration folder and nowhere in the home folder; a second start on the
# same settings opens no second window and leaves the first working; after
# the first is killed, the next start opens its window again. Then first
# starts, keyboard only: the time zone's city offered, Escape, Enter.
#   user_settings_e2e.sh /path/to/kestrow /path/to/kestrow.desktop
set -euo pipefail

kestrow=${1:?usage: user_settings_e2e.sh /path/to/kestrow /path/to/kestrow.desktop}
kestrow=$(realpath "$kestrow")
desktop=${2:?usage: user_settings_e2e.sh /path/to/kestrow /path/to/kestrow.desktop}
session=user_settings_e2e
# shellcheck source=tests/e2e/x11_session.sh
source "$(dirname "$(realpath "$0")")/x11_session.sh" "$@"

read -ra exec_line <<<"$(sed -n 's/^Exec=//p' "$desktop")"
[ "${exec_line[0]:-}" = kestrow ] || fail "the desktop entry runs '${exec_line[*]}'"
kestrow_args=("${exec_line[@]:1}")
home=$work/home
config=$work/config
mkdir -p "$home"
mkdir -m 0700 "$work/runtime"
kestrow_env=(HOME="$home" XDG_CONFIG_HOME="$config" XDG_RUNTIME_DIR="$work/runtime" TZ=UTC)
saved=$config/kestrow/Kestrow.dat
height_below() { read_geometry; [ "$h" -lt "$1" ]; }

start_wm
start_kestrow
# A first start: Setup is shown; Escape leaves it.
read_geometry
expanded=$h
wait_for 10 active_is "$win" || fail "the window did not get the keyboard"
xdotool key Escape
wait_for 5 height_below "$expanded" || fail "Escape did not make the window compact"
compact=$h
[ ! -e "$config" ] || fail "the configuration folder was made before any save"

save_place 48.85 2.35
wait_for 5 test -s "$saved" || fail "OK wrote nothing to $saved"
printf '"48,85","2,35"\r\n' | cmp - "$saved" || fail "saved '$(od -c "$saved")'"
wait_for 5 height_is "$compact" || fail "the window did not become compact after OK"

# A second start on the same settings: it ends at once, and no window is added.
code=0
(cd "$work" && env "${kestrow_env[@]}" timeout 30 "$kestrow" "${kestrow_args[@]}") || code=$?
[ "$code" -eq 0 ] || fail "the second start ended with status $code"
windows=$(xdotool search --onlyvisible --name '^Kestrow' | wc -l)
[ "$windows" -eq 1 ] || fail "$windows Kestrow windows after the second start"
click_at 15 8
wait_for 5 height_above "$compact" || fail "the first window no longer expands on Setup"

# A crashed window must not block the next start.
kill -KILL "$app_pid"
wait "$app_pid" 2>/dev/null || true
app_pid=
wait_for 10 bash -c "! xdotool search --onlyvisible --name '^Kestrow'" ||
    fail "the killed window stayed"
start_kestrow
close_kestrow
left=$(ls -A "$work/runtime")
[ -z "$left" ] || fail "left behind in the runtime folder: $left"

[ -s "$saved" ] || fail "no settings file in $config/kestrow"

# zone_record ZONE: the zone's city as the French boxes show it, from the
# system's own table (ISO 6709: +DDMM[SS]+DDDMM[SS]).
zone_record() {
    awk -F'\t' -v zone="$1" 'function degrees(t, n,   v) {
            v = substr(t, 2, n) + substr(t, n + 2, 2) / 60 + substr(t, n + 4, 2) / 3600
            return sprintf("%.2f", substr(t, 1, 1) == "-" ? -v : v)
        }
        $3 == zone { at = match(substr($2, 2), /[+-]/) + 1
            printf "\"%s\",\"%s\"\n", degrees(substr($2, 1, at - 1), 2), degrees(substr($2, at), 3) }
        ' /usr/share/zoneinfo/zone1970.tab | tr . ,
}

# first_start ZONE LANG [TYPED]: a fresh configuration folder; the window opens
# with Setup shown and nothing written; TYPED goes over the selected latitude.
first_start() {
    rm -rf "$config"
    kestrow_env=(HOME="$home" XDG_CONFIG_HOME="$config" XDG_RUNTIME_DIR="$work/runtime" TZ="$1" LANG="$2")
    start_kestrow
    wait_for 10 active_is "$win" && height_is "$expanded" || fail "TZ=$1: Setup not shown"
    [ ! -e "$saved" ] || fail "TZ=$1: the first start wrote $saved"
    [ -n "${3:-}" ] || return 0
    # A character outside the keyboard's map is typed through a key that
    # xdotool maps to it on the spot; a client that has not yet taken in the
    # first change of its map reads that key as nothing. A key that types
    # nothing (F20, outside the map too) takes that first change first.
    if LC_ALL=C grep -q '[^ -~]' <<<"$3"; then
        xdotool key F20
        sleep 0.5
    fi
    xdotool type --delay 100 "$3"
}

paris=$(zone_record Europe/Paris)
first_start Europe/Paris fr_FR.UTF-8 12
xdotool key Escape
wait_for 5 height_is "$compact" || fail "Escape did not leave Setup"
close_kestrow
grep -q "^$paris," "$saved" || fail "closing after Escape wrote '$(cat "$saved")', not $paris"
# Enter saves the place offered, or typed: Persian digits as ASCII ones.
for row in "Europe/Paris fr_FR.UTF-8 - $paris" "UTC fr_FR.UTF-8 - \"00,00\",\"000,00\"" \
    "America/New_York fr_FR.UTF-8 - $(zone_record America/New_York)" \
    'UTC fa_IR.UTF-8 35.68 "35.68","000,00"' 'UTC fa_IR.UTF-8 ۳۵.۶۸ "35.68","000,00"'; do
    read -r zone lang typed record <<<"$row"
    first_start "$zone" "$lang" "${typed#-}"
    xdotool key Return
    wait_for 5 bash -c "printf '%s\r\n' '$record' | cmp -s - '$saved'" ||
        fail "TZ=$zone LANG=$lang, $typed typed: Enter saved '$(cat "$saved" 2>/dev/null)'"
    close_kestrow
done
found=$(find "$home" "$work" -maxdepth 1 -name Kestrow.dat)
[ -z "$found" ] || fail "a settings file outside the configuration folder: $found"
if grep -q '^kestrow:' "$work/stderr.txt"; then
    fail "the program reported: $(grep '^kestrow:' "$work/stderr.txt")"
fi
echo "user_settings_e2e: passed"
