#!/usr/bin/env bash
# Cross-builds Vantoke for 64-bit Windows on Debian 12 and packs the folder a Windows player unzips
# and runs: build/windows/vantoke-<version>-windows-x86_64.zip. Qt for Windows is built once from
# Debian's own qt6-base source with MinGW-w64, the host's Qt tools doing moc and rcc, and is kept
# under ~/.cache/vantoke, keyed by Qt's version. The tests are built too; scripts/test-windows.sh
# runs them under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh g++-mingw-w64-x86-64-posix dpkg-dev zip
as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)

qt_version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
toolchain=$PWD/cmake/mingw-w64-x86_64.cmake
cache=${XDG_CACHE_HOME:-$HOME/.cache}/vantoke
qt_prefix=$cache/qt-${qt_version}-mingw-w64-x86_64

build_qt() {
    local work=$cache/qt-build
    rm -rf "$work" "$qt_prefix"
    mkdir -p "$work/apt/lists/partial" "$work/apt/archives/partial"
    # A private apt state with the source line of the mirror this machine installs from, so the
    # machine's own apt set-up stays as it was.
    local mirror
    mirror=$(awk '/^URIs:/{print $2; exit}' /etc/apt/sources.list.d/*.sources 2>/dev/null || true)
    [ -n "$mirror" ] || mirror=$(awk '/^deb /{print $2; exit}' /etc/apt/sources.list)
    local suite
    suite=$(. /etc/os-release && echo "$VERSION_CODENAME")
    echo "deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] $mirror $suite main" \
        >"$work/apt/sources.list"
    local apt_private=(-o "Dir::Etc::SourceList=$work/apt/sources.list" -o Dir::Etc::SourceParts=/dev/null
        -o "Dir::State::Lists=$work/apt/lists" -o "Dir::Cache::Archives=$work/apt/archives"
        -o Debug::NoLocking=1)
    apt-get "${apt_private[@]}" update
    (cd "$work" && apt-get "${apt_private[@]}" source "qt6-base=$qt_version")
    local source
    source=$(find "$work" -maxdepth 1 -type d -name 'qt6-base-*' | head -n 1)

    # Debian's source lacks the tablet header that Qt's Windows tablet support needs. What the
    # game does not use stays out, to keep the build short.
    cmake -S "$source" -B "$work/build" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_INSTALL_PREFIX="$qt_prefix" \
        -DQT_HOST_PATH=/usr \
        -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF \
        -DFEATURE_tabletevent=OFF \
        -DFEATURE_sql=OFF -DFEATURE_opengl=OFF -DFEATURE_dbus=OFF -DFEATURE_printsupport=OFF \
        -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DFEATURE_network=OFF
    cmake --build "$work/build"
    cmake --install "$work/build"
    touch "$qt_prefix/.complete"
    rm -rf "$work"
}

[ -f "$qt_prefix/.complete" ] || build_qt
echo "Qt for Windows: $qt_prefix"
