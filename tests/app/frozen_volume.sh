#!/bin/sh
# A volume that stops answering holds up nothing else. The real program runs with a small
# tmpfs HOME and an ext4 volume, both short of space, the volume's trash holding many items.
# While the pass works on the volume it is frozen (fsfreeze): an item trashed in the home
# must still go within 10 s, --status must show the volume as not answering, and once it is
# thawed its trash must be taken up again. Frozen a second time in the middle of a pass,
# SIGTERM must end the program within 2 s (its main thread ends; a thread stuck in the
# kernel is released by the thaw).
# Usage: frozen_volume.sh path/to/brindlewick. Exit 77 (skipped) without the tools or rights.
set -u
program=$1
. "$(dirname "$0")/private_volume.sh"
for tool in fsfreeze mkfs.ext4 fallocate python3; do
    command -v "$tool" >/dev/null || { echo "$tool is missing; skipped"; exit 77; }
done
enter_private_namespace "$@"

make_home frozen
pid=
images=$(mktemp -d /var/tmp/brindlewick-frozen-XXXXXX) || exit 77
volume=$root/volume
watchdog=
# Never leave a frozen file system behind, whatever happens.
cleanup() {
    fsfreeze -u "$volume" 2>/dev/null
    [ -n "$watchdog" ] && pkill -P "$watchdog" 2>/dev/null && kill "$watchdog" 2>/dev/null
    [ -n "$pid" ] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
    umount "$volume" 2>/dev/null
    rm -rf "$images"
}
trap cleanup EXIT
trap 'exit 1' INT TERM
mkdir -p "$volume"
truncate -s 256M "$images/volume.img"
mkfs.ext4 -q -m 0 "$images/volume.img" && mount -o loop "$images/volume.img" "$volume" ||
    { echo "no loop device here; skipped"; exit 77; }
# Even a test killed outright (no trap runs then) leaves the volume frozen for 3 minutes at most.
sh -c 'sleep 180; fsfreeze -u "$1"' sh "$volume" >/dev/null 2>&1 &
watchdog=$!

log=$root/stderr.log
fail() { echo "FAIL: $1"; echo "--- program's log:"; cat "$log"; exit 1; }
run() { env -i PATH="$PATH" HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_RUNTIME_DIR="$root/runtime" "$@"; }
start() {
    env -i PATH="$PATH" HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_RUNTIME_DIR="$root/runtime" \
        "$program" 2>> "$log" &
    pid=$!
}
free_of() { echo $(( $(stat -f -c %a "$1") * $(stat -f -c %S "$1") )); }
capacity_of() { echo $(( $(stat -f -c %b "$1") * $(stat -f -c %S "$1") )); }

files=$volume/.Trash-$(id -u)/files
mkdir -p "$files" "$volume/.Trash-$(id -u)/info"
chmod -R 700 "$volume/.Trash-$(id -u)"
# refill: 3000 items of 8 KB in the volume's trash, and the volume left 20 MB short of its
# minimum of 10 %, so that the pass works on it for a while.
refill() {
    python3 -c 'import os, sys
for i in range(3000):
    with open(os.path.join(sys.argv[1], "item%05d" % i), "wb") as f:
        f.write(b"x" * 8192)' "$files"
    rm -f "$volume/filler"
    fallocate -l $(( $(free_of "$volume") - $(capacity_of "$volume") / 10 + 20000000 )) "$volume/filler" ||
        fail "could not fill the volume"
}
items() { ls "$files" | wc -l; }
status_of_volume() {
    run "$program" --status --json | python3 -c 'import json, sys
trashes = [t for t in json.load(sys.stdin)["trashes"] if t["mountPoint"] == sys.argv[1]]
print("answering" if trashes and trashes[0]["answering"] else "not answering")' "$volume"
}
# A pass is under way on the volume: the first items went, most are left.
freeze_during_pass() {
    began=$(( $(date +%s) + 30 ))
    while [ "$(items)" -ge 3000 ]; do
        [ "$(date +%s)" -lt "$began" ] || fail "no pass began on the volume"
    done
    fsfreeze -f "$volume" || fail "the volume could not be frozen"
    [ "$(items)" -gt 1000 ] || fail "the pass was nearly done before the volume was frozen"
}

# The home: short of space from the start, its trash empty.
mkdir -p "$home/.Trash"
head -c $(( $(free_of "$home") - $(capacity_of "$home") / 10 + 200000 )) /dev/zero > "$home/filler"
refill
start
freeze_during_pass

head -c 65536 /dev/zero > "$home/.Trash/late"
wait_for 10 test ! -e "$home/.Trash/late" || fail "the home trash waited for the frozen volume"
volume_is() { [ "$(status_of_volume)" = "$1" ]; }
wait_for 10 volume_is "not answering" ||
    fail "--status does not show the frozen volume as not answering"
run "$program" --status | grep -q "not answering" || fail "the table does not say the volume is not answering"

fsfreeze -u "$volume"
wait_for 30 volume_is answering || fail "the thawed volume is still not answering"
roomy() { [ "$(free_of "$volume")" -ge $(( $(capacity_of "$volume") / 10 )) ]; }
wait_for 30 roomy ||
    fail "the thawed volume's trash was not taken up again"
grep -q "does not answer" "$log" || fail "no log line says the volume does not answer"

# Frozen again in the middle of a pass: SIGTERM ends the program within 2 s.
kill "$pid"; wait "$pid"; pid=
refill
start
freeze_during_pass
sleep 3 # the step on the volume is now stuck in the kernel
kill -TERM "$pid"
ended() { state=$(awk '/^State:/ {print $2}' "/proc/$pid/status" 2>/dev/null); [ -z "$state" ] || [ "$state" = Z ]; }
wait_for 2 ended || fail "the program did not end within 2 s of SIGTERM while a volume was frozen"
grep -q "Ending on" "$log" || fail "the program did not end as on SIGTERM"
fsfreeze -u "$volume"
wait "$pid"; pid=
echo "PASS: the frozen volume held up nothing; the program ended within 2 s"
