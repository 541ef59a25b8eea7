# SPDX-License-Identifier: MIT
# What the X11 and the Wayland sessions share: failing under the session's
# name, waiting for a condition, and waiting for the program to end.
# Needs `session` and `patience`; ending needs `app_pid`.

fail() {
    echo "$session: FAIL: $*" >&2
    exit 1
}

# wait_for SECONDS COMMAND...: retries the command until it succeeds.
wait_for() {
    local tries=$(($1 * 10 * patience))
    shift
    while ! "$@" >/dev/null 2>&1; do
        tries=$((tries - 1))
        [ "$tries" -gt 0 ] || return 1
        sleep 0.1
    done
}

# await_end: the program ends within ten seconds, with status 0.
await_end() {
    local code=0
    wait_for 10 bash -c "! kill -0 $app_pid" || fail "the program did not end on closing"
    wait "$app_pid" || code=$?
    app_pid=
    [ "$code" -eq 0 ] || fail "the program ended with status $code"
}

# end_session: SIGTERM, as a desktop session sends when it ends; the program
# closes its window the normal way.
end_session() {
    kill -TERM "$app_pid"
    await_end
}
