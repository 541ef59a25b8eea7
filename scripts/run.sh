#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what is missing, builds Kestrow and starts it in the current folder,
# where it keeps its settings file.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/deps.sh" run
cmake -S "$root" -B "$root/build-run" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
cmake --build "$root/build-run" -j"$(nproc)" --target kestrow
exec "$root/build-run/ui/kestrow"
