#!/bin/sh
# Another user takes the program's place first. With XDG_RUNTIME_DIR unset, they put a
# socket that answers everything and a lock file under the program's name in the shared
# temporary folder, or make the folder of that name themselves; with XDG_RUNTIME_DIR
# pointing at a folder of theirs, the same. The program must not start (status 1, with a
# line that says why), and the command line must not ask their socket. Once the squat is
# gone, the program makes a private folder of its own, outside the stranger's, and a second
# start reaches the first.
# Usage: runtime_folder.sh path/to/brindlewick. Exit 77 (skipped) without mount rights.
set -u
program=$1
. "$(dirname "$0")/private_volume.sh"
enter_private_namespace "$@"
# The system's own, which another user can run (trash-cli brings it).
python=/usr/bin/python3
[ -x "$python" ] || { echo "no python3; skipped"; exit 77; }

make_home runtime
chmod 755 "$root"
tmp=$root/tmp
stranger=$root/stranger
mkdir -p "$tmp" "$stranger"
chmod 1777 "$tmp"
chown 65534:65534 "$stranger" && chmod 700 "$stranger"
own=$tmp/brindlewick-$(id -u)
heard=$root/heard
: > "$heard" && chmod 666 "$heard"
squatter=
pid=
trap '[ -n "$squatter" ] && kill "$squatter" 2>/dev/null; [ -n "$pid" ] && kill "$pid" 2>/dev/null; wait' EXIT

fail() { echo "FAIL: $1"; for f in "$root"/log.*; do [ -f "$f" ] && { echo "--- $f"; cat "$f"; }; done; exit 1; }
run() { # run NAME [XDG_RUNTIME_DIR] [ARGS...]: the program in the test's environment
    name=$1 runtime=$2
    shift 2
    env -i PATH="$PATH" HOME="$home" XDG_CONFIG_HOME="$home/.config" TMPDIR="$tmp" \
        ${runtime:+XDG_RUNTIME_DIR="$runtime"} timeout 30 "$program" "$@" 2> "$root/log.$name" < /dev/null
}

# squat SOCKET LOCK [FOLDER]: as nobody, a socket that says "done" to any request, and
# writes what it heard.
squat() {
    setpriv --reuid=65534 --regid=65534 --clear-groups "$python" - "$@" "$heard" <<'PY' &
import os, socket, sys
path, lock, folder, heard = sys.argv[1], sys.argv[2], sys.argv[3], sys.argv[4]
if folder:
    os.mkdir(folder)
    os.chmod(folder, 0o777)
open(lock, "w").close()
server = socket.socket(socket.AF_UNIX)
server.bind(path)
os.chmod(path, 0o777)
server.listen(64)
while True:
    client, _ = server.accept()
    with open(heard, "ab") as out:
        out.write(client.recv(100))
    client.sendall(b"done\n")
    client.close()
PY
    squatter=$!
    wait_for 10 test -S "$1" || fail "the squatter's socket did not appear"
}
unsquat() { kill "$squatter"; wait "$squatter" 2>/dev/null; squatter=; rm -rf "$own" "$own.lock"; }

refused() { # refused CASE [XDG_RUNTIME_DIR]
    run "$1" "${2:-}"
    status=$?
    [ $status = 1 ] || fail "$1: the program ended with status $status beside a stranger's socket"
    grep -q "does not start" "$root/log.$1" || fail "$1: no line says why the program does not start"
    [ "$(grep -c . "$root/log.$1")" = 1 ] || fail "$1: more than one line"
    run "$1-cli" "${2:-}" --check-now
    status=$?
    [ $status = 1 ] || fail "$1: --check-now ended with status $status"
    [ ! -s "$heard" ] || fail "$1: the stranger's socket was asked: $(cat "$heard")"
}

# The names a program without XDG_RUNTIME_DIR used to take in the shared folder.
squat "$own" "$own.lock" ""
refused name-in-shared-folder
refused name-with-strangers-runtime "$stranger"
unsquat
# A folder of that name, made by the stranger and open to them.
squat "$own/brindlewick" "$own/brindlewick.lock" "$own"
refused folder-in-shared-folder
refused folder-with-strangers-runtime "$stranger"
unsquat

# Without a squatter: the program's own folder, private, and one program.
env -i PATH="$PATH" HOME="$home" XDG_CONFIG_HOME="$home/.config" TMPDIR="$tmp" XDG_RUNTIME_DIR="$stranger" \
    "$program" 2> "$root/log.first" &
pid=$!
wait_for 30 test -S "$own/brindlewick" || fail "the program did not listen in its own folder"
[ "$(stat -c '%u %a %F' "$own")" = "$(id -u) 700 directory" ] || fail "its folder is $(stat -c '%u %a %F' "$own")"
run second "$stranger" || fail "a second start ended with status $?"
grep -q "Already running; that program checks the trashes now and shows its information panel where it has a display" "$root/log.second" ||
    fail "the second start did not reach the first"
run cli "$stranger" --check-now || fail "--check-now ended with status $?"
[ -z "$(ls -A "$stranger")" ] || fail "something was made in the stranger's folder: $(ls -A "$stranger")"
echo "PASS: no start beside a stranger's socket; a private folder of its own otherwise"
