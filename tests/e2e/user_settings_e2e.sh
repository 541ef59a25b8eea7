#!/bin/bash
# SPDX-License-Identifier: MIT
# The program as the desktop menu starts it: the entry's Exec line with HOME
# and XDG_CONFIG_HOME in a scratch folder. A place saved there lands in the
# configuration folder and nowhere in the home folder; a second start on the
# same settings opens no second window and leaves the first working; after
# the first is killed, the next start opens its window again.
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
kestrow_env=(HOME="$home" XDG_CONFIG_HOME="$config" XDG_RUNTIME_DIR="$work/runtime")
saved=$config/kestrow/Kestrow.dat

start_wm
start_kestrow
read_geometry
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
found=$(find "$home" "$work" -maxdepth 1 -name Kestrow.dat)
[ -z "$found" ] || fail "a settings file outside the configuration folder: $found"
if grep -q '^kestrow:' "$work/stderr.txt"; then
    fail "the program reported: $(grep '^kestrow:' "$work/stderr.txt")"
fi
echo "user_settings_e2e: passed"
