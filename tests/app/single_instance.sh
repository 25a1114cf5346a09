#!/bin/sh
# Ten starts of the real program at once with the same HOME: exactly one keeps running, the
# others hand it their request and end with status 0.
# Usage: single_instance.sh path/to/brindlewick. Exit 77 (skipped) without mount rights.
set -u
program=$1
. "$(dirname "$0")/private_volume.sh"
enter_private_namespace "$@"

make_home single
mkdir -p "$home/.Trash"
pids=
trap 'for p in $pids; do kill "$p" 2>/dev/null; done; wait' EXIT

for i in 1 2 3 4 5 6 7 8 9 10; do
    env -i PATH="$PATH" HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_RUNTIME_DIR="$root/runtime" \
        "$program" 2> "$root/log.$i" &
    pids="$pids $!"
done

# An ended child may stay a zombie until waited for, so its state is read, not kill -0.
alive() { state=$(cut -d' ' -f3 "/proc/$1/stat" 2>/dev/null) && [ "$state" != Z ]; }
running() { n=0; for p in $pids; do alive "$p" && n=$((n + 1)); done; echo $n; }
one_left() { [ "$(running)" -le 1 ]; }
fail() { echo "FAIL: $1"; for f in "$root"/log.*; do echo "--- $f"; cat "$f"; done; exit 1; }
wait_for 60 one_left || fail "$(running) programs still run"
[ "$(running)" = 1 ] || fail "no program kept running"

handed=0
for p in $pids; do
    alive "$p" && continue
    wait "$p" || fail "a second start ended with status $?"
    handed=$((handed + 1))
done
[ "$handed" = 9 ] || fail "$handed starts ended, not 9"
[ "$(grep -l "Already running; that program checks the trashes now and shows its information panel where it has a display" "$root"/log.* | wc -l)" = 9 ] ||
    fail "not every second start reached the running program"
echo "PASS: one program runs, nine handed over their request"
