#!/bin/sh
# --history reads the history of deletions straight from its database, with the program
# running or not: no database yet lists nothing and makes none; recorded deletions come out
# oldest first, each deleted item with its original location and reason and a failed item with
# its reason, in JSON and as a table; --since keeps the later ones; a damaged database fails
# with status 1 and wrong usage with 2. The deletions are fed to the history through
# history_feeder, which records them with the program's own listener. Everything runs as
# nobody on a tmpfs HOME in a private mount namespace.
# Usage: history_command.sh path/to/brindlewick path/to/history_feeder. Exit 77 (skipped)
# without mount rights.
set -u
program=$1
feeder=$2
. "$(dirname "$0")/private_volume.sh"
enter_private_namespace "$@"

root=$(mktemp -d "/mnt/brindlewick-history-XXXXXX") || exit 77
home=$root/home
chmod 755 "$root" && mkdir -p "$home" "$root/runtime"
mount -t tmpfs -o size=8m,uid=65534,gid=65534,mode=700 tmpfs "$home" ||
    { echo "mounting a tmpfs is not permitted here; skipped"; exit 77; }
chown 65534:65534 "$root/runtime" && chmod 700 "$root/runtime"
command -v python3 > /dev/null || { echo "no python3; skipped"; exit 77; }
pid=
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null' EXIT

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

# --- three deletions, 300, 200 and 100 days ago: an emptied freedesktop item, a classic item
# taken for free space (no description: its path is where it came from), and a failed one.
now=$(date +%s)
day=86400
t1=$((now - 300 * day)) t2=$((now - 200 * day)) t3=$((now - 100 * day))
fd=$home/.local/share/Trash/files
latin1=$(printf 'caf\351.txt')
printf '%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\n' \
    "$t1" Home "" "$fd/report.txt" "/srv/docs/report.txt" 7000 "$((t1 - day))" "forced emptying" deleted \
    "$t2" Home "" "$home/.Trash/$latin1" "" 3000 - "free space" deleted \
    "$t3" USB /media/u/USB "/media/u/USB/.Trash-65534/files/locked" "/media/u/USB/locked" 5000 "$t3" "chosen items" \
    "Permission denied" > "$root/events"
as_nobody "$feeder" < "$root/events" || fail "the feeder could not record the deletions"
[ "$(stat -c %a "$state/brindlewick")" = 700 ] || fail "the history's folder is not private"

check_json() {
    cli --history --json > "$root/history.json" || fail "--history --json ended with status $?"
    python3 - "$root/history.json" "$home" "$t1" <<'PY' || fail "the listed deletions are not those recorded"
import datetime, json, sys
rows = json.load(open(sys.argv[1], encoding="utf-8"))["deletions"]
home, t1 = sys.argv[2], int(sys.argv[3])
assert [r["reason"] for r in rows] == ["forced emptying", "free space", "chosen items"], rows
first, classic, failed = rows
assert first["originalLocation"] == "/srv/docs/report.txt" and first["result"] == "deleted", first
assert first["path"] == home + "/.local/share/Trash/files/report.txt" and first["bytes"] == 7000, first
assert first["failure"] is None and first["volume"] is None and first["trash"] == "Home", first
when = datetime.datetime.fromisoformat(first["time"].replace("Z", "+00:00"))
assert int(when.timestamp()) == t1 and first["trashedOn"].endswith("Z"), first
# A name that is not UTF-8 still gives valid JSON, and a missing location is the trash path.
assert classic["originalLocation"] == classic["path"] == home + "/.Trash/caf\ufffd.txt", classic
assert classic["trashedOn"] is None, classic
assert failed["result"] == "failed" and failed["failure"] == "Permission denied", failed
assert failed["originalLocation"] == "/media/u/USB/locked" and failed["volume"] == "/media/u/USB", failed
PY
}
check_json
since=$(date -u -d "@$((t3 - day))" +%Y-%m-%d)
cli --history --json --since "$since" | python3 -c '
import json, sys
rows = json.load(sys.stdin)["deletions"]
assert [r["reason"] for r in rows] == ["chosen items"], rows' || fail "--since $since keeps other deletions"
cli --history > "$root/table" || fail "--history ended with status $?"
grep -q "/srv/docs/report.txt" "$root/table" && grep -q "not deleted: Permission denied" "$root/table" ||
    { cat "$root/table"; fail "the table lacks a deletion"; }

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

# --- a damaged database is no history
head -c 8192 /dev/urandom > "$root/garbage"
as_nobody sh -c "cat '$root/garbage' > '$state/brindlewick/history.sqlite3'; rm -f '$state/brindlewick/history.sqlite3-wal' '$state/brindlewick/history.sqlite3-shm'"
cli --history > /dev/null 2> "$root/damaged.log"
[ $? = 1 ] || fail "a damaged history did not end with status 1"
grep -q "cannot be read" "$root/damaged.log" || { cat "$root/damaged.log"; fail "no word of the damage"; }
echo "PASS: --history lists the recorded deletions with the program running or not"
