#!/bin/bash
# SPDX-License-Identifier: MIT
# A settings file whose latitude is markup that would load an endless image:
# under a memory limit, the program quotes the text in its message and goes on.
#   kestrow_file_text_e2e.sh /path/to/kestrow
set -euo pipefail

kestrow=${1:?usage: kestrow_file_text_e2e.sh /path/to/kestrow}
kestrow=$(realpath "$kestrow")
session=kestrow_file_text_e2e
# A limit the program needs nowhere near, but that loading /dev/zero as an
# image soon reaches.
runner=(bash -c 'ulimit -v 3000000 && exec "$@"' limited)
# shellcheck source=tests/e2e/x11_session.sh
source "$(dirname "$(realpath "$0")")/x11_session.sh" "$@"

start_wm
printf '"<img src=/dev/zero>","2.35",600,975\r\n' >"$work/Kestrow.dat"
start_kestrow
wait_for 15 xdotool search --onlyvisible --name 'Erreur / Error' ||
    fail "no message window; $(cat "$work/stderr.txt")"
wait_for 5 xdotool search --onlyvisible --name '^Kestrow  ' || fail "no main window"
grep -qxF 'kestrow: Latitude "<img src=/dev/zero>" is not a number.' "$work/stderr.txt" ||
    fail "the message was '$(cat "$work/stderr.txt")'"
kill -0 "$app_pid" || fail "the program ended"
echo "kestrow_file_text_e2e: passed"
