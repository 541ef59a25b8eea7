#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Start-up, peak memory and idle cost of kestrow against a bare Qt window
# (bench/baseline/), both built here in Release and run on one Xvfb display
# that this script starts, each in a fresh temporary folder:
#   - start-up and peak RSS: the two programs started in turn (A B A B ...),
#     RUNS times each after WARMUP discarded pairs, through
#     kestrow_startup_launch and its preloaded probe (bench/startup/);
#     medians and ratios;
#   - instructions up to the first frame: each program started CALLGRIND_RUNS
#     times under callgrind with the same probe, which ends it once its first
#     frame is on the display; the instructions its main process ran, medians
#     and their ratio. Unlike the times, these hardly move with the load of a
#     shared machine;
#   - idle cost: both left open side by side, kestrow holding the keyboard
#     focus as a window just started does, and after SETTLE seconds their CPU
#     time (utime+stime of /proc/PID/stat, and the threads' run time of
#     /proc/PID/task/*/schedstat in ns) and wake-ups (context switches) are
#     read over IDLE_SECONDS.
# Usage: bench/startup_idle.sh
#   STARTUP_BUILD_DIR (default build-startup), RUNS (30), WARMUP (3),
#   CALLGRIND_RUNS (3, 0 skips the count; needs valgrind),
#   IDLE_SECONDS (180, 0 skips the idle part), SETTLE (10) and NICE (-10 for
#   root, otherwise 0: the priority of the display and the programs, which
#   keeps other work on a shared machine out of the start-up times) may be set;
#   FONTCONFIG_FILE, where set, is passed on to both programs.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${STARTUP_BUILD_DIR:-$root/build-startup}"
runs="${RUNS:-30}"
warmup="${WARMUP:-3}"
callgrind_runs="${CALLGRIND_RUNS:-3}"
idle_seconds="${IDLE_SECONDS:-180}"
settle="${SETTLE:-10}"
if [[ $(id -u) -eq 0 ]]; then nice="${NICE:--10}"; else nice="${NICE:-0}"; fi

tools=(Xvfb xdotool)
((callgrind_runs > 0)) && tools+=(valgrind)
for tool in "${tools[@]}"; do
    command -v "$tool" >/dev/null ||
        { echo "startup_idle.sh: $tool is missing (Debian packages xvfb, xdotool, valgrind)" >&2; exit 1; }
done

# A new build folder gets the windows but not the tests; an existing one keeps
# its choices, and is switched to a Release build with benchmarks and windows.
fresh=()
if [[ ! -f "$build/CMakeCache.txt" ]]; then
    fresh=(-DBUILD_TESTING=OFF)
fi
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DKESTROW_BUILD_BENCH=ON \
    -DKESTROW_BUILD_UI=ON "${fresh[@]}" >/dev/null
cmake --build "$build" -j"$(nproc)" --target kestrow kestrow_bare_window \
    kestrow_startup_probe kestrow_startup_launch >/dev/null

kestrow="$build/ui/kestrow"
bare="$build/bench/kestrow_bare_window"
probe="$build/bench/libkestrow_startup_probe.so"
launch="$build/bench/kestrow_startup_launch"

# Everything from here on, the display included, at the chosen priority.
renice -n "$nice" -p $$ >/dev/null

work="$(mktemp -d)"
xvfb_pid=
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    [[ -n "$xvfb_pid" ]] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# One display for everything: 1280 x 800, 96 DPI (15 twips to a pixel), no
# window manager, so that nothing but the programs themselves moves.
Xvfb -displayfd 3 -screen 0 1280x800x24 -dpi 96 -nolisten tcp 3>"$work/display" \
    >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do
    [[ -s "$work/display" ]] && break
    sleep 0.1
done
[[ -s "$work/display" ]] || { echo "startup_idle.sh: Xvfb did not start" >&2; exit 1; }
display=":$(head -n1 "$work/display")"

# The same bare environment for both programs: no session bus, no desktop
# theme, a C.UTF-8 locale.
mkdir -p "$work/home" "$work/runtime"
chmod 700 "$work/runtime"
environment=(env -i "DISPLAY=$display" "HOME=$work/home" "XDG_RUNTIME_DIR=$work/runtime"
             "LANG=C.UTF-8" "PATH=/usr/bin:/bin")
# A chosen set of fonts, where FONTCONFIG_FILE names one.
[[ -n "${FONTCONFIG_FILE:-}" ]] && environment+=("FONTCONFIG_FILE=$FONTCONFIG_FILE")

# A fresh folder for each start; kestrow's holds a full settings record
# (Paris, window at 100, 100 pixels), as a user's would after the first save.
new_folder() {
    local folder
    folder=$(mktemp -d "$work/run.XXXXXX")
    [[ "$1" == kestrow ]] && printf '"48.85","2.35",1500,1500\r\n' >"$folder/Kestrow.dat"
    echo "$folder"
}

program_of() { [[ "$1" == kestrow ]] && echo "$kestrow" || echo "$bare"; }

start_once() {  # NAME -> one line of kestrow_startup_launch
    local folder line
    folder=$(new_folder "$1")
    if ! line=$("${environment[@]}" "$launch" "$probe" "$folder" "$(program_of "$1")" 2>>"$work/stderr.txt"); then
        echo "startup_idle.sh: a start of $1 failed:" >&2
        tail -n 5 "$work/stderr.txt" >&2
        exit 1
    fi
    rm -rf "$folder"
    echo "$line"
}

echo "== Machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//')," \
    "$(awk '/MemTotal/ { printf "%.0f GiB", $2 / 1048576 }' /proc/meminfo)," \
    "Qt $(dpkg-query -W -f='${Version}' libqt6core6 2>/dev/null || echo "?")"
echo "== Load average before: $(cut -d' ' -f1-3 /proc/loadavg); priority $nice"
echo
echo "== Start-up and peak RSS: $warmup warm-up pairs, then $runs runs each, interleaved"
for _ in $(seq "$warmup"); do
    start_once kestrow >/dev/null
    start_once bare >/dev/null
done
# interleaved RUNS FILE MEASURE: MEASURE kestrow, then the bare window, RUNS
# times, each result appended to FILE as "NAME run=I FIELD=value...".
interleaved() {
    local i name line
    for i in $(seq "$1"); do
        for name in kestrow bare; do
            line=$("$3" "$name")
            echo "$name run=$i $line" >>"$2"
        done
        printf '\r  %d/%d' "$i" "$1"
    done
    echo
}
interleaved "$runs" "$work/starts.txt" start_once

# quantile NAME FIELD Q [FILE]: the Q-quantile (0.5: the median) of FIELD=value
# over NAME's runs (in the start-up runs' file by default), interpolated
# between the two nearest runs.
quantile() {
    awk -v name="$1" -v key="$2" '$1 == name {
        for (i = 2; i <= NF; i++) { split($i, kv, "="); if (kv[1] == key) print kv[2] }
    }' "${4:-$work/starts.txt}" | sort -g | awk -v q="$3" '{ v[NR] = $1 }
        END {
            if (NR == 0) exit 1
            p = 1 + (NR - 1) * q; i = int(p)
            printf "%.10g\n", (i >= NR ? v[NR] : v[i] + (p - i) * (v[i + 1] - v[i]))
        }'
}
median() { quantile "$1" "$2" 0.5; }

# paired_ratio FIELD: the median over runs of kestrow's FIELD divided by that
# of the bare window started right after it, which shared its moment's load.
paired_ratio() {
    awk -v key="$1" '{
        run = ""; value = ""
        for (i = 2; i <= NF; i++) {
            split($i, kv, "=")
            if (kv[1] == "run") run = kv[2]
            if (kv[1] == key) value = kv[2]
        }
        if ($1 == "kestrow") k[run] = value; else b[run] = value
    } END { for (r in k) if (r in b && b[r] > 0) print k[r] / b[r] }' "$work/starts.txt" |
        sort -g | awk '{ v[NR] = $1 }
            END { printf "%.2f", (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2) }'
}

printf '  %-44s %12s %12s %8s\n' "median" "kestrow" "bare window" "ratio"
for key in startup_ms rss_kb cpu_ms loaded_ms app_ms shown_ms painted_ms; do
    k=$(median kestrow "$key")
    b=$(median bare "$key")
    case "$key" in
        startup_ms) what="start-up, exec to shown and looping (ms)" ;;
        rss_kb) what="peak RSS at that point (KiB)" ;;
        cpu_ms) what="CPU time of the start (ms)" ;;
        loaded_ms) what="  stage: libraries loaded (ms)" ;;
        app_ms) what="  stage: QApplication on the display (ms)" ;;
        shown_ms) what="  stage: first window shown (ms)" ;;
        painted_ms) what="  stage: first paint begins (ms)" ;;
    esac
    printf '  %-44s %12s %12s %8s\n' "$what" "$k" "$b" "$(awk -v k="$k" -v b="$b" 'BEGIN { printf "%.2f", k / b }')"
done
echo "  start-up (ms):"
printf '  %-44s %12s %12s %8s\n' "  fastest run" "$(quantile kestrow startup_ms 0)" \
    "$(quantile bare startup_ms 0)" \
    "$(awk -v k="$(quantile kestrow startup_ms 0)" -v b="$(quantile bare startup_ms 0)" 'BEGIN { printf "%.2f", k / b }')"
printf '  %-44s %12s %12s\n' "  quartiles, 25 % .. 75 %" \
    "$(quantile kestrow startup_ms 0.25)..$(quantile kestrow startup_ms 0.75)" \
    "$(quantile bare startup_ms 0.25)..$(quantile bare startup_ms 0.75)"
printf '  %-44s %12s %12s %8s\n' "  median of the paired ratios" "" "" "$(paired_ratio startup_ms)"
startup_k=$(median kestrow startup_ms); startup_b=$(median bare startup_ms)
rss_k=$(median kestrow rss_kb); rss_b=$(median bare rss_kb)

declare -A instructions
if ((callgrind_runs > 0)); then
    echo
    echo "== Instructions up to the first frame: callgrind, $callgrind_runs runs each"
    # Debian's valgrind is a shell wrapper that adds /usr/lib/debug to the
    # library path, a folder more for the dynamic linker to search at every
    # start: the launcher behind it is run directly where it is there.
    valgrind=$(command -v valgrind.bin || command -v valgrind)
    # count NAME: the instructions of one start, up to the probe's end point.
    # Children the program forks report on their own; only the main
    # process's file, named after its pid, counts.
    count() {
        local folder pid
        folder=$(new_folder "$1")
        (cd "$folder" && exec "${environment[@]}" STARTUP_PROBE_FD=3 "LD_PRELOAD=$probe" "$valgrind" \
            --tool=callgrind "--callgrind-out-file=$work/callgrind.%p" "$(program_of "$1")" \
            3>"$work/callgrind-report" 2>>"$work/callgrind.log") &
        pid=$!
        if ! wait "$pid" || [[ ! -s "$work/callgrind-report" || ! -f "$work/callgrind.$pid" ]]; then
            echo "startup_idle.sh: $1 under callgrind did not reach its first frame:" >&2
            tail -n 5 "$work/callgrind.log" >&2
            exit 1
        fi
        awk '/^(summary|totals):/ { print "instructions=" $2; exit }' "$work/callgrind.$pid"
        rm -rf "$folder" "$work"/callgrind.* "$work/callgrind-report"
    }
    interleaved "$callgrind_runs" "$work/counts.txt" count
    for name in kestrow bare; do
        instructions[$name]=$(printf '%.0f' "$(quantile "$name" instructions 0.5 "$work/counts.txt")")
    done
    printf '  %-44s %12s %12s %8s\n' "median" "kestrow" "bare window" "ratio"
    printf '  %-44s %12s %12s %8s\n' "instructions, exec to the first frame" "${instructions[kestrow]}" \
        "${instructions[bare]}" \
        "$(awk -v k="${instructions[kestrow]}" -v b="${instructions[bare]}" 'BEGIN { printf "%.3f", k / b }')"
    printf '  %-44s %s\n' "  kestrow, every run" "$(awk '$1 == "kestrow" { sub(/.*=/, "", $3); printf "%s ", $3 }' "$work/counts.txt")"
    printf '  %-44s %s\n' "  bare window, every run" "$(awk '$1 == "bare" { sub(/.*=/, "", $3); printf "%s ", $3 }' "$work/counts.txt")"
fi

declare -A idle_ms run_ms
if ((idle_seconds > 0)); then
    echo
    echo "== Idle cost: both open side by side, kestrow focused; $settle s to settle, then $idle_seconds s"
    declare -A pid folder
    for name in kestrow bare; do
        folder[$name]=$(new_folder "$name")
        (cd "${folder[$name]}" && exec "${environment[@]}" "$(program_of "$name")" 2>>"$work/stderr.txt") &
        pid[$name]=$!
        pids+=("${pid[$name]}")
    done
    kwin=$(DISPLAY=$display timeout 30 xdotool search --sync --onlyvisible --pid "${pid[kestrow]}" \
        --name '^Kestrow' | head -n1) || true
    [[ -n "$kwin" ]] || { echo "startup_idle.sh: no kestrow window" >&2; exit 1; }
    DISPLAY=$display timeout 30 xdotool search --sync --onlyvisible --pid "${pid[bare]}" \
        --name '^Bare window$' >/dev/null || { echo "startup_idle.sh: no bare window" >&2; exit 1; }
    DISPLAY=$display xdotool windowfocus --sync "$kwin"
    sleep "$settle"

    # sample PID: clock ticks (utime+stime), run ns over threads, context
    # switches over threads, context switches of the main (event) thread
    sample() {
        local ticks ns switches main
        ticks=$(sed 's/.*) //' "/proc/$1/stat" | awk '{ print $12 + $13 }')
        ns=$(cat /proc/"$1"/task/*/schedstat | awk '{ s += $1 } END { print s }')
        switches=$(cat /proc/"$1"/task/*/status |
            awk '/^(non)?voluntary_ctxt_switches/ { s += $2 } END { print s }')
        main=$(awk '/^(non)?voluntary_ctxt_switches/ { s += $2 } END { print s }' "/proc/$1/task/$1/status")
        echo "$ticks $ns $switches $main"
    }
    declare -A t0 n0 s0 m0 t1 n1 s1 m1 wakes main_wakes hwm threads
    for name in kestrow bare; do
        read -r "t0[$name]" "n0[$name]" "s0[$name]" "m0[$name]" < <(sample "${pid[$name]}")
    done
    sleep "$idle_seconds"
    for name in kestrow bare; do
        kill -0 "${pid[$name]}" 2>/dev/null || { echo "startup_idle.sh: $name ended while idle" >&2; exit 1; }
        read -r "t1[$name]" "n1[$name]" "s1[$name]" "m1[$name]" < <(sample "${pid[$name]}")
    done
    tick_ms=$(awk -v hz="$(getconf CLK_TCK)" 'BEGIN { print 1000 / hz }')
    printf '  %-44s %12s %12s\n' "" "kestrow" "bare window"
    for name in kestrow bare; do
        idle_ms[$name]=$(awk -v a="${t0[$name]}" -v b="${t1[$name]}" -v t="$tick_ms" 'BEGIN { print (b - a) * t }')
        run_ms[$name]=$(awk -v a="${n0[$name]}" -v b="${n1[$name]}" 'BEGIN { printf "%.2f", (b - a) / 1e6 }')
        wakes[$name]=$((s1[$name] - s0[$name]))
        main_wakes[$name]=$((m1[$name] - m0[$name]))
        hwm[$name]=$(awk '/^VmHWM/ { print $2 }' "/proc/${pid[$name]}/status")
        threads[$name]=$(ls "/proc/${pid[$name]}/task" | wc -l)
    done
    printf '  %-44s %12s %12s\n' "CPU, utime+stime (ms, ${tick_ms} ms ticks)" "${idle_ms[kestrow]}" "${idle_ms[bare]}"
    printf '  %-44s %12s %12s\n' "CPU, threads' run time (ms, schedstat)" "${run_ms[kestrow]}" "${run_ms[bare]}"
    printf '  %-44s %12s %12s\n' "context switches, all threads" "${wakes[kestrow]}" "${wakes[bare]}"
    printf '  %-44s %12s %12s\n' "context switches, main thread" "${main_wakes[kestrow]}" "${main_wakes[bare]}"
    printf '  %-44s %12s %12s\n' "threads" "${threads[kestrow]}" "${threads[bare]}"
    printf '  %-44s %12s %12s\n' "peak RSS after the idle period (KiB)" "${hwm[kestrow]}" "${hwm[bare]}"
    for name in kestrow bare; do kill "${pid[$name]}" 2>/dev/null || true; done
fi

echo
echo "== Figures"
awk -v sk="$startup_k" -v sb="$startup_b" -v rk="$rss_k" -v rb="$rss_b" \
    -v ck="${instructions[kestrow]:-}" -v cb="${instructions[bare]:-}" \
    -v ik="${idle_ms[kestrow]:-}" -v nk="${run_ms[kestrow]:-}" -v period="$idle_seconds" 'BEGIN {
    f = "  %-36s %s\n"
    printf f, "start-up, kestrow / bare window", sprintf("%.1f / %.1f ms = %.2f x (goal <= 1.15: %s)", \
        sk, sb, sk / sb, (sk / sb <= 1.15 ? "met" : "MISSED"))
    printf f, "peak RSS, kestrow / bare window", sprintf("%.1f / %.1f MiB = %.2f x (goal <= 1.11: %s)", \
        rk / 1024, rb / 1024, rk / rb, (rk / rb <= 1.11 ? "met" : "MISSED"))
    if (ck != "")
        printf f, "instructions, kestrow / bare window", sprintf("%.1f / %.1f M = %.2f x (goal <= 1.20: %s)", \
            ck / 1e6, cb / 1e6, ck / cb, (ck / cb <= 1.20 ? "met" : "MISSED"))
    if (ik != "")
        printf f, sprintf("kestrow idle CPU over %d s", period), sprintf("%s ms (threads: %s ms) (%s)", \
            ik, nk, (period != 180 ? "the goal, < 20 ms, is for 180 s" : \
                     "goal < 20 ms: " (ik < 20 && nk < 20 ? "met" : "MISSED")))
}'
echo "== Load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
if [[ -s "$work/stderr.txt" ]]; then
    echo "== The programs wrote to stderr:"
    sort "$work/stderr.txt" | uniq -c | head -n 20
fi
