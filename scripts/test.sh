#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what is missing, builds Kestrow and runs every test: the unit and
# window tests, the end-to-end test under Xvfb, the same suites again under
# AddressSanitizer and UndefinedBehaviorSanitizer, the settings reader's
# fuzzer, and a session of the real program under valgrind.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
results=$(mktemp)
trap 'rm -f "$results"' EXIT
bash "$root/scripts/deps.sh" test

echo "== format"
bash "$root/scripts/check_format.sh"

echo "== build and test"
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESTROW_WARNINGS_AS_ERRORS=ON
cmake --build "$root/build" -j"$jobs"
ctest --test-dir "$root/build" --output-on-failure -j"$jobs" | tee -a "$results"

echo "== sanitizers"
cmake -S "$root" -B "$root/build-asan" -DCMAKE_BUILD_TYPE=Debug -DKESTROW_SANITIZE=ON \
    -DKESTROW_WARNINGS_AS_ERRORS=ON
cmake --build "$root/build-asan" -j"$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir "$root/build-asan" --output-on-failure -j"$jobs" -LE e2e | tee -a "$results"

echo "== fuzzing the settings reader"
bash "$root/scripts/fuzz.sh" 60 | tee -a "$results"

echo "== the real program under valgrind"
bash "$root/scripts/valgrind-session.sh" "$root/build/ui/kestrow" | tee -a "$results"

# One closing line for the whole run, the sum of what each step reported;
# every step above stops it on failure.
passed=$(sed -n -e 's/.*tests passed, 0 tests failed out of \([0-9]*\).*/\1/p' \
                -e 's/^[a-z]*: \([0-9]*\) passed, 0 failed$/\1/p' "$results" |
         awk '{ n += $1 } END { print n + 0 }')
echo "$passed passed, 0 failed"
