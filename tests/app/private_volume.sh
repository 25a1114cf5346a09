# Sourced by the end-to-end tests that start the real program. The program watches every
# mounted volume, so it runs in a private mount namespace, where no volume another test
# mounts meanwhile is seen and what it mounts itself vanishes with it; the volumes that
# others mounted under /mnt and /media before are covered up.

# Re-runs the calling script in that namespace (once); exit 77 (skipped) without mount rights.
enter_private_namespace() {
    if [ -z "${BRINDLEWICK_PRIVATE_MOUNTS:-}" ]; then
        [ "$(id -u)" = 0 ] || { echo "mounting a tmpfs needs root; skipped"; exit 77; }
        BRINDLEWICK_PRIVATE_MOUNTS=1 exec unshare -m --propagation private "$0" "$@"
        echo "no private mount namespace here; skipped"
        exit 77
    fi
    for folder in /mnt /media; do
        [ -d "$folder" ] || continue
        mount -t tmpfs -o size=1m,mode=755 tmpfs "$folder" || { echo "cannot cover $folder; skipped"; exit 77; }
    done
}

# wait_for SECONDS COMMAND...: polls COMMAND until it succeeds, at most SECONDS long.
wait_for() {
    tries=$(( $1 * 10 ))
    shift
    while [ "$tries" -gt 0 ]; do
        "$@" && return 0
        tries=$(( tries - 1 ))
        sleep 0.1
    done
    return 1
}

# make_home NAME: a folder under /mnt (root) with a small tmpfs as HOME in it (home) and a
# private runtime folder; exit 77 (skipped) where a tmpfs cannot be mounted.
make_home() {
    root=$(mktemp -d "/mnt/brindlewick-$1-XXXXXX") || exit 77
    home=$root/home
    mkdir -p "$home"
    mount -t tmpfs -o size=4m tmpfs "$home" || { echo "mounting a tmpfs is not permitted here; skipped"; exit 77; }
    mkdir -p "$home/.config" "$root/runtime"
    chmod 700 "$root/runtime"
}
