#!/bin/bash
# SPDX-License-Identifier: MIT
# The two clocks in Adelaide (TZ=Australia/Adelaide, half an hour off the
# whole hours, with summer time): with --local-time the window shows sunrise
# and sunset on that zone's clock, as `date` reads the UT times kestrow-table
# prints; without it, UT plus one hour as ever. Length and change are alike.
# Then the precise method in Tromsø and Reykjavik, against PyEphem.
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

# --precise as the desktop menu starts it, on dates set with libfaketime: Tromsø
# in its polar night, Reykjavik with its sunset after midnight. PyEphem gives
# sunrise|sunset as a screen reader should get them (no atmosphere, the sun's
# upper edge at -0:34), rounded to the minute, a later day in words.
ephem_events() {
    /usr/bin/python3 - "$@" <<'EOF'
import datetime as dt, sys, zoneinfo, ephem
lat, lon, date, zone = sys.argv[1:]
obs, sun, tz, day = ephem.Observer(), ephem.Sun(), zoneinfo.ZoneInfo(zone), dt.date.fromisoformat(date)
obs.lat, obs.lon, obs.pressure, obs.horizon = lat, lon, 0, "-0:34"
obs.date = dt.datetime.combine(day, dt.time(), tz).astimezone(dt.timezone.utc).replace(tzinfo=None)
def shown(t):
    t = t.datetime().replace(tzinfo=dt.timezone.utc).astimezone(tz) + dt.timedelta(seconds=30)
    return "%d h %02d" % (t.hour, t.minute) + ("" if t.date() == day else ", le lendemain")
try:
    rise = obs.next_rising(sun)
    print(shown(rise) + "|" + shown(obs.next_setting(sun, start=rise)))
except ephem.NeverUpError:
    print("Nuit polaire|Nuit polaire")
EOF
}
# ink NAME: the width of what the label NAME draws inside its border, cut to $work/NAME.png.
ink() {
    read -r x y w h < <(atspi box "$app" label "$1") || fail "no label '$1'"
    convert "$work/shot.png" -crop "${w}x$h+$x+$y" +repage -shave 2x2 "$work/$1.png"
    convert "$work/$1.png" -fuzz 30% -trim -format %w info:
}
app=$(basename "$kestrow")
kestrow_args=(--local-time --precise)
# Font caches of its own: one written on a faked date would leave the system's
# stale for the programs that come after, on the real one.
printf '<?xml version="1.0"?>\n<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig><cachedir>%s</cachedir><include>/etc/fonts/fonts.conf</include></fontconfig>\n' \
    "$work/font-cache" >"$work/fonts.conf"
for run in "69,65|18,96|Europe/Oslo|2026-12-21|Nuit polaire" \
    "64,15|-21,94|Atlantic/Reykjavik|2026-06-21|, le lendemain"; do
    IFS='|' read -r lat lon zone date sure <<<"$run"
    IFS='|' read -r rise set < <(ephem_events "${lat/,/.}" "${lon/,/.}" "$date" "$zone")
    [[ "$set" == *"$sure" ]] || fail "PyEphem gives $rise|$set in $zone on $date"
    printf '"%s","%s"\r\n' "$lat" "$lon" >"$work/Kestrow.dat"
    kestrow_env=(TZ="$zone" FAKETIME="@$date 12:00:00" DONT_FAKE_MONOTONIC=1 FONTCONFIG_FILE="$work/fonts.conf"
        LD_PRELOAD=/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1)
    start_kestrow
    wait_for 15 test "$(shown | cut -d'|' -f1-2)" = "$rise|$set" ||
        fail "--precise in $zone on $date shows $(shown), not $rise|$set"
    # Drawn: the same words in both places, or a mark beside the sunset's time.
    import -window root "$work/shot.png"
    if [ "$rise" = "$set" ]; then
        ink "Sunrise $rise" >/dev/null && ink "Sunset $set" >/dev/null
        [ "$(compare -metric AE "$work/Sunrise $rise.png" "$work/Sunset $set.png" null: 2>&1)" = 0 ]
    else
        [ "$(ink "Sunset $set")" -gt "$(ink "Sunrise $rise")" ]
    fi || fail "--precise in $zone on $date does not draw $rise|$set"
    close_kestrow
done
echo "$session: passed"
