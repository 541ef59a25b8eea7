#!/bin/bash
# SPDX-License-Identifier: MIT
# The two clocks in Adelaide (TZ=Australia/Adelaide, half an hour off the
# whole hours, with summer time): with --local-time the window shows sunrise
# and sunset on that zone's clock, as `date` reads the UT times kestrow-table
# prints; without it, UT plus one hour as ever. Length and change are alike.
#   local_time_e2e.sh /path/to/kestrow /path/to/kestrow-table
set -euo pipefail

table=$(realpath "${2:?usage: local_time_e2e.sh /path/to/kestrow /path/to/kestrow-table}")
# shellcheck source=tests/e2e/x11_session.sh
source "$(dirname "$(realpath "$0")")/x11_session.sh" "$@"
export TZ=Australia/Adelaide
printf '"-34,93","138,6"\r\n' >"$work/Kestrow.dat"
start_wm
start_atspi

IFS=$'\t' read -r day rise set _ _ length change _ < <("$table" --lat -34.93 --lon 138.6 | tail -n 1)
# On the zone's clock: the UT time on whichever UT day puts it on the local day.
on_zone() { for k in -1 0 1; do date -d "$day $1 UTC $k day" '+%F %-H h %M'; done | sed -n "s/^$day //p"; }
# The window's four values, as a screen reader reads them: rise|set|length|change.
shown() {
    atspi tree "$(basename "$kestrow")" | paste -sd '|' |
        sed -E 's/.*label: Sunrise ([^|]*).*label: Sunset ([^|]*).*label: Length of day ([^|]*).*label: Change since yesterday ([^|]*).*/\1|\2|\3|\4/;t;d'
}
plus_one() { date -u -d "$1 UTC 1 hour" '+%-H h %M'; }
for start in "--local-time|$(on_zone "$rise")|$(on_zone "$set")" "|$(plus_one "$rise")|$(plus_one "$set")"; do
    IFS='|' read -r option want_rise want_set <<<"$start"
    kestrow_args=(${option:+"$option"})
    start_kestrow
    wait_for 15 test -n "$(shown)" || fail "no values on the accessibility bus"
    [ "$(shown)" = "$want_rise|$want_set|$length|$change" ] ||
        fail "${option:-a plain start} shows $(shown), not $want_rise|$want_set|$length|$change"
    close_kestrow
done
[ "$(on_zone "$rise")" != "$(plus_one "$rise")" ] || fail "the two clocks agree on $rise"
echo "$session: passed"
