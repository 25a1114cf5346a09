#!/bin/sh
# A desktop without a tray (an X display with no tray host): ten seconds after the start the
# information panel opens in place of the tray icon, with the menu's commands; once closed,
# a second start, as from the application menu, hands over to the running program and opens
# it again. The panel is looked for in the display's window list.
# Usage: no_tray_panel.sh path/to/brindlewick. Exit 77 (skipped) without mount rights, Xvfb
# or xdotool.
set -u
program=$1
. "$(dirname "$0")/private_volume.sh"
enter_private_namespace "$@"
for tool in Xvfb xdotool xdpyinfo; do
    command -v "$tool" >/dev/null || { echo "$tool is missing; skipped"; exit 77; }
done

make_home notray
mkdir -p "$home/.Trash"
display=
for n in $(seq 130 170); do
    [ -e "/tmp/.X$n-lock" ] || { display=:$n; break; }
done
[ -n "$display" ] || { echo "no free X display number; skipped"; exit 77; }
pid= xvfb=
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null; [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null' EXIT
# -noreset: without it the server resets when its last client (xdpyinfo below) leaves, and a
# program connecting during the reset is refused and runs headless.
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp -noreset > "$root/xvfb.log" 2>&1 &
xvfb=$!
wait_for 30 xdpyinfo -display "$display" > /dev/null 2>&1 || { echo "Xvfb did not start; skipped"; exit 77; }

log=$root/stderr.log
run() {
    exec env -i PATH="$PATH" HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_RUNTIME_DIR="$root/runtime" \
        DISPLAY="$display" "$@"
}
fail() { echo "FAIL: $1"; echo "--- program's log:"; cat "$log"; exit 1; }
panels() { DISPLAY=$display xdotool search --onlyvisible --name '^Trash Information$' 2>/dev/null; }
panel_shown() { [ -n "$(panels)" ]; }
panel_gone() { [ -z "$(panels)" ]; }

run "$program" 2> "$log" &
pid=$!
wait_for 40 panel_shown || fail "no information panel after the tray's time without a tray"
grep -q "No system tray after 10 s" "$log" || fail "the log does not say why the panel opened"

# Closed as a user does, with Escape (again, should the key come before the focus did).
close_panel() {
    for window in $(panels); do
        DISPLAY=$display xdotool windowfocus --sync "$window" key Escape 2>/dev/null
    done
    wait_for 5 panel_gone
}
close_panel || close_panel || close_panel || fail "the panel did not close"

(run "$program") 2> "$root/second.log" || fail "the second start ended with status $?"
grep -q "Already running" "$root/second.log" || fail "the second start did not reach the running program"
wait_for 10 panel_shown || fail "a second start did not open the panel"
kill -0 "$pid" 2>/dev/null || fail "the program ended"
echo "PASS: without a tray the panel opens, and again at a second start"
