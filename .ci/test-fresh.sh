#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Vantoke developers
# SPDX-License-Identifier: MIT
# Runs the README's test command on a newly installed Debian: a root made with debootstrap
# (minimal, plus git and ca-certificates), where the command installs everything it needs itself;
# then, where installing harms nothing, the README's other commands (.ci/follow-docs.sh).
# It tests a clone of this repository's committed HEAD, with no locale set, as a new user's
# shell would. Debian 13 (trixie) unless another suite is named ("testing" for the next Debian).
# With --after FILE, the root is made and the test command's packages installed at once, and the
# tests wait until FILE exists, so that CI can make the root while its other parts run.
# Needs root.
# usage: test-fresh.sh [--after FILE] [SUITE]
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/common.sh
gate=
if [ "${1:-}" = --after ]; then
    gate=$2
    shift 2
fi
suite=${1:-trixie}

command -v debootstrap >/dev/null || install_missing debootstrap
mirror=$(apt_mirror)

# The bare system is made once and copied for each run; what the test command installs goes
# into the copy only.
cache=${XDG_CACHE_HOME:-$HOME/.cache}/vantoke/debootstrap-$suite
if [ ! -f "$cache/.complete" ]; then
    as_root rm -rf "$cache"
    mkdir -p "$cache"
    echo "debootstrap $suite from $mirror"
    as_root debootstrap --variant=minbase --include=git,ca-certificates "$suite" "$cache" "$mirror" \
        >"$cache.log" 2>&1 || { tail -20 "$cache.log" >&2; exit 1; }
    as_root touch "$cache/.complete"
fi

root=$(mktemp -d "${TMPDIR:-/var/tmp}/vantoke-$suite.XXXXXX")
cleanup() {
    as_root umount -l "$root/proc" "$root/sys" 2>/dev/null || true
    as_root umount -R -l "$root/dev" 2>/dev/null || true
    # Never remove through a mount that is still attached: the host's /dev is bound in.
    grep -q " $root/" /proc/mounts || as_root rm -rf --one-file-system "$root"
}
trap cleanup EXIT
trap "exit 1" INT TERM
as_root cp -a "$cache/." "$root/"
as_root git clone -q "$PWD" "$root/root/vantoke"
as_root cp /etc/resolv.conf "$root/etc/resolv.conf"
# The mirror these machines reach serves a snapshot of testing whose Release file is past its
# Valid-Until date, which apt refuses. That is the snapshot's state, not Debian's: a real testing
# machine needs no such setting, and only this throw-away root gets it.
case $suite in
testing | unstable | sid)
    echo 'Acquire::Check-Valid-Until "false";' | as_root tee "$root/etc/apt/apt.conf.d/99snapshot-mirror" >/dev/null
    ;;
esac
as_root mount -t proc proc "$root/proc"
as_root mount -t sysfs sys "$root/sys"
as_root mount --rbind /dev "$root/dev"

in_root() {
    as_root chroot "$root" /usr/bin/env -i HOME=/root TERM=dumb CI="${CI:-}" \
        PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
        bash -lc "cd /root/vantoke && $1"
}
echo "testing on a fresh Debian $(cat "$root/etc/debian_version")"
if [ -n "$gate" ]; then
    in_root 'bash scripts/test.sh --install'
    echo "packages installed after $SECONDS s; the tests wait for $gate"
    for _ in $(seq 5400); do [ -e "$gate" ] && break; sleep 1; done
    [ -e "$gate" ] || { echo "$gate did not appear within 90 minutes" >&2; exit 1; }
fi
in_root 'bash scripts/test.sh && bash .ci/follow-docs.sh'
