#!/bin/sh
# On a copy-on-write file system an overwrite only takes new blocks and leaves the old data:
# on a nearly full Btrfs volume an item larger than the free space is shredded by removal
# alone, no write fails, and the log says once why the overwrite was skipped; --status (table
# and JSON) says so for that volume and no other.
# Usage: shred_btrfs.sh path/to/brindlewick. Exit 77 (skipped) without btrfs or the rights.
set -u
program=$1
here=$(dirname "$0")
. "$here/private_volume.sh"
. "$here/shred_volume.sh"
for tool in trash-put trash-list mkfs.btrfs; do
    command -v "$tool" >/dev/null || { echo "$tool is missing; skipped"; exit 77; }
done
grep -qw btrfs /proc/filesystems || modprobe btrfs 2>/dev/null || { echo "no btrfs here; skipped"; exit 77; }
enter_private_namespace "$@"

make_home btrfs
log=$root/stderr.log
pid=
trap cleanup_volume EXIT
make_volume btrfs 300
trash=$volume/.Trash-$(id -u)
head -c 100000000 /dev/urandom > "$volume/large"
head -c 2000000 /dev/urandom > "$volume/small"
HOME=$home trash-put "$volume/large" "$volume/small" || fail "trash-put failed"
fill_short 1000000
free=$(( $(stat -f -c %a "$volume") * $(stat -f -c %S "$volume") ))
[ "$free" -lt 100000000 ] || fail "the volume has room for the overwrite of the large item"

start_program
wait_for 60 test ! -e "$trash/files/large" || fail "the large item is still there"
stop_program
grep -q "removed without overwriting" "$log" || fail "the log does not say that the overwrite was skipped"
[ "$(grep -c "removed without overwriting" "$log")" = 1 ] || fail "the skipped overwrite is told more than once"
! grep -q "overwrite error" "$log" || fail "a write failed"
[ ! -e "$trash/info/large.trashinfo" ] || fail "the description of the large item stays"
env -i PATH="$PATH" HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_RUNTIME_DIR="$root/runtime" \
    "$program" --status --json > "$root/status.json" 2>/dev/null || fail "--status --json failed"
python3 - "$root/status.json" "$volume" "$home" <<'PY' || fail "--status --json does not tell which volume is overwritten"
import json, sys
trashes = {t["mountPoint"]: t for t in json.load(open(sys.argv[1]))["trashes"]}
assert trashes[sys.argv[2]]["overwrites"] is False, trashes[sys.argv[2]]
assert trashes[sys.argv[3]]["overwrites"] is True, trashes[sys.argv[3]]
PY
env -i PATH="$PATH" HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_RUNTIME_DIR="$root/runtime" \
    # The table names the volume by its last component; a long mount point is shortened.
    "$program" --status 2>/dev/null | grep -E "^volume " | grep -q "removed without overwriting" ||
    fail "the --status table does not say that the volume's items are removed without overwriting"
echo "PASS: on Btrfs the shredder removed without overwriting and said why"
