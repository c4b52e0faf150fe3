#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Vantoke developers
# SPDX-License-Identifier: MIT
# Follows README.md as a new user would, on a machine where installing can harm nothing (CI's
# fresh Debian root, after the test command prepared it): in a new clone, the command that builds
# and starts the game, whose window must show and close; then each install block exactly as the
# README prints it, the installed program started the same way, and the package removed by the
# README's own command. Needs root, and what tests/window-check.sh needs.
# usage: follow-docs.sh
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/common.sh
[ "$(id -u)" -eq 0 ] || { echo "follow-docs.sh installs into this machine: run it in a root of its own, as root" >&2; exit 2; }
# A root of debootstrap's has no sudo; as root, the README's sudo only runs the command.
if ! command -v sudo >/dev/null; then
    sudo() { "$@"; }
    export -f sudo
fi
readme=$PWD/README.md
window_check=$PWD/tests/window-check.sh

# Runs a block of the README as it stands, answering yes where apt asks.
follow() {
    local commands
    commands=$(doc_block "$readme" "$1")
    [ -n "$commands" ] || { echo "README.md: no commands after \"$1\"" >&2; exit 1; }
    echo "README, after \"$1\":"
    sed 's/^/    /' <<<"$commands"
    bash -euc "$commands" < <(yes)
}
started() {
    bash "$window_check" "$1" || { echo "$1 did not start and close cleanly" >&2; exit 1; }
    echo "$1: showed its window and closed"
}

clone=$(mktemp -d)
trap 'rm -rf "$clone"' EXIT
git clone -q . "$clone/vantoke"
cd "$clone/vantoke"
echo "README: bash scripts/play.sh, in a new clone"
VANTOKE_WINDOW_WAIT=1200 bash "$window_check" bash scripts/play.sh

follow "**As a Debian package"
started /usr/games/vantoke
remove=$(sed -n 's/.*Remove it with `\([^`]*\)`.*/\1/p' "$readme")
[ -n "$remove" ] || { echo "README.md: no command to remove the package" >&2; exit 1; }
echo "README: $remove"
bash -euc "$remove" < <(yes)
! dpkg-query -W -f='${db:Status-Abbrev}' vantoke 2>/dev/null | grep -q '^ii' || { echo "vantoke is still installed" >&2; exit 1; }

follow "**From source**"
started /usr/local/games/vantoke
grep -qx 'Exec=/usr/local/games/vantoke' /usr/local/share/applications/org.vantoke.Vantoke.desktop ||
    { echo "the installed desktop entry does not start /usr/local/games/vantoke" >&2; exit 1; }
[ -f /usr/local/share/man/man6/vantoke.6.gz ] || { echo "no manual page in /usr/local" >&2; exit 1; }
echo "README: every command followed"
