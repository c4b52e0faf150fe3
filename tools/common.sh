# SPDX-FileCopyrightText: 2026 The Vantoke developers
# SPDX-License-Identifier: MIT
# Shell helpers shared by the scripts in scripts/, .ci/, packaging/ and tests/; source it.

# Runs a command as root: directly when root already, through sudo otherwise.
as_root() {
    if [ "$(id -u)" -eq 0 ]; then
        "$@"
    else
        sudo "$@"
    fi
}

# Installs, with apt-get, whichever of the build's packages and of those named this Debian 12 or
# 13 machine lacks. qt6-wayland lets the game run natively in a Wayland session.
install_missing() {
    local package missing=()
    for package in g++ cmake ninja-build qt6-base-dev qt6-wayland fonts-dejavu-core "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'ok installed' || missing+=("$package")
    done
    [ ${#missing[@]} -gt 0 ] || return 0
    echo "Installing: ${missing[*]}"
    # CI's parts run side by side, and take turns with apt.
    local turn=()
    ! command -v flock >/dev/null || turn=(flock /var/lock/vantoke-apt)
    as_root "${turn[@]}" apt-get update
    as_root "${turn[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
}

# The Debian mirror this machine installs from.
apt_mirror() {
    local mirror
    mirror=$(awk '/^URIs:/{print $2; exit}' /etc/apt/sources.list.d/*.sources 2>/dev/null || true)
    [ -n "$mirror" ] || mirror=$(awk '/^deb /{print $2; exit}' /etc/apt/sources.list)
    echo "$mirror"
}

# Starts the openbox window manager on $DISPLAY in the background, and waits (20 s at most) until
# it manages the screen; fails, saying so and with what openbox said, when it does not.
start_openbox() {
    local log openbox start=$SECONDS failure=
    log=$(mktemp)
    openbox >"$log" 2>&1 &
    openbox=$!
    until [ -n "$failure" ] || wmctrl -m >/dev/null 2>&1; do
        if ! kill -0 "$openbox" 2>/dev/null; then
            failure="exited before it managed the screen of $DISPLAY"
        elif [ $((SECONDS - start)) -ge 20 ]; then
            failure="did not manage the screen of $DISPLAY within 20 s"
        fi
        sleep 0.05
    done
    [ -z "$failure" ] || echo "openbox $failure: $(cat "$log")" >&2
    rm -f "$log"
    [ -z "$failure" ]
}

# XWayland's socket folder, root's and sticky, as a desktop's boot makes it: without it mutter 48
# does not start XWayland, and weston 14 crashes.
make_x11_socket_dir() {
    [ -d /tmp/.X11-unix ] || as_root install -d -m 1777 /tmp/.X11-unix
}

# The commands a document prints: the indented block after the first line of FILE that holds
# TEXT, without the indent. Tests run the docs' commands from here, so the two cannot drift apart.
# usage: doc_block FILE TEXT
doc_block() {
    awk -v text="$2" 'found && /^    / {print substr($0, 5); shown = 1; next}
        found && shown {exit}
        index($0, text) {found = 1}' "$1"
}
