#!/usr/bin/env bash
# Builds Vantoke and runs every test and check, installing what a fresh Debian 12 or 13 machine
# lacks: the test suite, on the offscreen platform, on X11 (Xvfb) and on Wayland (weston); the same
# suite built with AddressSanitizer and UndefinedBehaviorSanitizer; the formatting check; the
# validators of the desktop entry and the AppStream metainfo; and the Debian package, built,
# installed and started.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh clang-format desktop-file-utils appstream dpkg-dev file \
    xvfb xauth xdotool wmctrl openbox weston

cmake --preset default
cmake --build --preset default
ctest --preset default

cmake --preset asan
cmake --build --preset asan
ctest --preset asan

find app bench game runtime tests ui \( -name '*.cpp' -o -name '*.h' \) -print0 |
    xargs -0 clang-format --dry-run --Werror
echo "formatting: clean"
desktop-file-validate packaging/org.vantoke.Vantoke.desktop
appstreamcli validate --no-net packaging/org.vantoke.Vantoke.metainfo.xml

(cd build/default && cpack)
bash scripts/check-package.sh build/default/vantoke_*.deb
