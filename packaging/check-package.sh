#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Vantoke developers
# SPDX-License-Identifier: MIT
# Takes the given .deb through what Debian and a player do with it: lintian's checks, with no
# error or warning; apt-get install, which pulls in its dependencies; the validators on the
# installed desktop entry and metainfo; the installed program started on an X server, where it
# must show its window and exit with status 0 when the window manager closes it; then apt-get
# purge, after which none of its files may be left. Runs apt-get as root, through sudo when not
# root already. Needs lintian, desktop-file-utils, appstream, and what tests/window-check.sh needs.
set -euo pipefail
[ $# -eq 1 ] || { echo "usage: check-package.sh PACKAGE.deb" >&2; exit 2; }
deb=$(realpath "$1")
here=$(dirname "$(realpath "$0")")
. "$here/../tools/common.sh"

# Informational tags are shown, and listed with their reasons in docs/packaging.md.
lintian --fail-on error,warning --display-info "$deb"
echo "lintian: no error or warning"

as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y "$deb"
program=/usr/games/vantoke
desktop=/usr/share/applications/org.vantoke.Vantoke.desktop
desktop-file-validate "$desktop"
grep -qx "Exec=$program" "$desktop" || { echo "the desktop entry does not start $program" >&2; exit 1; }
appstreamcli validate --no-net /usr/share/metainfo/org.vantoke.Vantoke.metainfo.xml
installed=$(dpkg-query -L vantoke)

if bash "$here/../tests/window-check.sh" "$program"; then
    echo "package check: $program showed its window and exited with status 0"
else
    echo "package check: $program failed" >&2
    exit 1
fi

as_root env DEBIAN_FRONTEND=noninteractive apt-get purge -y vantoke
left=()
while IFS= read -r path; do
    # Shared folders such as /usr/games stay; anything of the package's own may not.
    if [ -e "$path" ] && ! { [ -d "$path" ] && dpkg-query -S "$path" >/dev/null 2>&1; }; then
        left+=("$path")
    fi
done <<<"$installed"
[ ${#left[@]} -eq 0 ] || { printf 'left after purge: %s\n' "${left[@]}" >&2; exit 1; }
echo "package check: purged, nothing left behind"
