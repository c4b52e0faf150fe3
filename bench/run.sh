#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Vantoke developers
# SPDX-License-Identifier: MIT
# Runs the benchmark (build/default/bench/vantoke_bench, Release or RelWithDebInfo) on each
# display a player has, each time on a server of its own: "x11", an X server (Xvfb) with a window
# manager (openbox), which draws the title bar; "wayland", weston with its desktop shell, which
# like GNOME's draws no title bar, so the game (or, through XWayland, weston) does, with Mesa
# installed as every desktop has it. "wayland-bare" is the same with the title bar switched off,
# to compare with, and "offscreen" Qt's offscreen platform, the floor. The game chooses its
# platform itself, as it does for a player (app/PlatformChoice.h). Installs what is missing.
# Run it on an idle machine; VANTOKE_BENCH_RUNS sets the runs a column (5 unless told).
# usage: bench/run.sh [offscreen|x11|wayland|wayland-bare]...
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/common.sh
bench=$PWD/build/default/bench/vantoke_bench
[ -x "$bench" ] || { echo "build the benchmark first: cmake --build --preset default --target vantoke_bench" >&2; exit 2; }
install_missing xvfb xauth openbox wmctrl weston xwayland libgl1-mesa-dri libegl-mesa0
columns=("$@")
[ ${#columns[@]} -gt 0 ] || columns=(offscreen x11 wayland wayland-bare)

# A session of its own: no display of the caller's, a runtime directory, and fresh caches.
session() (
    runtime=$(mktemp -d)
    chmod 700 "$runtime"
    trap 'rm -rf "$runtime"' EXIT
    exec env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u XDG_SESSION_TYPE XDG_RUNTIME_DIR="$runtime" "$@"
)

on_weston() {
    weston --backend=headless-backend.so --socket=wayland-bench --idle-time=0 --width=1280 --height=1024 --xwayland \
        >"$XDG_RUNTIME_DIR/weston.log" 2>&1 &
    local weston=$! display=
    for _ in $(seq 100); do
        display=$(sed -n 's/.*xserver listening on display \(:[0-9]*\).*/\1/p' "$XDG_RUNTIME_DIR/weston.log")
        [ -S "$XDG_RUNTIME_DIR/wayland-bench" ] && [ -n "$display" ] && break
        sleep 0.1
    done
    [ -n "$display" ] || { cat "$XDG_RUNTIME_DIR/weston.log" >&2; kill "$weston"; return 1; }
    local status=0
    XDG_SESSION_TYPE=wayland WAYLAND_DISPLAY=wayland-bench DISPLAY=$display "$@" || status=$?
    kill "$weston"
    return "$status"
}
export -f on_weston

for column in "${columns[@]}"; do
    echo "=== $column"
    case $column in
    offscreen) session "$bench" ;;
    x11)
        session tools/on-xvfb.sh 1280x1024x24 bash -c '. tools/common.sh; start_openbox && "$0"' "$bench"
        ;;
    wayland) session bash -c 'on_weston "$0"' "$bench" ;;
    wayland-bare) session bash -c 'QT_WAYLAND_DISABLE_WINDOWDECORATION=1 on_weston "$0"' "$bench" ;;
    *)
        echo "unknown column: $column" >&2
        exit 2
        ;;
    esac
done
