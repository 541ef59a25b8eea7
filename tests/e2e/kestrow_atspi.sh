#!/bin/bash
# SPDX-License-Identifier: MIT
# The real program as a screen reader sees it: the accessibility bus and
# registry on the session's bus, the program with its accessibility bridge
# on, and a client (pyatspi, through atspi.py) that checks the names, roles,
# states and actions of the controls, then opens the site through the
# link's own action.
#   kestrow_atspi.sh /path/to/kestrow
set -euo pipefail

here=$(dirname "$(realpath "$0")")
# shellcheck source=tests/e2e/x11_session.sh
source "$here/x11_session.sh" "$@"

start_wm
fake_opener
start_atspi
start_kestrow
app=$(basename "$kestrow")

# show_has ROLE NAME LINE: the node's description holds that line.
show_has() {
    local shown
    shown=$(atspi show "$app" "$1" "$2") || fail "no $1 named '$2'"
    grep -qxF -- "$3" <<<"$shown" || fail "$1 '$2' lacks '$3': $shown"
}
show_has text Latitude "description: Sud = negative"
show_has text Longitude "description: Ouest = negative"
show_has "push button" OK "actions: Press"
grep -q '^states: .*is default' <<<"$(atspi show "$app" "push button" OK)" ||
    fail "OK is not the default button"
show_has "menu item" Setup "keys: Alt+S"
show_has "menu item" "?" "keys: F1"

# The four values, each named after what it holds.
atspi tree "$app" >"$work/tree.txt"
for value in "Sunrise [0-9]+ h [0-9]{2}" "Sunset [0-9]+ h [0-9]{2}" \
    "Length of day [0-9]+ h [0-9]{2}" "Change since yesterday [-+] [0-9]+ (mn|s)"; do
    grep -qE "^ *label: $value\$" "$work/tree.txt" || fail "no label '$value' in: $(cat "$work/tree.txt")"
done

# Clipped out of the compact window, the coordinate frame is not offered, and
# what is done to it through the bus changes nothing. Setup offers it again.
states_of() { atspi show "$app" "$@" | grep '^states: ' || echo "no such node"; }
not_showing() { ! grep -qE '\b(showing|visible|no such node)\b' <<<"$(states_of "$@")"; }
for control in "text Latitude" "push button OK" "panel Degrés décimaux"; do
    read -r role name <<<"${control/push button/push_button}"
    not_showing "${role/_/ }" "$name" || fail "$control is offered while compact: $(states_of "${role/_/ }" "$name")"
done
atspi settext "$app" text Latitude -12.34 || true
atspi act "$app" "push button" OK Press || true
sleep 0.5  # nothing is to happen: give it the time to happen if it would
[ ! -e "$work/Kestrow.dat" ] || fail "a hidden OK saved '$(od -c "$work/Kestrow.dat")'"
atspi act "$app" "menu item" Setup || fail "the menu entry Setup has no action"
offered() { grep -qE '\bshowing\b' <<<"$(states_of text Latitude)"; }
wait_for 5 offered || fail "Setup did not offer the latitude: $(atspi show "$app" text Latitude)"

# Enter saves, and the focus lands where a screen reader speaks the new times.
atspi settext "$app" text Latitude -33.9 || fail "the latitude took no text after Setup"
xdotool key Return
wait_for 10 test -e "$work/Kestrow.dat" || fail "Enter saved nothing"
sunrise=$(atspi tree "$app" | grep -oE 'label: Sunrise [0-9]+ h [0-9]{2}$' | head -n 1)
focused=$(atspi focused "$app") || fail "nothing is focused after a save"
grep -qE "^(name|description): .*${sunrise#label: }" <<<"$focused" && grep -q 'Sunset ' <<<"$focused" ||
    fail "the focus after a save says '$focused', not '${sunrise#label: }'"

# The About window, opened through the menu entry's own action.
atspi act "$app" "menu item" "?" || fail "the menu entry ? has no action"
show_has dialog "About Brem" "role: dialog"
for link in "Write to kestrow@example.org" "Open kestrow.example.org" "Donate"; do
    show_has link "$link" "actions: Press SetFocus"
done
atspi tree "$app" >"$work/tree.txt"
if grep -qE '^ *image: *$' "$work/tree.txt"; then
    fail "a picture has no name: $(cat "$work/tree.txt")"
fi

atspi act "$app" link "Open kestrow.example.org" Press
wait_for 10 opened "http://kestrow.example.org/" ||
    fail "the site link's action opened '$(cat "$work/opened.txt" 2>/dev/null)'"

close_kestrow
echo "$session: passed"
