#!/bin/sh
# The command line, alone and against a running program: --status --json parses and its
# figures agree with the trash on disk, --check-now and --stop need a running program,
# --empty-now --yes empties the trashes (through the running program, then in the
# foreground, where SIGINT stops it) and nothing outside them, and wrong usage ends with
# status 2. Everything runs as nobody, so that no volume of the machine is writable and
# only the test's HOME is seen.
# Usage: command_line.sh path/to/brindlewick. Exit 77 (skipped) without mount rights.
set -u
program=$1
. "$(dirname "$0")/private_volume.sh"
enter_private_namespace "$@"

root=$(mktemp -d "/mnt/brindlewick-cli-XXXXXX") || exit 77
home=$root/home
chmod 755 "$root" && mkdir -p "$home" "$root/runtime"
mount -t tmpfs -o size=8m,uid=65534,gid=65534,mode=700 tmpfs "$home" ||
    { echo "mounting a tmpfs is not permitted here; skipped"; exit 77; }
chown 65534:65534 "$root/runtime" && chmod 700 "$root/runtime"
command -v python3 > /dev/null || { echo "no python3; skipped"; exit 77; }
pid=
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null' EXIT

as_nobody() {
    setpriv --reuid=65534 --regid=65534 --clear-groups \
        env -i PATH="$PATH" HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_RUNTIME_DIR="$root/runtime" "$@"
}
cli() { as_nobody "$program" "$@" < /dev/null; }
fail() { echo "FAIL: $1"; [ -f "$root/program.log" ] && { echo "--- program's log:"; cat "$root/program.log"; }; exit 1; }

# A classic and a freedesktop trash in HOME, and a file beside them that must stay.
fill_trashes() {
    as_nobody sh -c '
        mkdir -p "$HOME/.Trash/folder" "$HOME/.local/share/Trash/files" "$HOME/.local/share/Trash/info"
        head -c 3000 /dev/zero > "$HOME/.Trash/one"
        head -c 5000 /dev/zero > "$HOME/.Trash/folder/inner"
        head -c 7000 /dev/zero > "$HOME/.local/share/Trash/files/report.txt"
        printf "[Trash Info]\nPath=/tmp/report.txt\nDeletionDate=2026-01-02T03:04:05\n" \
            > "$HOME/.local/share/Trash/info/report.txt.trashinfo"
        echo precious > "$HOME/keep"'
}

# The JSON's home trash against the disk: three items, their bytes, both folders.
check_status() {
    cli --status --json > "$root/status.json" || fail "--status --json ended with status $?"
    python3 - "$root/status.json" "$home" <<'PY' || fail "the status does not agree with the trash on disk"
import json, os, sys
status = json.load(open(sys.argv[1]))
home = sys.argv[2]
assert set(status) >= {"trashes", "lastAutoDelete", "passRunning"}, status
trash = status["trashes"][0]
for key in ("name", "mountPoint", "folders", "items", "bytes", "capacity", "free", "minimumFree", "short"):
    assert key in trash, key
def size(path):
    total = 0
    for folder, dirs, files in os.walk(path):
        total += sum(os.lstat(os.path.join(folder, n)).st_size for n in dirs + files)
    return total + os.lstat(path).st_size
expected = {home + "/.Trash", home + "/.local/share/Trash/files"}
assert set(trash["folders"]) == expected, trash["folders"]
entries = [os.path.join(f, n) for f in expected for n in os.listdir(f)]
assert trash["items"] == len(entries) == 3, trash
assert trash["bytes"] == sum(size(e) for e in entries), (trash["bytes"], [size(e) for e in entries])
assert trash["mountPoint"] == home and 0 < trash["free"] <= trash["capacity"], trash
assert len(status["trashes"]) == 1, "a volume of the machine is listed: %s" % status["trashes"]
PY
}

emptied() { [ -z "$(find "$home/.Trash" "$home/.local/share/Trash/files" -mindepth 1)" ]; }
check_emptied() {
    emptied || fail "the trashes are not empty: $(ls -AR "$home/.Trash" "$home/.local/share/Trash")"
    [ "$(cat "$home/keep")" = precious ] || fail "the file beside the trashes changed"
    [ -z "$(ls -A "$home/.local/share/Trash/info")" ] || fail "a description of a deleted item is left"
}

# --- wrong usage, and the program's name and version
for args in "--bogus" "--json" "--status --stop" "--yes --status" "extra"; do
    # shellcheck disable=SC2086
    cli $args 2> /dev/null
    [ $? = 2 ] || fail "'$args' is not wrong usage"
done
cli --version | grep -q "^brindlewick [0-9]" || fail "--version"
cli --help | grep -q -- "--empty-now" || fail "--help does not name --empty-now"

# --- alone
fill_trashes
check_status
cli --check-now 2> /dev/null && fail "--check-now succeeded with no program running"
cli --stop 2> /dev/null && fail "--stop succeeded with no program running"
cli --status | grep -q "^TRASH" || fail "--status gives no table"

# --- against a running program
# Started directly, not through a function: $! is then the program itself.
setpriv --reuid=65534 --regid=65534 --clear-groups \
    env -i PATH="$PATH" HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_RUNTIME_DIR="$root/runtime" \
    "$program" 2> "$root/program.log" &
pid=$!
wait_for 30 cli --check-now > /dev/null 2>&1 || fail "--check-now did not reach the running program"
check_status
# The check's own pass, with nothing short of space, ends by itself.
pass_ended() {
    cli --status --json | python3 -c 'import json,sys; assert json.load(sys.stdin)["passRunning"] is False'
}
wait_for 10 pass_ended 2> /dev/null || fail "a pass keeps running in an idle program"
cli --stop | grep -q "No deletion pass" || fail "--stop of an idle program"
cli --empty-now --yes > /dev/null || fail "--empty-now --yes through the running program ended with $?"
wait_for 30 emptied || fail "the running program did not empty the trashes"
wait_for 10 sh -c "[ -z \"\$(ls -A '$home/.local/share/Trash/info')\" ]"
check_emptied
kill "$pid"
wait "$pid"
pid=

# --- in the foreground, with no program running
fill_trashes
cli --empty-now --yes 2> "$root/foreground.log" || { cat "$root/foreground.log"; fail "--empty-now --yes alone ended with $?"; }
check_emptied
grep -q "3 items deleted" "$root/foreground.log" || { cat "$root/foreground.log"; fail "no summary of the emptying"; }
cli --empty-now --yes | grep -q "empty" || fail "emptying empty trashes says nothing"
# --- Ctrl-C stops a foreground emptying after the item being deleted
as_nobody python3 -c 'import os
for i in range(3000): open(os.environ["HOME"] + "/.Trash/f%d" % i, "w").write("x")'
left() { find "$home/.Trash" -mindepth 1 | wc -l; }
setpriv --reuid=65534 --regid=65534 --clear-groups \
    env -i PATH="$PATH" HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_RUNTIME_DIR="$root/runtime" \
    "$program" --empty-now --yes < /dev/null 2> "$root/interrupted.log" &
emptying=$!
wait_for 30 sh -c "[ \$(find '$home/.Trash' -mindepth 1 | wc -l) -lt 3000 ]" || fail "the emptying did not start"
kill -INT "$emptying"
wait "$emptying"
[ $? = 1 ] || fail "a stopped emptying did not end with status 1"
grep -q "^Stopped: " "$root/interrupted.log" || { cat "$root/interrupted.log"; fail "no summary of the stop"; }
[ "$(left)" -gt 0 ] || fail "the emptying did not stop"
[ "$(cat "$home/keep")" = precious ] || fail "the file beside the trashes changed"
echo "PASS: the command line works alone and through the running program"
