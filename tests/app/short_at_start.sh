#!/bin/sh
# The first pass sees the truth: started twenty times on a home trash whose volume is already
# short of space (check interval 300 s), the program must delete the oldest item within 5 s
# every time, never taking the trash for empty because its first measurement had not ended.
# Usage: short_at_start.sh path/to/brindlewick. Exit 77 (skipped) without mount rights.
set -u
program=$1
. "$(dirname "$0")/private_volume.sh"
enter_private_namespace "$@"

make_home short
pid=
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null' EXIT
log=$root/stderr.log
fail() { echo "FAIL: $1"; echo "--- program's log:"; cat "$log"; exit 1; }
free_of() { echo $(( $(stat -f -c %a "$1") * $(stat -f -c %S "$1") )); }
capacity_of() { echo $(( $(stat -f -c %b "$1") * $(stat -f -c %S "$1") )); }

trash=$home/.Trash
mkdir -p "$trash"
only_young() { [ "$(ls -A "$trash")" = young ]; }
head -c 200000 /dev/zero > "$trash/young"
for run in $(seq 20); do
    head -c 200000 /dev/zero > "$trash/old"
    touch -d "5 days ago" "$trash/old"
    # 100 KB short of the minimum of 10 %: the oldest item alone makes up for it.
    rm -f "$home/filler"
    head -c $(( $(free_of "$home") - $(capacity_of "$home") / 10 + 100000 )) /dev/zero > "$home/filler"
    env -i PATH="$PATH" HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_RUNTIME_DIR="$root/runtime" \
        "$program" 2>> "$log" &
    pid=$!
    # Gone, not only withdrawn: the shredder renames an item before it overwrites it, and a
    # program stopped then leaves it in the trash under its time-stamp name for the next start.
    wait_for 5 only_young || fail "start $run: the oldest item of a short trash was not deleted within 5 s"
    [ -e "$trash/young" ] || fail "start $run: more was deleted than the minimum asks"
    kill "$pid"
    wait "$pid" || fail "start $run: the program did not end cleanly on SIGTERM (status $?)"
    pid=
done
echo "PASS: the oldest item went within 5 s at each of 20 starts"
