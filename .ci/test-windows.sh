#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Vantoke developers
# SPDX-License-Identifier: MIT
# Builds the Windows game and its tests (packaging/build-windows.sh), checks that a second build
# gives the same zip, then tries them under Wine:
# the suites that make sense on Windows, the window's on the offscreen platform; then the unzipped
# game on an X server with a window manager, where it must show its window and exit with
# status 0 when closed. Wine is not Windows, but it runs the same binaries.
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/common.sh

bash packaging/build-windows.sh
install_missing wine64 unzip xvfb xauth xdotool wmctrl openbox
build=build/windows
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# The game again, in another folder, with another umask, in another time zone, at another time:
# the same zip, or diffoscope shows where they differ.
(umask 077 && TZ=XST-13 bash packaging/build-windows.sh "$scratch/again" -DBUILD_TESTING=OFF >/dev/null)
zip=$(echo "$build"/vantoke-*-windows-x86_64.zip)
if ! cmp "$zip" "$scratch/again/$(basename "$zip")"; then
    install_missing diffoscope
    diffoscope "$zip" "$scratch/again/$(basename "$zip")" || true
    echo "two builds of the Windows zip differ" >&2
    exit 1
fi
echo "Windows zip: two builds give the same bytes, $(sha256sum "$zip" | cut -d' ' -f1)"
export WINEPREFIX=${WINEPREFIX:-${XDG_CACHE_HOME:-$HOME/.cache}/vantoke/wine} WINEDEBUG=-all

"$build/wine-run.sh" wineboot --init
ctest --test-dir "$build" --output-on-failure --no-tests=error --timeout 900
# A Wine server started with no display stays without one: the game below needs a new one.
/usr/lib/wine/wineserver -k || true

unzip -q "$zip" -d "$scratch/unzipped"
program=$(realpath "$scratch"/unzipped/vantoke-*/vantoke.exe)
# Only the game's own folder: WINEPATH would otherwise lead Wine to the build's DLLs.
if WINEPATH= bash tests/window-check.sh /usr/lib/wine/wine64 "$program"; then
    echo "Windows check: the unzipped vantoke.exe showed its window under Wine and exited with status 0"
    # Wine's server writes its registry as it ends: let it, before anyone removes the prefix.
    /usr/lib/wine/wineserver -w || true
else
    echo "Windows check: the unzipped vantoke.exe failed under Wine" >&2
    exit 1
fi
