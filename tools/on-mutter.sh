#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Vantoke developers
# SPDX-License-Identifier: MIT
# Runs a command in a GNOME session of its own: GNOME's compositor, mutter, headless with a
# virtual monitor, on a D-Bus session bus of its own, with XWayland started on demand and its
# authority handed on as a GNOME session hands them; stops mutter when the command ends and exits
# with the command's status. Needs XDG_RUNTIME_DIR, private to the caller, and /tmp/.X11-unix
# (make_x11_socket_dir in tools/common.sh).
# usage: on-mutter.sh WIDTHxHEIGHT COMMAND [ARGUMENT...]
set -euo pipefail
if [ "${1:-}" != --on-bus ]; then
    [ -n "${XDG_RUNTIME_DIR:-}" ] || { echo "on-mutter.sh: XDG_RUNTIME_DIR is not set" >&2; exit 2; }
    exec dbus-run-session -- "$0" --on-bus "$@"
fi
shift
monitor=$1
shift
log=$XDG_RUNTIME_DIR/mutter.log
XDG_CURRENT_DESKTOP=GNOME mutter --headless --wayland --wayland-display=wayland-gnome \
    --virtual-monitor "$monitor" >"$log" 2>&1 &
mutter=$!
trap 'kill "$mutter" 2>/dev/null || true; wait "$mutter" 2>/dev/null || true' EXIT
display= authority= start=$SECONDS
until [ -S "$XDG_RUNTIME_DIR/wayland-gnome" ] && [ -n "$display" ] && [ -n "$authority" ]; do
    if ! kill -0 "$mutter" 2>/dev/null || [ $((SECONDS - start)) -ge 30 ]; then
        echo "mutter did not offer Wayland and XWayland within 30 s: $(cat "$log")" >&2
        exit 1
    fi
    sleep 0.05
    display=$(sed -n 's/.*Using public X11 display \(:[0-9]*\).*/\1/p' "$log")
    authority=$(find "$XDG_RUNTIME_DIR" -maxdepth 1 -name '.mutter-Xwaylandauth.*' | head -n 1)
done
export XDG_CURRENT_DESKTOP=GNOME XDG_SESSION_TYPE=wayland WAYLAND_DISPLAY=wayland-gnome DISPLAY=$display \
    XAUTHORITY=$authority
status=0
"$@" || status=$?
exit "$status"
