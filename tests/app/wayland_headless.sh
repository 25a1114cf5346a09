#!/bin/sh
# A Wayland session whose compositor is gone (WAYLAND_DISPLAY set, nothing listening, no X
# display), with the platform chosen by the session and asked for by name: the program must
# not abort in Qt's platform start (status 134) but keep running headless, say so in one log
# line, and answer the command line.
# Usage: wayland_headless.sh path/to/brindlewick. Exit 77 (skipped) without mount rights.
set -u
program=$1
. "$(dirname "$0")/private_volume.sh"
enter_private_namespace "$@"

make_home wayland
mkdir -p "$home/.Trash"
pid=
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null' EXIT

alive() { state=$(cut -d' ' -f3 "/proc/$1/stat" 2>/dev/null) && [ "$state" != Z ]; }
fail() { echo "FAIL: $1"; echo "--- program's log:"; cat "$log"; exit 1; }
run() {
    exec env -i PATH="$PATH" HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_RUNTIME_DIR="$root/runtime" \
        WAYLAND_DISPLAY=wayland-0 "$@"
}

round=0
for platform in "" wayland "wayland;xcb"; do
    # A log of its own each round: the background shell opens it only when it gets to run, so
    # a shared one could still hold the round before's "running headless" when first read.
    round=$((round + 1))
    log=$root/stderr-$round.log
    if [ -n "$platform" ]; then
        run QT_QPA_PLATFORM="$platform" "$program" 2> "$log" &
    else
        run "$program" 2> "$log" &
    fi
    pid=$!
    what="QT_QPA_PLATFORM='$platform'"
    # Up and holding the lock before the command line asks, or that would run alone.
    wait_for 30 grep -q "running headless" "$log" || { wait "$pid"; fail "$what: ended with status $? or said nothing"; }
    # It answers the command line once it runs; a program that aborted never does.
    wait_for 30 sh -c "env -i PATH='$PATH' HOME='$home' XDG_CONFIG_HOME='$home/.config' \
        XDG_RUNTIME_DIR='$root/runtime' '$program' --status | grep -q '^TRASH'" ||
        fail "$what: the program does not answer --status"
    alive "$pid" || { wait "$pid"; fail "$what: the program ended with status $?"; }
    [ "$(grep -c "running headless" "$log")" = 1 ] || fail "$what: not one line saying it runs headless"
    grep -q "no Wayland compositor answers at WAYLAND_DISPLAY=wayland-0" "$log" || fail "$what: the line does not say why"
    grep -q "Could not find the Qt platform plugin\|could not connect to display" "$log" &&
        fail "$what: Qt tried a platform that cannot work"
    kill "$pid"
    wait "$pid"
    status=$?
    [ "$status" != 134 ] || fail "$what: the program aborted"
    pid=
done
echo "PASS: without a compositor or X display the program runs headless"
