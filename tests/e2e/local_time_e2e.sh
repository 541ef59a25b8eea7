#!/bin/bash
# SPDX-License-Identifier: MIT
# The two clocks in Adelaide (TZ=Australia/Adelaide, half an hour off the
# whole hours, with summer time): started with --local-time, the window shows
# sunrise and sunset on that zone's clock, as `date` reads the UT times that
# kestrow-table prints; started without it, UT plus one hour, as ever. The
# length of day and its change are the same on both.
#   local_time_e2e.sh /path/to/kestrow /path/to/kestrow-table
set -euo pipefail

table=$(realpath "${2:?usage: local_time_e2e.sh /path/to/kestrow /path/to/kestrow-table}")
# shellcheck source=tests/e2e/x11_session.sh
source "$(dirname "$(realpath "$0")")/x11_session.sh" "$@"

export TZ=Australia/Adelaide
printf '"-34,93","138,6"\r\n' >"$work/Kestrow.dat"
start_wm
start_atspi

# The window's four values, a line each: sunrise, sunset, length, change.
shown() {
    atspi tree "$(basename "$kestrow")" |
        sed -nE 's/^ *label: (Sunrise|Sunset|Length of day|Change since yesterday) //p'
}
# clock UT_CLOCK DATE: the zone's clock at that UT time of day, on the UT day
# that puts it on the local DATE.
clock() {
    local k
    for k in -1 0 1; do
        if [ "$(date -d "$2 $1 UTC $k day" +%F)" = "$2" ]; then
            date -d "$2 $1 UTC $k day" '+%-H h %M'
            return
        fi
    done
    fail "no UT day puts $1 on $2"
}

IFS=$'\t' read -r day rise_ut set_ut _ _ length change _ < <(
    "$table" --lat -34.93 --lon 138.6 | tail -n 1)
local_clock=$(printf '%s\n' "$(clock "$rise_ut" "$day")" "$(clock "$set_ut" "$day")" \
    "$length" "$change")
fixed_clock=$(printf '%s\n' "$(date -u -d "$rise_ut UTC 1 hour" '+%-H h %M')" \
    "$(date -u -d "$set_ut UTC 1 hour" '+%-H h %M')" "$length" "$change")
[ "$local_clock" != "$fixed_clock" ] || fail "the two clocks agree: $local_clock"

for clock_option in --local-time ""; do
    kestrow_args=()
    expected=$fixed_clock
    if [ -n "$clock_option" ]; then
        kestrow_args=("$clock_option")
        expected=$local_clock
    fi
    start_kestrow
    wait_for 15 test -n "$(shown)" || fail "no values on the accessibility bus"
    [ "$(shown)" = "$expected" ] ||
        fail "${clock_option:-a plain start} shows $(shown | paste -sd '|'), not $(paste -sd '|' <<<"$expected")"
    close_kestrow
done
echo "$session: passed"
