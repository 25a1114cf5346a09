#!/bin/sh
# A restore during the overwrite must never give back a destroyed file: a large item trashed
# with `gio trash` on a short ext4 volume is watched, as fast as a poller can, while the
# program shreds it; no byte of 0xFF is ever seen in the item under its own name or while
# its description is there, and `trash-restore` run during the overwrite finds nothing (or
# restores the original bytes).
# Usage: shred_withdraw.sh path/to/brindlewick. Exit 77 (skipped) without the tools or rights.
set -u
program=$1
here=$(dirname "$0")
. "$here/private_volume.sh"
. "$here/shred_volume.sh"
for tool in gio trash-restore trash-list mkfs.ext4 python3; do
    command -v "$tool" >/dev/null || { echo "$tool is missing; skipped"; exit 77; }
done
enter_private_namespace "$@"

make_home withdraw
log=$root/stderr.log
pid=
trap cleanup_volume EXIT
make_volume ext4 400
head -c 200000000 /dev/zero | tr '\0' 'a' > "$volume/big"
HOME=$home gio trash "$volume/big" || fail "gio trash failed"
trash=$volume/.Trash-$(id -u)
[ -f "$trash/info/big.trashinfo" ] || fail "gio trash wrote no description"
fill_short 1000000

watch_overwrite big a --restore "$volume"
case $watched in
    0) ;;
    2) fail "the overwrite was never seen" ;;
    *) fail "a client could reach the item while it was overwritten" ;;
esac
wait_for 60 test ! -e "$trash/files/big" || fail "the item is still there"
listed=$(HOME=$home trash-list 2>/dev/null | grep -c "$volume/" )
[ "$listed" = 0 ] || fail "trash-list still lists an item of the volume"
kill -0 "$pid" 2>/dev/null || fail "the program ended by itself"
echo "PASS: no client saw the item once its overwrite began"
