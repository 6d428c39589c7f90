#!/usr/bin/env bash
# Tries the README's two commands on a truly fresh machine: builds a minimal Debian 12 tree
# (debootstrap --variant=minbase), clones the project into it, runs scripts/run.sh and then
# scripts/test.sh there as root in a chroot, and prints one line for each: the command, its
# exit status, its ctest summary lines (or its last line), its duration.
# Usage (as root): scripts/fresh_debian.sh [REPOSITORY [WORK_FOLDER]]
#   REPOSITORY   what to clone (default: the clone this script is in; its committed HEAD)
#   WORK_FOLDER  where the tree and the logs go (default: a new folder under /var/tmp)
# RIPARTINO_MIRROR overrides the Debian mirror (default http://deb.debian.org/debian);
# RIPARTINO_KEEP_TREE=1 keeps the tree afterwards. The logs stay in WORK_FOLDER.
# Services that packages would start (cupsd) stay off, as in any chroot (policy-rc.d).
# Takes long: a full download, build and test run on an empty machine. Interrupted, it
# stops what runs in the tree, unmounts and says how far the log got.
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
repository=${1:-$top}
work=${2:-$(mktemp -d /var/tmp/ripartino-fresh.XXXXXX)}
mirror=${RIPARTINO_MIRROR:-http://deb.debian.org/debian}
tree=$work/tree
[ "$(id -u)" -eq 0 ] || { echo "fresh_debian.sh needs root (debootstrap, chroot, mounts)" >&2; exit 2; }
mkdir -p "$work"

mounted=()
in_tree() { findmnt -rn -o TARGET | grep -E "^$tree(/|$)" || true; }
inside() {  # the processes that run in the tree
    for root in /proc/[0-9]*/root; do
        [ "$(readlink "$root" 2>/dev/null)" = "$tree" ] && { root=${root#/proc/}; echo "${root%/root}"; }
    done
    return 0
}
cleanup() {
    # Whatever still runs inside the tree (a build, a test's Xvfb or cupsd) holds the mounts.
    for _ in 1 2 3 4 5 6 7 8 9 10; do
        pids=$(inside)
        [ -n "$pids" ] || break
        # shellcheck disable=SC2086
        kill $pids 2>/dev/null || true
        sleep 0.5
    done
    for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
        umount "${mounted[i]}" 2>/dev/null || umount -l "${mounted[i]}" || true
    done
    if [ -n "$(in_tree)" ]; then
        echo "still mounted, tree left in place: $(in_tree | tr '\n' ' ')" >&2
    elif [ "${RIPARTINO_KEEP_TREE:-0}" != 1 ] && [ -d "$tree" ]; then
        rm -rf --one-file-system "$tree"
    fi
}
trap cleanup EXIT
log=$work/debootstrap.log
trap 'echo "interrupted; $log ends: $(tail -1 "$log" 2>/dev/null)"; exit 130' INT TERM
mount_in() {  # mount_in TARGET-IN-TREE MOUNT-ARGUMENTS...
    local target=$tree$1; shift
    mkdir -p "$target"
    mount "$@" "$target"
    mounted+=("$target")
}

started=$(date +%s)
echo "debootstrap bookworm from $mirror into $tree (log: $log)"
debootstrap --variant=minbase bookworm "$tree" "$mirror" >"$log" 2>&1 || { tail -5 "$log"; exit 1; }
printf '#!/bin/sh\nexit 101\n' >"$tree/usr/sbin/policy-rc.d"
chmod +x "$tree/usr/sbin/policy-rc.d"
cp /etc/resolv.conf "$tree/etc/resolv.conf"
git clone -q "$repository" "$tree/root/ripartino"
echo "tree ready in $(($(date +%s) - started)) s"

mount_in /proc -t proc proc
mount_in /sys -t sysfs sysfs
mount_in /dev --bind /dev
mount_in /dev/pts --bind /dev/pts
mount_in /dev/shm -t tmpfs tmpfs
mount_in /tmp -t tmpfs tmpfs

summary=()
for command in "bash scripts/run.sh" "bash scripts/test.sh"; do
    log=$work/$(echo "$command" | sed 's/.*\///; s/\.sh//').log
    echo "running $command (log: $log)"
    begun=$(date +%s)
    status=0
    # In the background, so that an interrupt reaches the cleanup at once.
    chroot "$tree" /usr/bin/env -i HOME=/root TERM=dumb PATH=/usr/sbin:/usr/bin:/sbin:/bin \
        bash -c "cd /root/ripartino && $command" </dev/null >"$log" 2>&1 &
    wait $! || status=$?
    result=$(grep -E 'tests passed, [0-9]+ tests? failed' "$log" | paste -sd '|' | sed 's/|/ | /g' || true)
    [ -n "$result" ] || result=$(tail -1 "$log")
    summary+=("$command: exit $status; $result; $(($(date +%s) - begun)) s")
done
printf '%s\n' "${summary[@]}" | tee "$work/summary.txt"
echo "whole run: $(($(date +%s) - started)) s"
