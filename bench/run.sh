#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Vantoke developers
# SPDX-License-Identifier: MIT
# Runs the benchmark (build/default/bench/vantoke_bench, Release or RelWithDebInfo) on each display
# a player has, each time on a server of its own: "x11", an X server (Xvfb) with a window manager
# (openbox), which draws the title bar, with its screen in a file for the benchmark to watch;
# "wayland", weston with its desktop shell, which draws no title bar, so the game (or, through
# XWayland, weston) does, with Mesa installed as every desktop has it, and its timeline logged.
# "wayland-bare" is the same with the title bar switched off, to compare with, and "offscreen" Qt's
# offscreen platform, the floor. "gnome" is GNOME's own compositor, mutter, headless with a virtual
# monitor, in a D-Bus session, with XWayland and its authority as a GNOME session hands them on.
# "kde" is KDE Plasma's, KWin, on its virtual backend with XWayland, its plugins and its Breeze
# title bars. The game chooses its platform itself, as it does for a player (app/PlatformChoice.h).
# Installs what is missing. Run it on an idle machine; VANTOKE_BENCH_RUNS sets the runs a column (5
# unless told).
# usage: bench/run.sh [offscreen|x11|wayland|wayland-bare|gnome|kde]...
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/common.sh
bench=$PWD/build/default/bench/vantoke_bench
[ -x "$bench" ] || { echo "build the benchmark first: cmake --preset default && cmake --build --preset default --target vantoke_bench" >&2; exit 2; }
install_missing xvfb xauth x11-utils openbox wmctrl weston xwayland libgl1-mesa-dri libegl-mesa0 mutter dbus-daemon \
    kwin-wayland kwin-common kwin-style-breeze
columns=("$@")
[ ${#columns[@]} -gt 0 ] || columns=(offscreen x11 wayland wayland-bare gnome kde)

# A session of its own: no display of the caller's, a runtime directory, and fresh caches.
session() (
    runtime=$(mktemp -d)
    chmod 700 "$runtime"
    trap 'rm -rf "$runtime"' EXIT
    exec env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u XDG_SESSION_TYPE XDG_RUNTIME_DIR="$runtime" "$@"
)

on_weston() {
    # The timeline scope logs each commit and repaint, from which the benchmark tells when the
    # game's frames reached the screen.
    weston --backend=headless-backend.so --socket=wayland-bench --idle-time=0 --width=1280 --height=1024 --xwayland \
        --logger-scopes=log,timeline --log="$XDG_RUNTIME_DIR/weston.log" >"$XDG_RUNTIME_DIR/weston.out" 2>&1 &
    local weston=$! display=
    for _ in $(seq 100); do
        display=$(sed -n 's/.*xserver listening on display \(:[0-9]*\).*/\1/p' "$XDG_RUNTIME_DIR/weston.log" 2>/dev/null)
        [ -S "$XDG_RUNTIME_DIR/wayland-bench" ] && [ -n "$display" ] && break
        sleep 0.1
    done
    [ -n "$display" ] || { cat "$XDG_RUNTIME_DIR"/weston.{out,log} >&2; kill "$weston"; return 1; }
    # weston starts XWayland for the session's first X program. Timed apart, with a program that
    # only connects, so that the benchmark's first start is the game's share alone.
    local before after
    before=$(date +%s%N)
    DISPLAY=$display xdpyinfo >/dev/null || { cat "$XDG_RUNTIME_DIR"/weston.{out,log} >&2; kill "$weston"; return 1; }
    after=$(date +%s%N)
    echo "XWayland's start, for the session's first X program: $(((after - before) / 1000000)) ms"
    local status=0
    XDG_SESSION_TYPE=wayland WAYLAND_DISPLAY=wayland-bench DISPLAY=$display \
        VANTOKE_BENCH_TIMELINE="$XDG_RUNTIME_DIR/weston.log" "$@" || status=$?
    kill "$weston"
    return "$status"
}
export -f on_weston

# Needs a D-Bus session. KWin hands the program it starts for the session the display variables
# of its XWayland; that program keeps them and waits. Where the machine refuses to run
# kwin_wayland itself, the loader runs it (why: docs/performance.md, "KWin in a container").
on_kwin() {
    local kwin=(kwin_wayland)
    kwin_wayland --version >/dev/null 2>&1 || kwin=(env KWIN_FORCE_OWN_QPA=1 /lib64/ld-linux-x86-64.so.2 "$(command -v kwin_wayland)")
    local session=$XDG_RUNTIME_DIR/session.sh
    printf '#!/bin/sh\nenv | grep -E "^(DISPLAY|XAUTHORITY)=" >"$XDG_RUNTIME_DIR/session.env"\nexec sleep infinity\n' >"$session"
    chmod +x "$session"
    XDG_CURRENT_DESKTOP=KDE "${kwin[@]}" --virtual --width 1280 --height 1024 --socket wayland-bench --xwayland \
        --exit-with-session="$session" >"$XDG_RUNTIME_DIR/kwin.log" 2>&1 &
    local kwin_pid=$!
    for _ in $(seq 100); do
        [ -S "$XDG_RUNTIME_DIR/wayland-bench" ] && grep -q '^DISPLAY=' "$XDG_RUNTIME_DIR/session.env" 2>/dev/null && break
        sleep 0.1
    done
    grep -q '^DISPLAY=' "$XDG_RUNTIME_DIR/session.env" 2>/dev/null || { cat "$XDG_RUNTIME_DIR/kwin.log" >&2; kill "$kwin_pid"; return 1; }
    local status=0
    env $(cat "$XDG_RUNTIME_DIR/session.env") XDG_CURRENT_DESKTOP=KDE XDG_SESSION_TYPE=wayland \
        WAYLAND_DISPLAY=wayland-bench "$@" || status=$?
    kill "$kwin_pid"
    return "$status"
}
export -f on_kwin

make_x11_socket_dir

for column in "${columns[@]}"; do
    echo "=== $column"
    case $column in
    offscreen) session "$bench" ;;
    x11)
        session tools/on-xvfb.sh --framebuffer 1280x1024x24 \
            bash -c '. tools/common.sh; start_openbox && VANTOKE_BENCH_FRAMEBUFFER=$XVFB_FRAMEBUFFER "$0"' "$bench"
        ;;
    wayland) session bash -c 'on_weston "$0"' "$bench" ;;
    wayland-bare) session bash -c 'QT_WAYLAND_DISABLE_WINDOWDECORATION=1 on_weston "$0"' "$bench" ;;
    gnome) session tools/on-mutter.sh 1280x1024 "$bench" ;;
    kde) session dbus-run-session -- bash -c 'on_kwin "$0"' "$bench" ;;
    *)
        echo "unknown column: $column" >&2
        exit 2
        ;;
    esac
done
