#!/bin/sh
# SIGHUP (a closed terminal, a session that ends) ends the real program as SIGTERM does:
# status 0, a closing line, and its socket gone, so that the next start runs at once.
# Usage: hangup.sh path/to/brindlewick. Exit 77 (skipped) without mount rights.
set -u
program=$1
. "$(dirname "$0")/private_volume.sh"
enter_private_namespace "$@"

make_home hangup
pid=
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null' EXIT
log=$root/stderr.log
env -i PATH="$PATH" HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_RUNTIME_DIR="$root/runtime" \
    "$program" 2> "$log" &
pid=$!

fail() { echo "FAIL: $1"; echo "--- program's log:"; cat "$log"; exit 1; }
wait_for 30 test -S "$root/runtime/brindlewick" || fail "the program did not listen"
kill -HUP "$pid"
ended() { ! kill -0 "$pid" 2>/dev/null || [ "$(cut -d' ' -f3 "/proc/$pid/stat" 2>/dev/null)" = Z ]; }
wait_for 30 ended || fail "the program still runs after SIGHUP"
wait "$pid"
status=$?
pid=
[ "$status" = 0 ] || fail "the program ended with status $status"
grep -q "Ending on Hangup" "$log" || fail "no closing line"
[ ! -e "$root/runtime/brindlewick" ] || fail "the socket was left behind"
echo "PASS: SIGHUP ended the program cleanly"
