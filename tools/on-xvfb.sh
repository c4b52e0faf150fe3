#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Vantoke developers
# SPDX-License-Identifier: MIT
# Runs a command on an Xvfb server of its own, with a cookie of its own, and stops the server when
# the command ends; exits with the command's status. The server picks a free display number
# itself (-displayfd). xvfb-run -a picks one from the lock files in /tmp, which a server that is
# stopping removes even when a new server has taken its number; when suites start and stop side
# by side, a command then meets another run's server and is refused. -noreset: by default the
# server resets when its last client leaves, and refuses a client that connects meanwhile, as
# one does when the window manager starts while another client is polling for it.
# With --framebuffer, the server keeps its screen in a file in XWD's format (-fbdir), in memory
# (/dev/shm) where it can, and the command finds the file's path in XVFB_FRAMEBUFFER.
# usage: on-xvfb.sh [--framebuffer] WIDTHxHEIGHTxDEPTH COMMAND [ARGUMENT...]
set -euo pipefail
framebuffer=()
fbdir=
xvfb=
cleanup() {
    if [ -n "$xvfb" ]; then
        kill "$xvfb" 2>/dev/null || true
        wait "$xvfb" 2>/dev/null || true
    fi
    rm -rf "$dir"
    [ -z "$fbdir" ] || rm -rf "$fbdir"
}
dir=$(mktemp -d)
trap cleanup EXIT
if [ "$1" = --framebuffer ]; then
    shift
    fbdir=$(mktemp -d -p /dev/shm 2>/dev/null || mktemp -d)
    framebuffer=(-fbdir "$fbdir")
    export XVFB_FRAMEBUFFER=$fbdir/Xvfb_screen0
fi
screen=$1
shift

# The server takes every cookie in its file, whatever display the entry names; the client's
# entry names the display once it is known.
cookie=$(od -An -N16 -tx1 /dev/urandom | tr -d ' \n')
export XAUTHORITY=$dir/Xauthority
touch "$XAUTHORITY"
xauth add :0 . "$cookie"
Xvfb -displayfd 3 -screen 0 "$screen" "${framebuffer[@]}" -nolisten tcp -noreset -auth "$XAUTHORITY" 3>"$dir/display" \
    >"$dir/xvfb.log" 2>&1 &
xvfb=$!
start=$SECONDS
until grep -q '^[0-9][0-9]*$' "$dir/display"; do
    if ! kill -0 "$xvfb" 2>/dev/null; then
        echo "Xvfb exited before it took a display: $(cat "$dir/xvfb.log")" >&2
        exit 1
    fi
    if [ $((SECONDS - start)) -ge 30 ]; then
        echo "Xvfb took no display within 30 s" >&2
        exit 1
    fi
    sleep 0.05
done
export DISPLAY=:$(cat "$dir/display")
xauth add "$DISPLAY" . "$cookie"
"$@"
