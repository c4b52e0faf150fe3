#!/usr/bin/env bash
# Runs a test on a real display server: "xcb" on Xvfb with the openbox window manager, "wayland"
# on weston's headless backend. Each run gets its own server, and its own runtime directory.
# usage: on-platform.sh xcb|wayland COMMAND [ARGUMENT...]
set -euo pipefail
platform=$1
shift

runtime=$(mktemp -d)
chmod 700 "$runtime"
server=
cleanup() {
    [ -z "$server" ] || kill "$server" 2>/dev/null || true
    rm -rf "$runtime"
}
trap cleanup EXIT
export XDG_RUNTIME_DIR=$runtime QT_QPA_PLATFORM=$platform
# For sanitizer builds: a few leaks of Qt's own on a real platform are not the game's, and are
# suppressed by the functions that make them. The system's libraries are built without frame
# pointers, so those functions show in a leak's stack only when it is unwound in full.
export LSAN_OPTIONS="suppressions=$(dirname "$(realpath "$0")")/platform-leaks.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
[ -z "${ASAN_OPTIONS:-}" ] || export ASAN_OPTIONS="$ASAN_OPTIONS:fast_unwind_on_malloc=0:malloc_context_size=12"

case $platform in
xcb)
    # xvfb-run picks a free display; openbox stays until the test ends.
    xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" bash -c '
        openbox >/dev/null 2>&1 &
        for _ in $(seq 100); do wmctrl -m >/dev/null 2>&1 && break; sleep 0.05; done
        "$@"; status=$?
        kill %1 2>/dev/null
        exit $status' run-on-xcb "$@"
    ;;
wayland)
    weston --backend=headless-backend.so --socket=wayland-test --idle-time=0 --width=1280 --height=1024 \
        >"$runtime/weston.log" 2>&1 &
    server=$!
    for _ in $(seq 100); do [ -S "$runtime/wayland-test" ] && break; sleep 0.05; done
    [ -S "$runtime/wayland-test" ] || { cat "$runtime/weston.log" >&2; exit 1; }
    export WAYLAND_DISPLAY=wayland-test
    # The game draws with the raster engine into shared memory and never uses OpenGL. Qt 6.4
    # still loads its EGL client-buffer integration, and with it the system's GL driver, only to
    # ask whether it may draw window decorations; Mesa's driver then leaves a leak that it takes
    # away with it when unloaded at exit, so the leak check can name nothing. Without decorations
    # no GL driver is loaded, as on a system that has none.
    export QT_WAYLAND_DISABLE_WINDOWDECORATION=1
    # A compositor with no seat has no text input; Qt 6.4's Wayland input context then crashes
    # on a key in a text box. The compose input context is what a seat-less session would use.
    export QT_IM_MODULE=compose
    "$@"
    ;;
*)
    echo "unknown platform: $platform" >&2
    exit 2
    ;;
esac
