#!/bin/sh
# The automatic delete pass through the real program, without tray or display: HOME on a
# small tmpfs that is nearly full, three dated items in ~/.Trash, the youngest of which
# cannot be removed (a file system is mounted inside it). The program must delete the two
# oldest, record the time of the last deletion, and log the failure of the third.
# Usage: headless_autodelete.sh path/to/brindlewick. Exit 77 (skipped) without mount rights.
set -u
program=$1
. "$(dirname "$0")/private_volume.sh"
enter_private_namespace "$@"

make_home headless
pid=
# The mounts end with the namespace; only the program needs ending.
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null' EXIT

trash=$home/.Trash
mkdir -p "$trash/stuck/inner"
mount -t tmpfs -o size=64k tmpfs "$trash/stuck/inner" || exit 1
for item in old:5 mid:3; do
    head -c 204800 /dev/zero > "$trash/${item%%:*}"
    touch -d "${item#*:} days ago" "$trash/${item%%:*}"
done
touch -d "1 day ago" "$trash/stuck"

# Fill the volume to the last few blocks: even without the two old items it stays short.
free=$(( $(stat -f -c %a "$home") * $(stat -f -c %S "$home") ))
head -c $(( free - 8192 )) /dev/zero > "$home/filler"

log=$root/stderr.log
conf=$home/.config/Brindlewick/Brindlewick.conf
env -i PATH="$PATH" HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_RUNTIME_DIR="$root/runtime" \
    "$program" 2> "$log" &
pid=$!

fail() { echo "FAIL: $1"; echo "--- program's log:"; cat "$log"; exit 1; }
gone() { [ ! -e "$trash/old" ] && [ ! -e "$trash/mid" ]; }
recorded() { grep -q "LastAutoExecuteDate" "$conf" 2>/dev/null; }
wait_for 30 grep -q "Some error occured at #3" "$log" || fail "no error line for the failed deletion"
wait_for 30 gone || fail "the two oldest items are still there"
wait_for 30 recorded || fail "the time of the last automatic deletion was not recorded"
kill -0 "$pid" 2>/dev/null || fail "the program ended by itself"

[ -e "$trash/stuck" ] || fail "the item that cannot be removed is gone"
grep -q "Brindlewick: Some error occured at #3\.$" "$log" || fail "the error line is not as expected"
grep -q "stuck" "$log" || fail "the failed item is not named in the log"
echo "PASS: the two oldest items were deleted, the failure was logged"
cat "$log"
