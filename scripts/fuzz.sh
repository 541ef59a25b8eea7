#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Fuzzes the settings reader. Usage: scripts/fuzz.sh [seconds]   (default 60)
# Builds with clang in build-fuzz, replays the committed corpus, then fuzzes
# into a scratch copy of it so the committed corpus only grows by hand, with
# regression cases. Exits non-zero on any finding; the crashing input is left
# in build-fuzz/findings/.
set -euo pipefail

seconds="${1:-60}"
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build-fuzz"
corpus="$root/tests/fuzz/corpus"
findings="$build/findings"

cmake -S "$root" -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DKESTROW_BUILD_UI=OFF -DBUILD_TESTING=ON -DKESTROW_BUILD_FUZZ=ON >/dev/null
cmake --build "$build" --target settings_reader_fuzz -j "$(nproc)"
fuzzer="$build/tests/fuzz/settings_reader_fuzz"
mkdir -p "$findings"

echo "== replaying $(find "$corpus" -type f | wc -l) corpus inputs"
"$fuzzer" -artifact_prefix="$findings/" "$corpus"/*

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
cp "$corpus"/* "$scratch"/

echo "== fuzzing for $seconds s"
"$fuzzer" -max_total_time="$seconds" -max_len=4096 -print_final_stats=1 \
    -artifact_prefix="$findings/" "$scratch"
echo "fuzz: 1 passed, 0 failed"
