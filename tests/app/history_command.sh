#!/bin/sh
# --history reads the history of deletions straight from its database, with the program
# running or not: no database yet lists nothing and makes none; a real emptying
# (--empty-now --yes) of items trashed with GLib's `gio trash` and of a classic item lists
# each deleted item with its original location and reason, and an item that cannot be
# removed (a file system mounted inside it) with its reason and failure, in JSON and as a
# table; --since keeps those from that day on; a damaged database fails with status 1 and
# wrong usage with 2. A pass killed while it deletes loses no committed row, and after it
# new deletions are recorded. Everything runs as nobody on a tmpfs HOME in a private mount
# namespace.
# Usage: history_command.sh path/to/brindlewick. Exit 77 (skipped) without mount rights.
set -u
program=$1
. "$(dirname "$0")/private_volume.sh"
enter_private_namespace "$@"

root=$(mktemp -d "/mnt/brindlewick-history-XXXXXX") || exit 77
home=$root/home
chmod 755 "$root" && mkdir -p "$home" "$root/runtime"
mount -t tmpfs -o size=64m,nr_inodes=40000,uid=65534,gid=65534,mode=700 tmpfs "$home" ||
    { echo "mounting a tmpfs is not permitted here; skipped"; exit 77; }
chown 65534:65534 "$root/runtime" && chmod 700 "$root/runtime"
for tool in python3 gio; do
    command -v "$tool" > /dev/null || { echo "$tool is missing; skipped"; exit 77; }
done
pid=
stuck=
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null; [ -n "$stuck" ] && umount "$stuck"' EXIT

state=$home/state
as_nobody() {
    setpriv --reuid=65534 --regid=65534 --clear-groups \
        env -i PATH="$PATH" HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_STATE_HOME="$state" \
        XDG_RUNTIME_DIR="$root/runtime" "$@"
}
cli() { as_nobody "$program" "$@" < /dev/null; }
fail() { echo "FAIL: $1"; [ -f "$root/program.log" ] && { echo "--- program's log:"; cat "$root/program.log"; }; exit 1; }

# --- nothing recorded yet
[ "$(cli --history --json)" = '{"deletions":[]}' ] || fail "an empty history is not an empty list"
cli --history | grep -q "No deletions recorded" || fail "an empty history's table"
[ -e "$state" ] && fail "reading the history made its folder"

# --- a real emptying: two items trashed by GLib 300 and 200 days ago, a classic item (no
# description: its path is where it came from, and its name is not UTF-8), and a folder that
# cannot be removed because a file system is mounted inside it.
fd=$home/.local/share/Trash/files
latin1=$(printf 'caf\351.txt')
# gtrash NAME BYTES DAYS_AGO: $home/docs/NAME trashed by GLib DAYS_AGO days ago.
gtrash() {
    as_nobody sh -c "mkdir -p \"\$HOME/docs\" && head -c $2 /dev/zero > \"\$HOME/docs/$1\" &&
        gio trash \"\$HOME/docs/$1\"" || fail "gio trash $1 failed"
    as_nobody sed -i "s/^DeletionDate=.*/DeletionDate=$(date -d "$3 days ago" +%Y-%m-%dT%H:%M:%S)/" \
        "$home/.local/share/Trash/info/$1.trashinfo" || fail "no description of $1"
}
gtrash report.txt 7000 300
as_nobody mkdir -p "$home/docs/stuck/inner"
as_nobody sh -c "gio trash \"\$HOME/docs/stuck\"" && [ -d "$fd/stuck/inner" ] || fail "gio trash stuck failed"
as_nobody sed -i "s/^DeletionDate=.*/DeletionDate=$(date -d "200 days ago" +%Y-%m-%dT%H:%M:%S)/" \
    "$home/.local/share/Trash/info/stuck.trashinfo" || fail "no description of stuck"
as_nobody sh -c "mkdir -p \"\$HOME/.Trash\" && head -c 3000 /dev/zero > \"\$HOME/.Trash/$latin1\" &&
    touch -d '100 days ago' \"\$HOME/.Trash/$latin1\""
stuck=$fd/stuck/inner
mount -t tmpfs -o size=64k tmpfs "$stuck" || fail "cannot mount inside the trashed folder"
cli --empty-now --yes > "$root/empty.log" 2>&1
[ -e "$fd/report.txt" ] || [ -e "$home/.Trash/$latin1" ] && { cat "$root/empty.log"; fail "the emptying left deletable items"; }
umount "$stuck" && stuck=
# Gone, so that the running program below finds nothing of its own to delete.
as_nobody rm -rf "$fd/stuck" "$home/.local/share/Trash/info/stuck.trashinfo"
reason="command line"
[ "$(stat -c %a "$state/brindlewick")" = 700 ] || fail "the history's folder is not private"

# check_json: the deletions of that emptying, each with its place, origin and reason.
check_json() {
    cli --history --json > "$root/history.json" || fail "--history --json ended with status $?"
    python3 - "$root/history.json" "$home" "$reason" <<'PY' || fail "the listed deletions are not those of the emptying"
import datetime, json, sys, time
rows = json.load(open(sys.argv[1], encoding="utf-8"))["deletions"]
home, reason = sys.argv[2], sys.argv[3]
trash = home + "/.local/share/Trash/files/"
by_path = {r["path"]: r for r in rows}
assert len(rows) == len(by_path) == 3, rows
report, stuck = by_path[trash + "report.txt"], by_path[trash + "stuck"]
# A name that is not UTF-8 still gives valid JSON, and a missing location is the trash path.
classic = by_path[home + "/.Trash/caf\ufffd.txt"]
assert all(r["reason"] == reason and r["trash"] == "home" and r["volume"] is None for r in rows), rows
assert report["originalLocation"] == home + "/docs/report.txt" and report["result"] == "deleted", report
assert report["bytes"] == 7000 and report["failure"] is None, report
def days_ago(text):
    when = datetime.datetime.fromisoformat(text.replace("Z", "+00:00")).timestamp()
    return round((time.time() - when) / 86400)
assert days_ago(report["trashedOn"]) == 300 and days_ago(report["time"]) == 0, report
# A classic item was trashed when it was last modified.
assert classic["originalLocation"] == classic["path"] and days_ago(classic["trashedOn"]) == 100, classic
assert classic["result"] == "deleted" and classic["bytes"] == 3000, classic
assert stuck["originalLocation"] == home + "/docs/stuck" and stuck["result"] == "failed", stuck
assert stuck["failure"] and days_ago(stuck["trashedOn"]) == 200, stuck
assert [r["time"] for r in rows] == sorted(r["time"] for r in rows), rows
PY
}
check_json
today=$(date -u +%Y-%m-%d)
tomorrow=$(date -u -d tomorrow +%Y-%m-%d)
[ "$(cli --history --json --since "$tomorrow")" = '{"deletions":[]}' ] || fail "--since $tomorrow keeps earlier deletions"
[ "$(cli --history --json --since "$today")" = "$(cli --history --json)" ] || fail "--since $today drops today's deletions"
cli --history > "$root/table" || fail "--history ended with status $?"
grep -q "$home/docs/report.txt" "$root/table" && grep -q "not deleted: " "$root/table" ||
    { cat "$root/table"; fail "the table lacks a deletion"; }
# In the user's language: the table's words, the usage messages; the JSON keeps its own words.
german() { as_nobody env LANG=de_DE.UTF-8 "$program" "$@" < /dev/null; }
german --history > "$root/table.de" && grep -q "Grund" "$root/table.de" && grep -q "nicht gelöscht: " "$root/table.de" ||
    { cat "$root/table.de"; fail "the history's table is not in German under LANG=de_DE.UTF-8"; }
grep -q "^$today " "$root/table.de" || { cat "$root/table.de"; fail "the command line's dates are not ISO 8601 in German"; }
german --status | grep -q "^PAPIERKORB" || fail "the status table is not in German under LANG=de_DE.UTF-8"
german --history --json | grep -q '"result":"deleted"' || fail "the JSON changed its words with the language"
german --status --since 2026-01-01 2>&1 | grep -q "gehört zu --history" || fail "a usage message is not in German"
# An output that cannot be written is a failure, never a success with half a list.
for args in "--history" "--history --json" "--status" "--status --json"; do
    # shellcheck disable=SC2086
    cli $args > /dev/full 2> /dev/null && fail "'$args' into a full disk ended with status 0"
done

# --- wrong usage
for args in "--history --since" "--history --since yesterday" "--since 2026-01-01" "--history --status"; do
    # shellcheck disable=SC2086
    cli $args > /dev/null 2>&1
    [ $? = 2 ] || fail "'$args' is not wrong usage"
done

# --- with the program running, the same
setpriv --reuid=65534 --regid=65534 --clear-groups \
    env -i PATH="$PATH" HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_STATE_HOME="$state" \
    XDG_RUNTIME_DIR="$root/runtime" "$program" 2> "$root/program.log" &
pid=$!
wait_for 30 cli --check-now > /dev/null 2>&1 || fail "the program did not start"
check_json
kill "$pid"
wait "$pid"
pid=

# --- a pass killed while it deletes: every row that was committed names an item that is
# really gone, and a later pass is recorded.
bulk=12000
as_nobody python3 - "$bulk" <<'PY' || fail "could not fill the trash"
import os, sys
trash = os.environ["HOME"] + "/.Trash"
for i in range(int(sys.argv[1])):
    with open("%s/bulk%05d" % (trash, i), "w") as item:
        item.write("b")
PY
left() { ls "$home/.Trash" | wc -l; }
# Started as the daemon is, so that $! is the program itself.
setpriv --reuid=65534 --regid=65534 --clear-groups \
    env -i PATH="$PATH" HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_STATE_HOME="$state" \
    XDG_RUNTIME_DIR="$root/runtime" "$program" --empty-now --yes < /dev/null > "$root/killed.log" 2>&1 &
pid=$!
# Killed once it has committed some of its deletions.
committed() { cli --history --json 2> /dev/null | grep -q '/bulk'; }
wait_for 60 committed || fail "the pass committed none of its deletions"
kill -9 "$pid"
wait "$pid" 2> /dev/null
pid=
[ "$(left)" -gt 0 ] || fail "the pass ended before it was killed; more items are needed"
[ -s "$root/killed.log" ] && grep -q "items deleted" "$root/killed.log" && fail "the pass ended before it was killed"
# Over a megabyte of rows: written on the home's tmpfs, not on the small one laid over /mnt.
cli --history --json > "$home/killed.json" || fail "--history after a killed pass ended with status $?"
python3 - "$home/killed.json" "$home/.Trash" <<'PY' || fail "a row of the killed pass names an item that is still there"
import json, os, sys
rows = [r for r in json.load(open(sys.argv[1], encoding="utf-8"))["deletions"] if "/bulk" in r["path"]]
print("%d of the killed pass's deletions were committed, %d items left" % (len(rows), len(os.listdir(sys.argv[2]))))
assert rows, "no row of the killed pass was committed"
assert all(r["result"] == "deleted" and not os.path.lexists(r["path"]) for r in rows), rows
assert len(set(r["path"] for r in rows)) == len(rows), "a deletion is listed twice"
PY
gtrash after.txt 500 1
cli --empty-now --yes > "$root/after.log" 2>&1 || { cat "$root/after.log"; fail "the emptying after the killed pass failed"; }
[ "$(left)" = 0 ] || fail "the emptying after the killed pass left items"
cli --history --json | python3 -c '
import json, sys
rows = json.load(sys.stdin)["deletions"]
after = [r for r in rows if r["originalLocation"].endswith("/docs/after.txt")]
assert len(after) == 1 and after[0]["result"] == "deleted", after' || fail "a deletion after the killed pass is not recorded"

# --- a damaged database is no history
head -c 8192 /dev/urandom > "$root/garbage"
as_nobody sh -c "cat '$root/garbage' > '$state/brindlewick/history.sqlite3'; rm -f '$state/brindlewick/history.sqlite3-wal' '$state/brindlewick/history.sqlite3-shm'"
cli --history > /dev/null 2> "$root/damaged.log"
[ $? = 1 ] || fail "a damaged history did not end with status 1"
grep -q "cannot be read" "$root/damaged.log" || { cat "$root/damaged.log"; fail "no word of the damage"; }
echo "PASS: --history lists the recorded deletions with the program running or not"
