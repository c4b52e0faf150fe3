#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Vantoke developers
# SPDX-License-Identifier: MIT
# Takes the given .deb through what Debian and a player do with it, and leaves this machine's
# packages as it found them: lintian's checks, with no error or warning; its dependencies, which
# apt must be able to satisfy; dpkg's install into a root of its own, an empty folder, never this
# machine's; the validators on the desktop entry and metainfo installed there; the program
# installed there started on an X server, where it must show its window and exit with status 0
# when the window manager closes it; then dpkg's purge, after which nothing of it may be left.
# The program runs on this machine's libraries. Runs dpkg as root, through sudo when not root
# already. Needs lintian, desktop-file-utils, appstream, and what tests/window-check.sh needs.
set -euo pipefail
[ $# -eq 1 ] || { echo "usage: check-package.sh PACKAGE.deb" >&2; exit 2; }
deb=$(realpath "$1")
here=$(dirname "$(realpath "$0")")
. "$here/../tools/common.sh"
root=$(mktemp -d)
trap 'as_root rm -rf "$root"' EXIT
# What dpkg knows of this machine's own vantoke, if any; the check must not change it.
installed_here() { dpkg-query -W -f='${db:Status-Abbrev} ${Version}' vantoke 2>/dev/null || true; }
before=$(installed_here)

# Informational tags are shown, and listed with their reasons in docs/packaging.md.
lintian --fail-on error,warning --display-info "$deb"
echo "lintian: no error or warning"

depends=$(dpkg-deb -f "$deb" Depends)
apt-get satisfy -s "$depends" >/dev/null || { echo "apt cannot satisfy: $depends" >&2; exit 1; }
echo "dependencies: apt can satisfy $depends"

# The empty root has none of the dependencies, which this machine provides instead.
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates"
touch "$root/var/lib/dpkg/status" "$root/var/lib/dpkg/available"
as_root dpkg --root="$root" --force-depends -i "$deb" 2>&1 | grep -v '^ \|dependency problems' || true
[ "$(dpkg-query --admindir="$root/var/lib/dpkg" -W -f='${db:Status-Abbrev}' vantoke)" = "ii " ] \
    || { echo "dpkg did not install $deb in $root" >&2; exit 1; }
program=/usr/games/vantoke
desktop=$root/usr/share/applications/org.vantoke.Vantoke.desktop
desktop-file-validate "$desktop"
grep -qx "Exec=$program" "$desktop" || { echo "the desktop entry does not start $program" >&2; exit 1; }
appstreamcli validate --no-net "$root/usr/share/metainfo/org.vantoke.Vantoke.metainfo.xml"

if bash "$here/../tests/window-check.sh" "$root$program"; then
    echo "package check: $program, as installed, showed its window and exited with status 0"
else
    echo "package check: $program, as installed, failed" >&2
    exit 1
fi

as_root dpkg --root="$root" --purge vantoke >/dev/null
left=$(find "$root" -mindepth 1 -path "$root/var" -prune -o -print)
[ -z "$left" ] || { printf 'left after purge: %s\n' "$left" >&2; exit 1; }
echo "package check: purged, nothing left behind"
[ "$(installed_here)" = "$before" ] || { echo "this machine's vantoke changed: '$before' is now '$(installed_here)'" >&2; exit 1; }
