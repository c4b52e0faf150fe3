#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Vantoke developers
# SPDX-License-Identifier: MIT
# Cross-builds Vantoke for 64-bit Windows on Debian 12 and packs the folder a Windows player unzips
# and runs: <build>/vantoke-<version>-windows-x86_64.zip, where <build> is build/windows unless
# given; further arguments go to the game's configure. Qt for Windows is built once from
# Debian's own qt6-base source with MinGW-w64, the host's Qt tools doing moc and rcc, and is kept
# under ~/.cache/vantoke, keyed by Qt's version. The tests are built too; .ci/test-windows.sh
# runs them under Wine. The zip is the same byte for byte from the same tree and the same Qt.
# usage: build-windows.sh [BUILD_DIR [CMAKE_ARGUMENT...]]
set -euo pipefail
build=${1:+$(realpath -m "$1")}
cd "$(dirname "$0")/.."
. tools/common.sh

install_missing g++-mingw-w64-x86-64-posix dpkg-dev zip

qt_version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
toolchain=$PWD/cmake/mingw-w64-x86_64.cmake
cache=${XDG_CACHE_HOME:-$HOME/.cache}/vantoke

# Only what the game and its tests use is built: Core, Gui, Widgets and Test, the Windows and
# offscreen platforms and the Vista style. Off: the modules the game does not use, the Direct2D
# platform (a second copy of the Windows one), the image format plugins and the libraries bundled
# for them, and the widgets and text formats the window never shows. Qt 6.4 builds its DirectWrite
# font database only with Direct2D, so that goes too; the Windows platform's default, GDI's, stays.
# Debian's source lacks the header that Windows tablet input needs.
qt_features=(tabletevent sql dbus printsupport concurrent xml network direct2d directwrite3 vulkan
    jpeg gif ico pdf textodfwriter textmarkdownreader textmarkdownwriter graphicsview filedialog colordialog
    fontdialog wizard mdiarea calendarwidget)
# The cache is keyed by Qt's version and this list, so a change to either builds Qt anew.
qt_key=$(printf '%s\n' "$qt_version" "${qt_features[@]}" | sha256sum | cut -c1-12)
qt_prefix=$cache/qt-${qt_version}-mingw-w64-x86_64-$qt_key

build_qt() {
    local work=$cache/qt-build
    rm -rf "$work" "$qt_prefix"
    mkdir -p "$work/apt/lists/partial" "$work/apt/archives/partial"
    # A private apt state with the source line of the mirror this machine installs from, so the
    # machine's own apt set-up stays as it was.
    local mirror
    mirror=$(apt_mirror)
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

    local off=()
    for feature in "${qt_features[@]}"; do off+=("-DFEATURE_$feature=OFF"); done
    # With opengl off alone, Qt 6.4 keeps dynamic OpenGL on and its Windows platform fails to build.
    cmake -S "$source" -B "$work/build" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_INSTALL_PREFIX="$qt_prefix" \
        -DQT_HOST_PATH=/usr \
        -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF \
        -DINPUT_opengl=no "${off[@]}"
    cmake --build "$work/build"
    cmake --install "$work/build"
    touch "$qt_prefix/.complete"
    rm -rf "$work"
}

[ -f "$qt_prefix/.complete" ] || build_qt
echo "Qt for Windows: $qt_prefix"

# The same zip from every build of one tree: the linker and strip write SOURCE_DATE_EPOCH into
# each program's and DLL's header where they would write the time, and the zip's entries take it
# too. It is the newest changelog entry's time, as for the .deb, unless given.
SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(dpkg-parsechangelog -l packaging/changelog -S Timestamp)}
export SOURCE_DATE_EPOCH

# Tests run through this wrapper under Wine, which finds the DLLs by WINEPATH.
build=${build:-$PWD/build/windows}
shift $(($# > 0 ? 1 : 0))
mkdir -p "$build"
# MinGW's runtime DLLs: libstdc++ and libgcc beside the compiler's libraries, winpthread in the
# target's folder.
gcc_dir=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-libgcc-file-name)")
search=("$qt_prefix/bin" "$gcc_dir" /usr/x86_64-w64-mingw32/lib)
cat >"$build/wine-run.sh" <<WINE
#!/usr/bin/env bash
# Runs a program of this build under Wine; made by packaging/build-windows.sh.
export WINEPREFIX=\${WINEPREFIX:-$cache/wine}
export WINEDEBUG=\${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEPATH="$qt_prefix/bin;$gcc_dir;/usr/x86_64-w64-mingw32/lib"
# Wine keeps the host's QT_* variables from Windows programs, but hands WINEQT_* on as QT_*.
for name in \$(compgen -e | grep '^QT_'); do export "WINE\$name=\${!name}"; done
exec /usr/lib/wine/wine64 "\$@"
WINE
chmod +x "$build/wine-run.sh"

"$qt_prefix/bin/qt-cmake" -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVANTOKE_WERROR=ON \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DCMAKE_CROSSCOMPILING_EMULATOR="$build/wine-run.sh" "$@"
cmake --build "$build"

# The game folder: the program, the Qt and MinGW DLLs it loads, and the platform and style
# plugins Qt looks for beside it. The system's own DLLs are on every Windows.
version=$(sed -n 's/^project(vantoke VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
name=vantoke-$version-windows-x86_64
folder=$build/$name
rm -rf "$folder" "$build/$name.zip"
mkdir -p "$folder/platforms" "$folder/styles"
cp "$build/vantoke.exe" "$folder/"
cp "$qt_prefix/plugins/platforms/qwindows.dll" "$folder/platforms/"
cp "$qt_prefix/plugins/styles/qwindowsvistastyle.dll" "$folder/styles/"
pending=("$folder/vantoke.exe" "$folder/platforms/qwindows.dll" "$folder/styles/qwindowsvistastyle.dll")
while [ ${#pending[@]} -gt 0 ]; do
    binary=${pending[0]}
    pending=("${pending[@]:1}")
    for dll in $(x86_64-w64-mingw32-objdump -p "$binary" | awk '/DLL Name:/ {print $3}'); do
        [ -e "$folder/$dll" ] && continue
        for dir in "${search[@]}"; do
            if [ -e "$dir/$dll" ]; then
                cp "$dir/$dll" "$folder/"
                pending+=("$folder/$dll")
                break
            fi
        done
    done
done
find "$folder" \( -name '*.dll' -o -name '*.exe' \) -exec x86_64-w64-mingw32-strip --strip-unneeded {} +
# The zip's entries in one order, with one mode and one time each, and no extra fields with the
# builder's user or times. A zip's times are local, hence UTC.
chmod -R u=rwX,go=rX "$folder"
find "$folder" -exec env TZ=UTC touch -h -d "@$SOURCE_DATE_EPOCH" {} +
(cd "$build" && find "$name" | LC_ALL=C sort | TZ=UTC zip -qX -@ "$name.zip")
echo "Windows build: $build/$name.zip ($(du -h "$build/$name.zip" | cut -f1)): $(cd "$folder" && find . -type f | sort | tr '\n' ' ')"
