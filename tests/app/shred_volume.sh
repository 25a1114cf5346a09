# Sourced by the end-to-end tests of the shredder on a volume of their own: a loop-mounted
# image (outside /mnt, which the private namespace covers with a small tmpfs), made short of
# space, and the real program watching it. Needs private_volume.sh sourced first.

# make_volume TYPE MEGABYTES: mounts a new image of that file system at $volume; exit 77
# (skipped) where it cannot be made or mounted.
make_volume() {
    images=$(mktemp -d /var/tmp/brindlewick-shred-XXXXXX) || exit 77
    volume=$root/volume
    mkdir -p "$volume"
    truncate -s "$2M" "$images/volume.img"
    case $1 in
        ext4) mkfs.ext4 -q -m 0 "$images/volume.img" ;;
        btrfs) mkfs.btrfs -q --mixed "$images/volume.img" > /dev/null ;;
    esac || { echo "cannot make a $1 image; skipped"; exit 77; }
    mount -o loop "$images/volume.img" "$volume" || { echo "cannot mount a $1 image here; skipped"; exit 77; }
}

# fill_short SHORT: leaves $volume SHORT bytes below its minimum of 10 % free.
fill_short() {
    capacity=$(( $(stat -f -c %b "$volume") * $(stat -f -c %S "$volume") ))
    free=$(( $(stat -f -c %a "$volume") * $(stat -f -c %S "$volume") ))
    head -c $(( free - capacity / 10 + $1 )) /dev/zero > "$volume/filler" 2>/dev/null
    sync
    left=$(( $(stat -f -c %a "$volume") * $(stat -f -c %S "$volume") ))
    [ "$left" -lt $(( capacity / 10 )) ] || { echo "could not fill $volume"; exit 1; }
}

# start_program: the real program, as root, on this namespace's volumes; its log in $log.
start_program() {
    env -i PATH="$PATH" HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_RUNTIME_DIR="$root/runtime" \
        "$program" 2>> "$log" &
    pid=$!
}

# watch_overwrite NAME LETTER OPTION...: starts watch_overwrite.py on the volume's trash, then
# the program once it watches; the watcher's status in $watched.
watch_overwrite() {
    rm -f "$root/watching"
    name=$1 letter=$2
    shift 2
    python3 "$here/watch_overwrite.py" "$trash" "$name" "$letter" "$root/watching" "$@" &
    watcher=$!
    wait_for 30 test -e "$root/watching" || fail "the watcher did not start"
    start_program
    echo "$pid" > "$root/pid"
    wait "$watcher"
    watched=$?
}

stop_program() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
    pid=
}

cleanup_volume() {
    stop_program
    umount "$volume" 2>/dev/null
    [ -n "${images:-}" ] && rm -rf "$images"
}

fail() {
    echo "FAIL: $1"
    echo "--- program's log:"
    cat "$log"
    echo "--- trash-list:"
    HOME=$home trash-list 2>&1
    exit 1
}
