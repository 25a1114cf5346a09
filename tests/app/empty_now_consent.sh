#!/bin/sh
# --empty-now deletes exactly what the user agreed to: on a pseudo-terminal, items trashed
# while its question waits for an answer stay (alone and through the running program), and
# without a terminal it refuses to delete without --yes (status 2, one line). Runs as nobody
# on a tmpfs HOME, so that only the test's trash is seen.
# Usage: empty_now_consent.sh path/to/brindlewick. Exit 77 (skipped) without the rights.
set -u
program=$1
here=$(dirname "$0")
. "$here/private_volume.sh"
command -v python3 > /dev/null || { echo "no python3; skipped"; exit 77; }
enter_private_namespace "$@"

root=$(mktemp -d "/mnt/brindlewick-consent-XXXXXX") || exit 77
home=$root/home
chmod 755 "$root" && mkdir -p "$home" "$root/runtime"
mount -t tmpfs -o size=8m,uid=65534,gid=65534,mode=700 tmpfs "$home" ||
    { echo "mounting a tmpfs is not permitted here; skipped"; exit 77; }
chown 65534:65534 "$root/runtime" && chmod 700 "$root/runtime"
pid=
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null' EXIT

as_nobody() {
    setpriv --reuid=65534 --regid=65534 --clear-groups \
        env -i PATH="$PATH" HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_RUNTIME_DIR="$root/runtime" "$@"
}
fail() { echo "FAIL: $1"; [ -f "$root/answer.log" ] && { echo "--- terminal:"; cat "$root/answer.log"; }; exit 1; }
trash_items() { # NAME...: items of the freedesktop home trash, each with its description
    for name in "$@"; do
        as_nobody sh -c "mkdir -p \"\$HOME/.local/share/Trash/files\" \"\$HOME/.local/share/Trash/info\"
            head -c 4000 /dev/zero > \"\$HOME/.local/share/Trash/files/$name\"
            printf '[Trash Info]\nPath=/tmp/$name\nDeletionDate=2026-01-02T03:04:05\n' \
                > \"\$HOME/.local/share/Trash/info/$name.trashinfo\""
    done
}
items() { ls "$home/.local/share/Trash/files" | tr '\n' ' '; }

# answer_on_terminal NEW...: runs --empty-now on a pseudo-terminal, trashes NEW while its
# question waits, then answers "y".
answer_on_terminal() {
    as_nobody python3 - "$program" "$@" > "$root/answer.log" 2>&1 <<'PY'
import os, pty, subprocess, sys, time
program, new = sys.argv[1], sys.argv[2:]
pid, fd = pty.fork()
if pid == 0:
    os.execv(program, [program, "--empty-now"])
seen = b""
deadline = time.time() + 60
while b"[y/N]" not in seen and time.time() < deadline:
    seen += os.read(fd, 1024)
print(seen.decode(errors="replace"))
trash = os.environ["HOME"] + "/.local/share/Trash"
for name in new:
    open(trash + "/files/" + name, "w").write("n" * 4000)
    open(trash + "/info/" + name + ".trashinfo", "w").write("[Trash Info]\nPath=/tmp/%s\nDeletionDate=2026-01-02T03:04:05\n" % name)
os.write(fd, b"y\n")
out = b""
while True:
    try:
        chunk = os.read(fd, 1024)
    except OSError:
        break
    if not chunk:
        break
    out += chunk
print(out.decode(errors="replace"))
_, status = os.waitpid(pid, 0)
sys.exit(os.waitstatus_to_exitcode(status))
PY
}

# --- without a terminal
trash_items old1 old2
as_nobody "$program" --empty-now < /dev/null > /dev/null 2> "$root/refusal.log"
[ $? = 2 ] || fail "--empty-now without a terminal and without --yes did not end with status 2"
[ "$(wc -l < "$root/refusal.log")" = 1 ] || fail "the refusal is not one line: $(cat "$root/refusal.log")"
[ "$(items)" = "old1 old2 " ] || fail "--empty-now without a terminal deleted something"

# --- alone, on a terminal
answer_on_terminal new1 new2 || fail "--empty-now on a terminal ended with $?"
grep -q "Shred 2 items" "$root/answer.log" || fail "the question did not count the 2 items"
[ "$(items)" = "new1 new2 " ] || fail "the trash holds '$(items)', not the items trashed while the question waited"
[ -f "$home/.local/share/Trash/info/new1.trashinfo" ] || fail "the description of a new item went"

# --- through the running program
setpriv --reuid=65534 --regid=65534 --clear-groups \
    env -i PATH="$PATH" HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_RUNTIME_DIR="$root/runtime" \
    "$program" 2> "$root/program.log" &
pid=$!
wait_for 30 as_nobody "$program" --check-now > /dev/null 2>&1 || fail "the running program did not answer"
answer_on_terminal new3 || fail "--empty-now through the running program ended with $?"
wait_for 30 sh -c "[ ! -e '$home/.local/share/Trash/files/new1' ]" || fail "the running program did not empty the trash"
sleep 2
[ "$(items)" = "new3 " ] || fail "the trash holds '$(items)' after the running program's emptying, not new3"
echo "PASS: --empty-now took exactly the items the user agreed to"
