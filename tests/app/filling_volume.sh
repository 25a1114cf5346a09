#!/bin/sh
# A reaction within seconds: with the check interval at its default of 300 s, a volume that
# falls below its minimum while the program runs (a large download, say) must lose its oldest
# trash item within 5 s, first the home volume, then another volume.
# Usage: filling_volume.sh path/to/brindlewick. Exit 77 (skipped) without mount rights.
set -u
program=$1
. "$(dirname "$0")/private_volume.sh"
enter_private_namespace "$@"

make_home filling
pid=
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null' EXIT
log=$root/stderr.log
fail() { echo "FAIL: $1"; echo "--- program's log:"; cat "$log"; exit 1; }
free_of() { echo $(( $(stat -f -c %a "$1") * $(stat -f -c %S "$1") )); }
capacity_of() { echo $(( $(stat -f -c %b "$1") * $(stat -f -c %S "$1") )); }
# fill FOLDER: leaves its volume 100 KB below its minimum of 10 %.
fill() { head -c $(( $(free_of "$1") - $(capacity_of "$1") / 10 + 100000 )) /dev/zero > "$1/filler"; }

volume=$root/volume
mkdir -p "$volume"
mount -t tmpfs -o size=4m tmpfs "$volume" || { echo "no tmpfs here; skipped"; exit 77; }
volumeTrash=$volume/.Trash-$(id -u)
mkdir -p "$home/.Trash" "$volumeTrash/files" "$volumeTrash/info"
chmod -R 700 "$volumeTrash"
for folder in "$home/.Trash" "$volumeTrash/files"; do
    head -c 200000 /dev/zero > "$folder/old"
    touch -d "5 days ago" "$folder/old"
    head -c 200000 /dev/zero > "$folder/young"
done

env -i PATH="$PATH" HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_RUNTIME_DIR="$root/runtime" \
    "$program" 2>> "$log" &
pid=$!
sleep 3 # the first pass found room on both volumes
[ -e "$home/.Trash/old" ] && [ -e "$volumeTrash/files/old" ] || fail "an item went while there was room"

for pair in "$home:$home/.Trash" "$volume:$volumeTrash/files"; do
    folder=${pair#*:}
    fill "${pair%%:*}"
    wait_for 5 test ! -e "$folder/old" || fail "the oldest item in $folder did not go within 5 s of its volume filling"
    [ -e "$folder/young" ] || fail "more was deleted in $folder than the minimum asks"
done
echo "PASS: each volume lost its oldest item within 5 s of falling short"
