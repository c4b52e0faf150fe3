#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Vantoke developers
# SPDX-License-Identifier: MIT
# Starts the given command on a virtual X server with the openbox window manager, waits for a
# window named "Vantoke" to show (30 seconds, or VANTOKE_WINDOW_WAIT for a command that builds
# first), closes it through the window manager, and expects the command to exit with status 0
# within 30 seconds; one that does not is killed, and the check fails.
# Needs Xvfb, xauth, xdotool, wmctrl and openbox.
# usage: window-check.sh COMMAND [ARGUMENT...]
set -euo pipefail
common=$(dirname "$(realpath "$0")")/../tools/common.sh
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -m 700 "$scratch/runtime"
export XDG_RUNTIME_DIR=$scratch/runtime
"$(dirname "$common")/on-xvfb.sh" 1024x768x24 bash -c '
    set -u
    . "$0"
    start_openbox || exit 1
    "$@" & pid=$!
    for _ in $(seq $((${VANTOKE_WINDOW_WAIT:-30} * 10))); do
        xdotool search --onlyvisible --name "^Vantoke\$" >/dev/null 2>&1 && break
        sleep 0.1
    done
    xdotool search --onlyvisible --name "^Vantoke\$" >/dev/null ||
        { echo "no Vantoke window appeared within ${VANTOKE_WINDOW_WAIT:-30} s"; kill -9 $pid; exit 1; }
    wmctrl -c Vantoke
    for _ in $(seq 300); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
    if kill -0 $pid 2>/dev/null; then
        echo "the program was still running 30 s after its window was closed"
        kill -9 $pid
        exit 1
    fi
    wait $pid' "$common" "$@"
