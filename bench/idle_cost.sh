#!/bin/sh
# The cost of the idle program: wakeups (voluntary and involuntary context switches of all its
# threads, from /proc/<pid>/task/*/status) and processor time (utime + stime of
# /proc/<pid>/stat) over SECONDS (60 by default) of a program that has nothing to do, against
# `sleep` over the same span. Run as root: the program runs in a private mount namespace on a
# small tmpfs HOME of its own, so that it watches no volume of the machine.
# Usage: bench/idle_cost.sh path/to/brindlewick [SECONDS]
set -u
program=$1
seconds=${2:-60}
. "$(dirname "$0")/../tests/app/private_volume.sh"
enter_private_namespace "$@"

make_home idle
pid=
peer=
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null; [ -n "$peer" ] && kill "$peer" 2>/dev/null' EXIT
mkdir -p "$home/.Trash" "$home/.local/share/Trash/files" "$home/.local/share/Trash/info"
head -c 100000 /dev/zero > "$home/.Trash/item"

# switches PID: context switches of every thread; ticks PID: processor time in clock ticks.
switches() { cat /proc/"$1"/task/*/status 2>/dev/null | awk '/ctxt_switches/ {n += $2} END {print n + 0}'; }
ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
# oncpu PID: nanoseconds on a processor of its threads alive now (schedstat), finer than ticks.
oncpu() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{n += $1} END {printf "%.0f", n}'; }

env -i PATH="$PATH" HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_RUNTIME_DIR="$root/runtime" \
    "$program" 2> "$root/stderr.log" &
pid=$!
sleep 5 # the first measurement and pass are over
sleep $(( seconds + 1 )) &
peer=$!
sleep 0.2
s0=$(switches "$pid"); t0=$(ticks "$pid"); p0=$(switches "$peer"); q0=$(ticks "$peer")
n0=$(oncpu "$pid"); m0=$(oncpu "$peer")
sleep "$seconds"
s1=$(switches "$pid"); t1=$(ticks "$pid"); p1=$(switches "$peer"); q1=$(ticks "$peer")
n1=$(oncpu "$pid"); m1=$(oncpu "$peer")
hz=$(getconf CLK_TCK)
wakeups=$(( s1 - s0 )); peerWakeups=$(( p1 - p0 ))
echo "over ${seconds} s idle: brindlewick $wakeups wakeups ($(awk "BEGIN {printf \"%.2f\", $wakeups / $seconds}")/s)," \
    "$(( t1 - t0 )) ticks of processor time (1 tick = 1/$hz s), $(( (n1 - n0) / 1000 )) µs on a processor" \
    "($(awk "BEGIN {printf \"%.4f\", ($n1 - $n0) / ($seconds * 1e7)}") % of one)"
echo "                 sleep       $peerWakeups wakeups, $(( q1 - q0 )) ticks, $(( (m1 - m0) / 1000 )) µs"
echo "ratio of wakeups against sleep: $(awk "BEGIN {printf \"%.1f\", $wakeups / ($peerWakeups > 0 ? $peerWakeups : 1)}")"
echo "threads of the program: $(ls /proc/$pid/task | wc -l)"
