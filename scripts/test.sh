#!/usr/bin/env bash
# Builds Vantoke and runs every test and check, installing what a fresh Debian 12 or 13 machine
# lacks: the test suite, on the offscreen platform, on X11 (Xvfb) and on Wayland (weston); the same
# suite built with AddressSanitizer and UndefinedBehaviorSanitizer; the formatting check; the
# AppStream validator and groff's checks of the manual page; and the Debian package: lintian,
# installed, started, purged.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh clang-format desktop-file-utils appstream dpkg-dev file lintian groff-base \
    man-db xvfb xauth xdotool wmctrl openbox weston locales

# The text forms' test checks its texts under a German locale, which a new machine lacks.
if ! locale -a 2>/dev/null | grep -qix 'de_DE.utf8'; then
    as_root=()
    [ "$(id -u)" -eq 0 ] || as_root=(sudo)
    "${as_root[@]}" localedef -i de_DE -c -f UTF-8 de_DE.UTF-8
fi

cmake --preset default
cmake --build --preset default
ctest --preset default

cmake --preset asan
cmake --build --preset asan
ctest --preset asan

find app bench game runtime tests ui \( -name '*.cpp' -o -name '*.h' \) -print0 |
    xargs -0 clang-format --dry-run --Werror
echo "formatting: clean ($(clang-format --version))"
appstreamcli validate --no-net packaging/org.vantoke.Vantoke.metainfo.xml
groff -man -ww -z packaging/vantoke.6
echo "manual page: clean"

# The package of this version only: an earlier build's would otherwise match as well.
rm -f build/default/vantoke_*.deb
(cd build/default && cpack)
bash scripts/check-package.sh build/default/vantoke_*.deb
