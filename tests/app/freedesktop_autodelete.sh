#!/bin/sh
# The automatic delete pass through the real program over the trash that Linux file managers
# fill: items trashed with GLib's `gio trash` in the home (a small tmpfs) and with trash-cli's
# `trash-put` on a second volume (an ext4 image: GLib refuses tmpfs volumes). Both volumes are
# short of space; on each, the oldest item by its deletion date must go, although its
# modification date is the newest, and afterwards `trash-list` shows exactly the others and no
# description is left without its item.
# Usage: freedesktop_autodelete.sh path/to/brindlewick. Exit 77 (skipped) without the tools.
set -u
program=$1
. "$(dirname "$0")/private_volume.sh"
for tool in gio trash-put trash-list mkfs.ext4; do
    command -v "$tool" >/dev/null || { echo "$tool is missing; skipped"; exit 77; }
done
enter_private_namespace "$@"

make_home freedesktop
pid=
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null' EXIT
volume=$root/volume
mkdir -p "$volume"
# The image on a tmpfs of its own: the small one laid over /mnt cannot hold what the volume
# writes, and a loop device whose backing file runs out of room fails its writes.
images=$root/images
mkdir -p "$images"
mount -t tmpfs -o size=24m tmpfs "$images" || { echo "mounting a tmpfs is not permitted here; skipped"; exit 77; }
truncate -s 16M "$images/volume.img"
mkfs.ext4 -q -m 0 "$images/volume.img" && mount -o loop "$images/volume.img" "$volume" ||
    { echo "no loop device here; skipped"; exit 77; }

# trash NAME SIZE DAYS_AGO FOLDER TOOL: an item trashed by TOOL DAYS_AGO days ago, whose own
# modification date says the opposite (the older the deletion, the newer the file).
trash() {
    head -c "$2" /dev/zero > "$4/$1"
    touch -d "$(( 10 - $3 )) days ago" "$4/$1"
    HOME=$home $5 "$4/$1" || exit 1
    info=$(grep -l "^Path=.*$1\$" "$6"/info/*.trashinfo)
    sed -i "s/^DeletionDate=.*/DeletionDate=$(date -d "$3 days ago" +%Y-%m-%dT%H:%M:%S)/" "$info"
}
homeTrash=$home/.local/share/Trash
volumeTrash=$volume/.Trash-$(id -u)
trash old 600000 5 "$home" "gio trash" "$homeTrash"
trash mid 100000 3 "$home" "gio trash" "$homeTrash"
trash young 100000 1 "$home" "gio trash" "$homeTrash"
trash big 3000000 5 "$volume" trash-put "$volumeTrash"
trash small 200000 3 "$volume" trash-put "$volumeTrash"
trash new 200000 1 "$volume" trash-put "$volumeTrash"
# A description whose item is gone already: file managers would list it; it is left alone
# by a pass that only makes room.
printf '[Trash Info]\nPath=ghost\nDeletionDate=2020-01-01T00:00:00\n' > "$volumeTrash/info/ghost.trashinfo"

# fill FOLDER SHORT: leaves the volume SHORT bytes below its minimum of 10 % free.
fill() {
    capacity=$(( $(stat -f -c %b "$1") * $(stat -f -c %S "$1") ))
    free=$(( $(stat -f -c %a "$1") * $(stat -f -c %S "$1") ))
    head -c $(( free - capacity / 10 + $2 )) /dev/zero > "$1/filler" 2>/dev/null
    left=$(( $(stat -f -c %a "$1") * $(stat -f -c %S "$1") ))
    [ "$left" -lt $(( capacity / 10 )) ] || { echo "could not fill $1"; exit 1; }
}
fill "$home" 300000
fill "$volume" 1500000

log=$root/stderr.log
env -i PATH="$PATH" HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_RUNTIME_DIR="$root/runtime" \
    "$program" 2> "$log" &
pid=$!

fail() { echo "FAIL: $1"; echo "--- program's log:"; cat "$log"; echo "--- trash-list:"; HOME=$home trash-list; exit 1; }
wait_for 30 test ! -e "$homeTrash/files/old" || fail "the oldest item of the home trash is still there"
wait_for 30 test ! -e "$volumeTrash/files/big" || fail "the oldest item of the volume trash is still there"
wait_for 30 grep -q LastAutoExecuteDate "$home/.config/Brindlewick/Brindlewick.conf" ||
    fail "the time of the last automatic deletion was not recorded"

listed=$(HOME=$home trash-list | sed 's/^[0-9-]* [0-9:]* //' | sort | tr '\n' ' ')
expected="$home/mid $home/young $volume/ghost $volume/new $volume/small "
[ "$listed" = "$expected" ] || fail "trash-list shows '$listed', not '$expected'"
for info in "$homeTrash"/info/*.trashinfo "$volumeTrash"/info/*.trashinfo; do
    name=$(basename "$info" .trashinfo)
    [ "$name" = ghost ] || [ -e "$(dirname "$info")/../files/$name" ] || fail "$info is left without its item"
done
kill -0 "$pid" 2>/dev/null || fail "the program ended by itself"
echo "PASS: the oldest items by deletion date went with their descriptions"
