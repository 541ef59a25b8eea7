# SPDX-License-Identifier: MIT
# The table tests' references: Python's csv and json, and PyEphem (no refraction, the sun's centre).
#   formats TSV CSV JSON: "agree" when the three files hold the same table
#   ephem LAT LON HEIGHT < TSV on UT+1: the worst gap in seconds, and the fields or states that differ
#   place SECONDS: a longitude where the sun sets at latitude 0 that many seconds on, and that instant
import csv, datetime as dt, ephem, json, math, sys, time

mode, args = sys.argv[1], sys.argv[2:]
o, sun, utc = ephem.Observer(), ephem.Sun(), dt.timezone.utc
o.pressure = 0
if mode == "formats":
    tsv = [line.split("\t") for line in open(args[0]).read().splitlines()]
    rows = list(csv.reader(open(args[1], newline="")))
    objects = json.load(open(args[2]))
    texts = [["" if v is None else str(v) for v in x.values()] for x in objects]
    typed = all(type(x[k]) is int and list(x) == tsv[0] for x in objects for k in ("length_s", "change_s"))
    print("agree" if rows == tsv and texts == tsv[1:] and typed else "differ")
elif mode == "ephem":
    o.lat, o.lon = args[0], args[1]
    limits = (("sunrise", "sunset", -50 / 60 - 1.76 * math.sqrt(float(args[2])) / 60),
              ("civil_dawn", "civil_dusk", -6), ("nautical_dawn", "nautical_dusk", -12),
              ("astronomical_dawn", "astronomical_dusk", -18))

    def first(find, t):  # PyEphem searches one turn of the hour angle: half a day later too
        found = []
        for u in (t, t + 0.5):
            try:
                found.append(find(sun, start=u, use_center=True))
            except ephem.CircumpolarError:
                pass
        return min(found, default=None)

    worst, differ = 0.0, 0
    for row in csv.DictReader(sys.stdin, delimiter="\t"):
        start = ephem.Date(dt.datetime.fromisoformat(row["date"]) - dt.timedelta(hours=1))
        want = {"noon": o.next_transit(sun, start=start)}  # noon is on every date here
        for dawn, dusk, degrees in limits:  # the rise in the date, the first setting after it
            o.horizon = math.radians(degrees)
            r = first(o.next_rising, start)
            r = r if r and r < start + 1 else None
            s = first(o.next_setting, r or start)
            want[dawn], want[dusk] = r, s if s and s < (r + 2 if r else start + 1) else None
            if dawn == "sunrise":
                o.date = start
                sun.compute(o)
                differ += row["state"] != ("normal" if r or s else "polar_day" if sun.alt > o.horizon else "polar_night")
        for key, t in ((k + "_iso", t) for k, t in want.items() if k + "_iso" in row):
            differ += (row[key] == "") != (t is None)
            if row[key] and t:
                ours = dt.datetime.fromisoformat(row[key]).timestamp()
                worst = max(worst, abs(ours - ephem.Date(t).datetime().replace(tzinfo=utc).timestamp()))
    print(f"{worst:.0f} {differ}")
elif mode == "place":
    # PyEphem counts days from 1899-12-31 12:00 UT, 25567.5 days before 1970;
    # at latitude 0 the centre stands at h0 at the hour angle H0: cos H0 = sin h0 / cos dec.
    o.horizon, o.date = "-0:50", ephem.Date(time.time() / 86400 + 25567.5 + float(args[0]) / 86400)
    sun.compute(o)
    hour_angle = sun.ra + math.acos(math.sin(o.horizon) / math.cos(sun.dec)) - o.sidereal_time()
    o.lon = (hour_angle + math.pi) % (2 * math.pi) - math.pi
    setting = o.next_setting(sun, start=o.date - 0.01, use_center=True)
    print(f"{math.degrees(o.lon):.6f} {setting.datetime().replace(tzinfo=utc).timestamp():.3f}")
