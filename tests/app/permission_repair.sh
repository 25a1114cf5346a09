#!/bin/sh
# The permission repair end to end. A local account made by the test empties its trash with
# the real program (--empty-now --yes in the foreground); a trashed folder of the user's holds
# root's folder (mode 755) with root's files and a folder below it. The repair runs the real
# helper through a stand-in for pkexec that grants as pkexec does: it hands the caller's
# standard input, output and error to the helper, started as root with PKEXEC_UID set to the
# caller's uid. The item must go completely, and nothing in it may ever become the user's or
# change its mode meanwhile, which a watcher checks all along.
# Usage: permission_repair.sh path/to/brindlewick path/to/brindlewick-repair.
# Exit 77 (skipped) without root, mount rights, python3 or useradd.
set -u
program=$1
helper=$2
. "$(dirname "$0")/private_volume.sh"
enter_private_namespace "$@"

python=/usr/bin/python3
[ -x "$python" ] || { echo "no python3; skipped"; exit 77; }
command -v useradd > /dev/null || { echo "no useradd; skipped"; exit 77; }
make_home repair
chmod 755 "$root"

name=bwrepair$$
server=
watcher=
made=
cleanup() {
    [ -n "$watcher" ] && kill "$watcher" 2> /dev/null
    [ -n "$server" ] && kill "$server" 2> /dev/null
    # The account files may be locked by another test for a moment.
    if [ -n "$made" ]; then
        for _ in $(seq 50); do userdel "$name" 2> /dev/null && break; sleep 0.1; done
    fi
}
trap cleanup EXIT
for _ in $(seq 50); do
    useradd -M -U -d "$home" -s /usr/sbin/nologin "$name" 2> /dev/null && made=1 && break
    sleep 0.1
done
[ -n "$made" ] || { echo "cannot make an account; skipped"; exit 77; }
uid=$(id -u "$name")
chown "$name:$name" "$home" "$home/.config" "$root/runtime"

fail() {
    echo "FAIL: $1"
    for file in "$root/program.log" "$root/server.log" "$root/changes"; do
        [ -s "$file" ] && { echo "--- $file:"; cat "$file"; }
    done
    exit 1
}
as_user() {
    setpriv --reuid="$uid" --regid="$uid" --clear-groups \
        env -i PATH="$root/bin:$PATH" HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_RUNTIME_DIR="$root/runtime" "$@"
}

# The granting stand-in: a root server that starts the helper for whoever connects, with the
# caller's descriptors, and answers with the helper's exit status; and the pkexec in PATH.
cat > "$root/grant-server.py" << 'PY'
import os, socket, struct, subprocess, sys
path, helper, log = sys.argv[1:4]
server = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
server.bind(path)
os.chmod(path, 0o666)
server.listen(4)
while True:
    conn, _ = server.accept()
    _, uid, _ = struct.unpack("3i", conn.getsockopt(socket.SOL_SOCKET, socket.SO_PEERCRED, struct.calcsize("3i")))
    _, fds, _, _ = socket.recv_fds(conn, 1, 3)
    with open(log, "a") as out:
        out.write("granted %d\n" % uid)
    child = subprocess.Popen([helper], stdin=fds[0], stdout=fds[1], stderr=fds[2], env={"PKEXEC_UID": str(uid)})
    for fd in fds:
        os.close(fd)
    conn.send(bytes([child.wait() & 0xff]))
    conn.close()
PY
cat > "$root/grant-client.py" << 'PY'
import socket, sys
conn = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
conn.connect(sys.argv[1])
socket.send_fds(conn, [b"x"], [0, 1, 2])
status = conn.recv(1)
sys.exit(status[0] if status else 127)
PY
mkdir -p "$root/bin"
printf '#!/bin/sh\nexec %s %s %s\n' "$python" "$root/grant-client.py" "$root/grant.sock" > "$root/bin/pkexec"
chmod 755 "$root/bin/pkexec"
"$python" "$root/grant-server.py" "$root/grant.sock" "$helper" "$root/server.log" 2> "$root/server.err" &
server=$!
wait_for 10 test -S "$root/grant.sock" || fail "the granting stand-in did not start: $(cat "$root/server.err")"

# The user's trashed folder, with root's folder inside.
as_user sh -c '
    mkdir -p "$HOME/.local/share/Trash/files/folder" "$HOME/.local/share/Trash/info"
    echo mine > "$HOME/.local/share/Trash/files/folder/own"
    printf "[Trash Info]\nPath=/tmp/folder\nDeletionDate=2026-01-02T03:04:05\n" \
        > "$HOME/.local/share/Trash/info/folder.trashinfo"' || fail "the trash could not be filled"
item=$home/.local/share/Trash/files/folder
mkdir -p "$item/sub/deeper"
chmod 755 "$item/sub" "$item/sub/deeper"
head -c 4096 /dev/zero > "$item/sub/file"
echo "root's words" > "$item/sub/deeper/private"
chmod 600 "$item/sub/deeper/private"
as_user test -w "$item/sub" && fail "the user may write root's folder: nothing to repair"

# The watcher: every owner and mode below root's folder, as they were, until the end.
find "$item/sub" -printf '%U %m %p\n' | sort > "$root/before"
(
    while :; do
        find "$item/sub" -printf '%U %m %p\n' 2> /dev/null | sort | comm -13 "$root/before" - >> "$root/changes"
        sleep 0.02
    done
) &
watcher=$!

as_user "$program" --empty-now --yes < /dev/null > "$root/program.out" 2> "$root/program.log"
status=$?
kill "$watcher" 2> /dev/null
wait "$watcher" 2> /dev/null
watcher=

[ $status = 0 ] || fail "--empty-now ended with status $status"
grep -q "granted $uid" "$root/server.log" || fail "the helper was never started for the user"
[ -z "$(ls -A "$home/.local/share/Trash/files")" ] || fail "the trash is not empty: $(ls -AR "$home/.local/share/Trash/files")"
[ -z "$(ls -A "$home/.local/share/Trash/info")" ] || fail "a description of a deleted item is left"
[ ! -s "$root/changes" ] || fail "an entry of root's folder changed its owner or mode"
grep -q "Permission repair removed 3 entries" "$root/program.log" || fail "the program did not hear what the helper removed"
echo "PASS: the trashed folder went completely, and nothing of root's became the user's"
