#!/bin/sh
# An interrupted shred (a logout's SIGTERM, a SIGKILL, at several moments) never leaves an
# item that a client shows as restorable with changed content, and the next start finishes
# the leftover. Each round trashes a large item with trash-put on a short ext4 volume and
# interrupts the program: when its overwrite starts (SIGTERM, SIGKILL) and just after start
# (SIGKILL, before or while the shred begins). Then every item `trash-list` shows must be
# whole, and a new start must remove what the interruption left, saying so in its log.
# Usage: shred_interrupted.sh path/to/brindlewick. Exit 77 (skipped) without the tools or rights.
set -u
program=$1
here=$(dirname "$0")
. "$here/private_volume.sh"
. "$here/shred_volume.sh"
for tool in trash-put trash-list mkfs.ext4 python3; do
    command -v "$tool" >/dev/null || { echo "$tool is missing; skipped"; exit 77; }
done
enter_private_namespace "$@"

make_home interrupted
log=$root/stderr.log
pid=
trap cleanup_volume EXIT
make_volume ext4 400
trash=$volume/.Trash-$(id -u)

# Every item trash-list shows is whole: its bytes are all the letter it was made of.
check_listed_items_whole() {
    HOME=$home trash-list 2>/dev/null | sed 's/^[0-9-]* [0-9:]* //' | while read -r original; do
        name=$(basename "$original")
        letter=$(printf '%s' "$name" | cut -c1)
        [ -z "$(tr -d "$letter" < "$trash/files/$name" | head -c 1)" ] ||
            { echo "trash-list shows $name with changed content"; exit 1; }
    done || fail "$1: a client shows a changed item as restorable"
}

round() { # NAME LETTER SIGNAL WHEN
    head -c 150000000 /dev/zero | tr '\0' "$2" > "$volume/$1"
    HOME=$home trash-put "$volume/$1" || fail "trash-put failed"
    rm -f "$volume/filler"
    fill_short 1000000
    if [ "$4" = overwrite ]; then
        watch_overwrite "$1" "$2" --kill "$3" "$root/pid"
        [ "$watched" = 0 ] || fail "$1: the overwrite was not seen, or a client could reach the item during it"
    else
        start_program
        sleep 0.3
        kill -s "$3" "$pid"
    fi
    wait "$pid" 2>/dev/null
    pid=
    check_listed_items_whole "$1 after $3"
    # The next start finishes what was begun: the volume's trash ends up empty.
    start_program
    wait_for 60 sh -c "[ -z \"\$(ls -A '$trash/files')\" ]" || fail "$1: the leftover stays after a new start"
    stop_program
    check_listed_items_whole "$1 after the new start"
}

round term t TERM overwrite
round kill k KILL overwrite
round early e KILL start
grep -q "Finishing the shred of $trash/files/term" "$log" || fail "no log line of the finished leftover after SIGTERM"
grep -q "Finishing the shred of $trash/files/kill" "$log" || fail "no log line of the finished leftover after SIGKILL"
echo "PASS: interrupted shreds left nothing changed that a client offers, and were finished at the next start"
