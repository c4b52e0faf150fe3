#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Vantoke developers
# SPDX-License-Identifier: MIT
# Builds Vantoke and runs every test and check, installing what a fresh Debian 12 or 13 machine
# lacks: the test suite, on the offscreen platform, on X11 (Xvfb), on Wayland (weston) and in a
# GNOME session (mutter); a game played from the keyboard under the Orca screen reader, speaking
# with espeak-ng, on X11 and on GNOME; the offscreen suites built with Clang; a packager's builds,
# with Fedora's flags and with Debian's through the recipe docs/packaging.md prints; the same suite
# built with AddressSanitizer and UndefinedBehaviorSanitizer; the formatting check; the AppStream
# validator and groff's checks of the manual page; REUSE's licence check; and the Debian package:
# built twice to the same bytes, lintian, installed into a root of its own, started, purged, with
# this machine's packages left as they were. With --install it installs what they need and runs
# nothing.
# usage: test.sh [--install]
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/common.sh

install_missing clang clang-format desktop-file-utils appstream dpkg-dev file lintian groff-base reuse \
    man-db xvfb xauth xdotool wmctrl openbox weston mutter xwayland locales orca speech-dispatcher-espeak-ng \
    at-spi2-core dbus-daemon gdb
make_x11_socket_dir

# The text forms' test checks its texts under a German locale, which a new machine lacks.
if ! locale -a 2>/dev/null | grep -qix 'de_DE.utf8'; then
    as_root localedef -i de_DE -c -f UTF-8 de_DE.UTF-8
fi
[ "${1:-}" != --install ] || exit 0

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# Suites run once more after a known hang of Qt's (tests/on-platform.sh) are listed here.
export VANTOKE_RERUN_LOG=$PWD/build/reruns.log
mkdir -p build
rm -f "$VANTOKE_RERUN_LOG"

cmake --preset default
cmake --build --preset default
ctest --preset default
bash tests/screen-reader-check.sh build/default/app/vantoke
bash tests/screen-reader-check.sh --gnome build/default/app/vantoke

cmake --preset clang
cmake --build --preset clang
ctest --preset clang

# A packager configures without the presets, so warnings stay warnings, and brings a
# distribution's own flags. These builds run nothing, and must build without a warning.
packager_build() {
    local dir=build/$1
    shift
    rm -rf "$dir"
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=None "$@" >/dev/null
    if grep -qE -- '-Werror[ "]' "$dir/compile_commands.json"; then
        echo "$dir: a plain configure turns warnings into errors" >&2
        exit 1
    fi
    cmake --build "$dir" 2>&1 | tee "$dir/build.log"
    if grep -q 'warning:' "$dir/build.log"; then
        echo "$dir: the build warns" >&2
        exit 1
    fi
}
packager_build fedora-flags \
    -DCMAKE_CXX_FLAGS="-g -O2 -Wp,-D_FORTIFY_SOURCE=3 -fstack-protector-strong -fstack-clash-protection"

# The packager's recipe exactly as docs/packaging.md prints it, with Debian's flags, in a copy of
# the files git tracks (what the source tarball holds); as root, as nobody and with no network.
recipe=$(doc_block docs/packaging.md "<!-- packager's recipe")
[ -n "$recipe" ] || { echo "docs/packaging.md: the packager's recipe is missing" >&2; exit 1; }
tree=$scratch/recipe
mkdir "$tree"
git ls-files -z | tar -c --null -T - | tar -x -C "$tree"
as_packager=()
if [ "$(id -u)" -eq 0 ]; then
    chmod 755 "$scratch"
    chown -R nobody:nogroup "$tree"
    as_packager=(unshare --net setpriv --reuid=nobody --regid=nogroup --clear-groups env HOME=/nonexistent)
fi
echo "the packager's recipe, in $tree:"
echo "$recipe"
(cd "$tree" && eval "$(dpkg-buildflags --export=sh)" && "${as_packager[@]}" bash -euc "$recipe") 2>&1 |
    tee build/recipe.log
if grep -q 'warning:' build/recipe.log || grep -qE -- '-Werror[ "]' "$tree/build/compile_commands.json"; then
    echo "the packager's recipe: warnings, or warnings made errors" >&2
    exit 1
fi

cmake --preset asan
cmake --build --preset asan
ctest --preset asan

cmake --build --preset default --target format-check
echo "formatting: clean ($(clang-format --version))"
# Every file says its licence and copyright in SPDX form, in its header or in a .license file.
reuse lint
appstreamcli validate --no-net build/default/packaging/org.vantoke.Vantoke.metainfo.xml
groff -man -ww -z build/default/packaging/vantoke.6
echo "manual page: clean"

# The package of this version only: an earlier build's would otherwise match as well.
rm -f build/default/vantoke_*.deb
(cd build/default && cpack)
# The same package again, built in another folder, with another umask, at another time: the same
# bytes, or diffoscope shows where they differ. cpack itself runs with umask 022, as
# dpkg-buildpackage sets it: CPack takes the modes of the folders and files it writes from it.
(
    umask 077
    cmake --preset default -B "$scratch/again" -DBUILD_TESTING=OFF >/dev/null
    cmake --build "$scratch/again" --target vantoke vantoke_documents >/dev/null
    cd "$scratch/again" && umask 022 && cpack >/dev/null
)
deb=$(echo build/default/vantoke_*.deb)
if ! cmp "$deb" "$scratch/again/$(basename "$deb")"; then
    install_missing diffoscope
    diffoscope "$deb" "$scratch/again/$(basename "$deb")" || true
    echo "two builds of the package differ" >&2
    exit 1
fi
echo "package: two builds give the same bytes, $(sha256sum "$deb" | cut -d' ' -f1)"
bash packaging/check-package.sh "$deb"
echo "suites run once more after a known hang of Qt's: $(cat "$VANTOKE_RERUN_LOG" 2>/dev/null | wc -l)"
[ ! -s "$VANTOKE_RERUN_LOG" ] || sed 's/^/    /' "$VANTOKE_RERUN_LOG"
