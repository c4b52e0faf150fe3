#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Vantoke developers
# SPDX-License-Identifier: MIT
# Makes packaging/vantoke.ico, the Windows program's icon, from the SVG icon, at the sizes
# Windows shows (16 to 256 pixels). Run it after changing the SVG, and commit the result.
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/common.sh

install_missing librsvg2-bin imagemagick
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
images=()
for size in 16 20 24 32 48 64 256; do
    rsvg-convert -w "$size" -h "$size" -o "$scratch/$size.png" packaging/org.vantoke.Vantoke.svg
    images+=("$scratch/$size.png")
done
convert "${images[@]}" packaging/vantoke.ico
