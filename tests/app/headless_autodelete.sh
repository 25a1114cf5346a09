#!/bin/sh
# The automatic delete pass through the real program, without tray or display: HOME on a
# small tmpfs that is nearly full, three dated items in ~/.Trash, the youngest of which
# cannot be removed (a file system is mounted inside it). The program must delete the two
# oldest, record the time of the last deletion, and log the failure of the third.
# Usage: headless_autodelete.sh path/to/brindlewick. Exit 77 (skipped) without mount rights.
set -u
program=$1
[ "$(id -u)" = 0 ] || { echo "mounting a tmpfs needs root; skipped"; exit 77; }

root=$(mktemp -d /mnt/brindlewick-headless-XXXXXX) || exit 77
home=$root/home
mkdir -p "$home"
if ! mount -t tmpfs -o size=4m tmpfs "$home"; then
    rmdir "$home" "$root"
    echo "mounting a tmpfs is not permitted here; skipped"
    exit 77
fi
pid=
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
    umount -l "$home/.Trash/stuck/inner" 2>/dev/null
    umount -l "$home"
    rm -rf "$root"
}
trap cleanup EXIT

trash=$home/.Trash
mkdir -p "$trash/stuck/inner" "$home/.config" "$root/runtime"
chmod 700 "$root/runtime"
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
env -i PATH="$PATH" HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_RUNTIME_DIR="$root/runtime" \
    "$program" 2> "$log" &
pid=$!

fail() { echo "FAIL: $1"; echo "--- program's log:"; cat "$log"; exit 1; }
for _ in $(seq 1 150); do
    grep -q "Some error occured at #3" "$log" && break
    sleep 0.2
done
kill -0 "$pid" 2>/dev/null || fail "the program ended by itself"

[ ! -e "$trash/old" ] || fail "the oldest item is still there"
[ ! -e "$trash/mid" ] || fail "the second oldest item is still there"
[ -e "$trash/stuck" ] || fail "the item that cannot be removed is gone"
grep -q "Brindlewick: Some error occured at #3\.$" "$log" || fail "no error line for the failed deletion"
grep -q "stuck" "$log" || fail "the failed item is not named in the log"
grep -q "LastAutoExecuteDate" "$home/.config/Brindlewick/Brindlewick.conf" ||
    fail "the time of the last automatic deletion was not recorded"
echo "PASS: the two oldest items were deleted, the failure was logged"
cat "$log"
