#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Fails when a C++ file differs from what .clang-format makes of it, naming
# the file and line. With no arguments it checks every C++ file git tracks;
# with arguments, those files only (resolved against the repository's
# .clang-format, wherever they are).
# Usage: check_format.sh [FILE...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
if (($#)); then
    files=("$@")
else
    mapfile -t files < <(git ls-files '*.cpp' '*.h')
fi
# One style file for all, so that a file outside the tree is held to ours.
clang-format --style=file:"$root/.clang-format" --dry-run --Werror "${files[@]}"
