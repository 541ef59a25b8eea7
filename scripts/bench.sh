#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds and runs the speed measurements and prints the figures:
#   - one date's almanac texts and its rise/set, against libnova's
#     ln_get_solar_rst for the same dates (Google Benchmark, median of runs);
#   - kestrow-table over 100000 days: the design's method, the precise one in
#     each format, and the precise one with every event column (hyperfine
#     when installed, otherwise a timed loop);
#   - the window's start-up, peak memory and idle cost against a bare Qt
#     window (bench/startup_idle.sh, about five minutes, three of them idle).
# Usage: scripts/bench.sh   (BUILD_DIR, REPETITIONS, TABLE_RUNS, HYPERFINE and STARTUP may be set)
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${BUILD_DIR:-$root/build-bench}"
repetitions="${REPETITIONS:-5}"
table_runs="${TABLE_RUNS:-10}"
hyperfine="${HYPERFINE:-hyperfine}"  # HYPERFINE=none uses the timed loop
table_days=100000

# A new build folder gets neither the windows nor the tests; an existing one
# keeps its choices, and is switched to a Release build with benchmarks.
fresh=()
if [[ ! -f "$build/CMakeCache.txt" ]]; then
    fresh=(-DKESTROW_BUILD_UI=OFF -DBUILD_TESTING=OFF)
fi
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DKESTROW_BUILD_BENCH=ON "${fresh[@]}" >/dev/null
cmake --build "$build" --target kestrow_almanac_bench kestrow-table -j"$(nproc)" >/dev/null

bench="$build/bench/kestrow_almanac_bench"
table="$build/tools/kestrow-table"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

echo "== Machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//')"
echo "== Load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
echo
echo "== Computation benchmark ($repetitions repetitions, medians)"
"$bench" --benchmark_repetitions="$repetitions" --benchmark_report_aggregates_only=true \
    --benchmark_out="$work/bench.json" --benchmark_out_format=json

# Median CPU time (ns) of a benchmark from the JSON report; a single
# repetition reports the run itself.
median_ns() {
    local value
    value=$(awk -v median="\"$1_median\"," -v single="\"$1\"," '
        $1 == "\"name\":" { name = $2 }
        $1 == "\"cpu_time\":" && name == median { sub(",", "", $2); found = $2 }
        $1 == "\"cpu_time\":" && name == single && found == "" { sub(",", "", $2); once = $2 }
        END { print (found != "" ? found : once) }
    ' "$work/bench.json")
    if [[ -z "$value" ]]; then
        echo "bench.sh: no figure for $1 in the benchmark report" >&2
        exit 1
    fi
    echo "$value"
}
texts=$(median_ns BM_AlmanacTexts)
riseset=$(median_ns BM_AlmanacRiseSet)
nova=$(median_ns BM_LibnovaSolarRst)

echo
echo "== Table: kestrow-table over $table_days days"
table_args="--lat 48.85 --lon 2.35 --from 2000-01-01 --days $table_days --offset 1"
events="--events noon,civil,nautical,astronomical"
# Label, goal in seconds, options beyond table_args.
cases=(
    "design tsv|0.5|"
    "precise tsv|0.5|--precise"
    "precise csv|0.5|--precise --format csv"
    "precise json|0.5|--precise --format json"
    "precise all-events tsv|1|--precise $events"
    "precise all-events csv|1|--precise $events --format csv"
    "precise all-events json|1|--precise $events --format json"
)
commands=()
names=()
for c in "${cases[@]}"; do
    commands+=("$table $table_args ${c##*|}")
    # Named, so that the commas of --events stay out of hyperfine's CSV.
    names+=(-n "${c%%|*}")
done
if command -v "$hyperfine" >/dev/null; then
    "$hyperfine" --warmup 2 --runs "$table_runs" -N --export-csv "$work/table.csv" \
        "${names[@]}" "${commands[@]}"
    # command,mean,stddev,median,user,system,min,max (seconds), one row per command
    awk -F, 'NR > 1 { print $2, $7, $8 }' "$work/table.csv" >"$work/table.times"
else
    for command in "${commands[@]}"; do
        $command >/dev/null  # warm-up
        for _ in $(seq "$table_runs"); do
            start=$(date +%s%N)
            $command >/dev/null
            echo $(( $(date +%s%N) - start ))
        done | awk '
            { s += $1; if (NR == 1 || $1 < lo) lo = $1; if ($1 > hi) hi = $1 }
            END { printf "%.6f %.6f %.6f\n", s / NR / 1e9, lo / 1e9, hi / 1e9 }'
    done >"$work/table.times"
fi
lines=$($table $table_args | wc -l)
for c in "${cases[@]}"; do echo "${c%%|*}|$(cut -d'|' -f2 <<<"$c")"; done >"$work/table.cases"

echo
echo "== Figures"
awk -v texts="$texts" -v riseset="$riseset" -v nova="$nova" 'BEGIN {
    f = "  %-52s %s\n"
    printf f, "four texts of one date (ComputeDay x2, FormatDay)", sprintf("%.0f ns/date", texts)
    printf f, "rise and set of one date (SunRiseSetUT)", sprintf("%.0f ns/date", riseset)
    printf f, "libnova ln_get_solar_rst of one date", sprintf("%.0f ns/date", nova)
    printf f, "libnova / four texts", sprintf("%.1f x (goal >= 50: %s)", nova / texts, \
        (nova / texts >= 50 ? "met" : "MISSED"))
    printf f, "libnova / rise and set", sprintf("%.1f x", nova / riseset)
}'
echo "  kestrow-table over $table_days days ($lines lines):"
paste -d'|' "$work/table.cases" "$work/table.times" | awk -F'|' '{
    split($3, t, " ")
    printf "    %-30s mean %.3f s, min %.3f s, max %.3f s (goal < %s s: %s)\n", $1, t[1], t[2], \
        t[3], $2, (t[1] < $2 ? "met" : "MISSED")
}'
echo "== Load average after: $(cut -d' ' -f1-3 /proc/loadavg)"

# STARTUP=none leaves out the window's measurements and their build.
if [[ "${STARTUP:-run}" != none ]]; then
    echo
    bash "$root/bench/startup_idle.sh"
fi
