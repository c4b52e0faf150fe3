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
# For sanitizer builds: leaks of Qt's own on a real platform are not the game's.
export LSAN_OPTIONS="suppressions=$(dirname "$(realpath "$0")")/platform-leaks.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"

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
