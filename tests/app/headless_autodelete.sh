#!/bin/sh
# The automatic delete pass through the real program, without tray or display: HOME on a
# small tmpfs that is nearly full, three dated items in ~/.Trash, the oldest of which
# cannot be removed (a file system is mounted inside it). The program must log and show
# that failure once, go on to delete the two younger items and record the time of the last
# deletion; a later pass, with space still short, passes the stuck item over in silence.
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
touch -d "9 days ago" "$trash/stuck"

# Fill the volume to the last few blocks: even without the two younger items it stays short.
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
wait_for 30 gone || fail "the two younger items are still there"
wait_for 30 recorded || fail "the time of the last automatic deletion was not recorded"
kill -0 "$pid" 2>/dev/null || fail "the program ended by itself"

# A small item trashed now starts another pass, and space stays short after it.
head -c 4096 /dev/zero > "$trash/late"
wait_for 30 test ! -e "$trash/late" || fail "an item trashed after the failure was not deleted"
sleep 3 # what the deletion of that item itself starts

[ -e "$trash/stuck" ] || fail "the item that cannot be removed is gone"
grep -q "Brindlewick: Some error occured at #3\.$" "$log" || fail "the error line is not as expected"
grep -q "stuck" "$log" || fail "the failed item is not named in the log"
[ "$(grep -c "Some error occured" "$log")" = 1 ] || fail "the failure was logged more than once"
[ "$(grep -c "err=" "$log")" = 1 ] || fail "the shredder's error was logged more than once"
echo "PASS: the failure was logged once, the younger items were deleted"
cat "$log"
