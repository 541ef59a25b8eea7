#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The tree passes the format check, and the check is not toothless: the same
# file with one blank doubled fails it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/check_format.sh"
stray=$(mktemp --suffix=.cpp)
trap 'rm -f "$stray"' EXIT
sed '0,/ = /s// =  /' "$root/almanac/date_value.cpp" >"$stray"
cmp -s "$stray" "$root/almanac/date_value.cpp" && { echo "no blank was doubled" >&2; exit 1; }
if bash "$root/scripts/check_format.sh" "$stray" 2>/dev/null; then
    echo "a stray blank passed the format check" >&2
    exit 1
fi
echo "format check: the tree passes, a stray blank fails"
