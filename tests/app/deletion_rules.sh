#!/bin/sh
# The deletion rules through the real program, on a tmpfs HOME and two ext4 volumes, with items
# trashed by GLib's `gio trash` and their deletion dates set in their descriptions:
# - the age limit (30 days, the default) takes exactly the home trash's items trashed longer
#   ago, although the home volume has ample room;
# - the first volume's own settings turn the age limit off and cap its trash at a share of the
#   volume: its oldest items go until the trash is under that share, and an item older than
#   30 days stays there;
# - the second volume's own minimum, given as a size, is honoured where 10 % of its capacity
#   would not trigger;
# - `--check-now --dry-run`, run first, lists the same items in the same order as the pass
#   then deletes, and deletes nothing itself.
# Usage: deletion_rules.sh path/to/brindlewick. Exit 77 (skipped) without the tools.
set -u
program=$1
. "$(dirname "$0")/private_volume.sh"
for tool in gio mkfs.ext4; do
    command -v "$tool" >/dev/null || { echo "$tool is missing; skipped"; exit 77; }
done
enter_private_namespace "$@"

make_home rules
pid=
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null' EXIT
capped=$root/capped
sized=$root/sized
# The images' own room: the tmpfs over /mnt is too small to back what is written to them.
mkdir -p "$root/images"
mount -t tmpfs -o size=40m tmpfs "$root/images" || { echo "mounting a tmpfs is not permitted here; skipped"; exit 77; }
log=$root/images/stderr.log
for volume in "$capped" "$sized"; do
    mkdir -p "$volume"
    image=$root/images/$(basename "$volume").img
    truncate -s 16M "$image"
    mkfs.ext4 -q -m 0 "$image" && mount -o loop "$image" "$volume" ||
        { echo "no loop device here; skipped"; exit 77; }
done

bytes() { echo $(( $(stat -f -c "$2" "$1") * $(stat -f -c %S "$1") )); }

# trash NAME SIZE DAYS_AGO FOLDER: an item trashed by GLib DAYS_AGO days ago.
trash() {
    head -c "$2" /dev/zero > "$4/$1"
    HOME=$home gio trash "$4/$1" || exit 1
    info=$(grep -l "^Path=\(.*/\)\{0,1\}$1\$" "$4"/.Trash-0/info/*.trashinfo \
        "$home"/.local/share/Trash/info/*.trashinfo 2>/dev/null | head -n 1)
    [ -n "$info" ] || { echo "no description of $1"; exit 1; }
    sed -i "s/^DeletionDate=.*/DeletionDate=$(date -d "$3 days ago" +%Y-%m-%dT%H:%M:%S)/" "$info"
}
trash older 100000 45 "$home"
trash old 100000 35 "$home"
trash young 100000 10 "$home"

# The capped volume's trash may hold a fifth of it: five items of a tenth each, all trashed more
# than 30 days ago; the three oldest go, and the two left are older than the age limit.
tenth=$(( $(bytes "$capped" %b) / 10 ))
for item in c1:90 c2:80 c3:70 c4:60 c5:40; do
    trash "${item%%:*}" "$tenth" "${item##*:}" "$capped"
done

# The sized volume keeps 4 MB free, where 10 % would be 1.6 MB: it is left with 900 KB less
# than that, so that two items of 600 KB must go, the oldest first.
minimum=4000000
for item in s1:3 s2:2 s3:1; do
    trash "${item%%:*}" 600000 "${item##*:}" "$sized"
done
head -c $(( $(bytes "$sized" %a) - minimum + 900000 )) /dev/zero > "$sized/filler"
left=$(bytes "$sized" %a)
[ "$left" -lt "$minimum" ] && [ "$left" -gt $(( $(bytes "$sized" %b) / 10 )) ] ||
    { echo "could not fill $sized: $left bytes free"; exit 1; }

# The settings file as the preferences and the information panel write it; a volume without a
# UUID keeps its own values under its mount point.
key() { printf '%s' "$1" | sed 's|/|%252F|g'; }
mkdir -p "$home/.config/Brindlewick"
cat > "$home/.config/Brindlewick/Brindlewick.conf" <<SETTINGS
[General]
MaximumItemAgeDays=30

[Volumes]
$(key "$capped")\\MaximumItemAgeDays=0
$(key "$capped")\\MaximumTrashRatio=0.2
$(key "$sized")\\MinimumFreeSpaceSize=$minimum
SETTINGS

run() {
    env -i PATH="$PATH" HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_RUNTIME_DIR="$root/runtime" "$program" "$@"
}
fail() { echo "FAIL: $1"; echo "--- program's log:"; cat "$log"; exit 1; }

planned=$(run --check-now --dry-run 2>"$log") || fail "the dry run failed"
echo "--- dry run:"; echo "$planned"
for item in older old young c1 c2 c3 c4 c5 s1 s2 s3; do
    [ -n "$(ls "$home/.local/share/Trash/files/$item" "$capped/.Trash-0/files/$item" \
        "$sized/.Trash-0/files/$item" 2>/dev/null)" ] || fail "the dry run deleted $item"
done

env -i PATH="$PATH" HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_RUNTIME_DIR="$root/runtime" \
    "$program" 2> "$log" &
pid=$!
all_gone() {
    for item in "$@"; do
        [ ! -e "$item" ] || return 1
    done
}
wait_for 60 all_gone "$home/.local/share/Trash/files/older" "$home/.local/share/Trash/files/old" \
    "$capped/.Trash-0/files/c1" "$capped/.Trash-0/files/c2" "$capped/.Trash-0/files/c3" \
    "$sized/.Trash-0/files/s1" "$sized/.Trash-0/files/s2" || fail "the rules' items are not all gone"
sleep 3 # a later cycle must take nothing more
for item in "$home/.local/share/Trash/files/young" "$capped/.Trash-0/files/c4" "$capped/.Trash-0/files/c5" \
    "$sized/.Trash-0/files/s3"; do
    [ -e "$item" ] || fail "$item went, although no rule of its volume wanted it gone"
done

# The same items, in the same order, with the same reasons.
expected=$(echo "$planned" | cut -f 1,4)
# The history, in the order of the deletions, tells each item's reason and where it came from.
deleted=$(env -i PATH="$PATH" HOME="$home" "$program" --history --json |
    python3 -c 'import json, sys
for row in json.load(sys.stdin)["deletions"]:
    if row["result"] == "deleted":
        print(row["reason"] + "\t" + row["originalLocation"])')
[ "$deleted" = "$expected" ] || fail "the pass deleted
$deleted
where the dry run listed
$expected"
echo "PASS: each rule took exactly its items, as the dry run said, in its order"
