#!/usr/bin/env python3
"""Watches a volume trash while the shredder destroys the item NAME, as fast as it can.

Fails (exit 1) when it ever sees a 0xFF byte in an item that still has its own name or whose
description is still there. With --restore, the first time it sees 0xFF it runs trash-restore
on the volume: that must restore the original bytes (FILL) or find nothing. With --kill SIGNAL
it sends SIGNAL to the process whose id PIDFILE holds the first time it sees 0xFF, and ends.
It creates READY once it watches. Exit 0 once the item is gone (or killed), 2 when the
overwrite was never seen before the timeout.
Usage: watch_overwrite.py TRASH NAME FILL READY [--restore VOLUME] [--kill SIGNAL PIDFILE]
"""
import os
import signal
import subprocess
import sys
import time

trash, name, fill, ready = sys.argv[1], sys.argv[2], sys.argv[3].encode(), sys.argv[4]
args = sys.argv[5:]
restore = args[args.index("--restore") + 1] if "--restore" in args else None
kill = (getattr(signal, "SIG" + args[args.index("--kill") + 1]), args[args.index("--kill") + 2]) if "--kill" in args else None
files, info = os.path.join(trash, "files"), os.path.join(trash, "info")
description = os.path.join(info, name + ".trashinfo")
probes = [0, 1 << 20, 8 << 20]


def fail(text):
    print("FAIL: " + text)
    sys.exit(1)


def whole(path):
    with open(path, "rb") as f:
        while True:
            block = f.read(1 << 20)
            if not block:
                return True
            if block.strip(fill):
                return False


seen = False
open(ready, "w").close()
deadline = time.time() + 120
while time.time() < deadline:
    try:
        entries = os.listdir(files)
    except OSError:
        entries = []
    if seen and not any(e for e in entries if e != "filler") and not os.path.exists(description):
        print("the item went; the overwrite was seen")
        sys.exit(0)
    for entry in entries:
        path = os.path.join(files, entry)
        try:
            fd = os.open(path, os.O_RDONLY | os.O_NOFOLLOW)
        except OSError:
            continue
        try:
            overwritten = any(os.pread(fd, 1, at) == b"\xff" for at in probes)
            inode = os.fstat(fd).st_ino
        except OSError:
            overwritten = False
        finally:
            os.close(fd)
        if not overwritten:
            continue
        # Read after the 0xFF: the name and the description the item has now.
        try:
            if os.lstat(os.path.join(files, name)).st_ino == inode:
                fail("the item has 0xFF bytes and still its own name")
        except FileNotFoundError:
            pass
        if os.path.exists(description):
            fail("the item has 0xFF bytes and its description is still there")
        if not seen and kill:
            os.kill(int(open(kill[1]).read()), kill[0])
            print("sent signal %d during the overwrite" % kill[0])
            sys.exit(0)
        if not seen and restore:
            run = subprocess.run(["trash-restore", restore], input=b"0\n", cwd=restore, capture_output=True)
            back = os.path.join(restore, name)
            if os.path.exists(back):
                if not whole(back):
                    fail("trash-restore gave back a changed file")
                print("trash-restore restored the original bytes")
            else:
                print("trash-restore found nothing to restore: " + run.stdout.decode(errors="replace").strip()[-80:])
        seen = True
print("the overwrite was never seen")
sys.exit(2)
