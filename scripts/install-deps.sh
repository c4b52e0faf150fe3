#!/usr/bin/env bash
# Installs, with apt-get, whichever of the build's packages (and any named on the command line)
# this Debian 12 or 13 machine lacks. Runs apt-get as root, through sudo when not root already.
# qt6-wayland lets the game run natively in a Wayland session.
set -euo pipefail

packages=(g++ cmake ninja-build qt6-base-dev qt6-wayland fonts-dejavu-core "$@")
missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'ok installed' || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
echo "Installing: ${missing[*]}"
"${as_root[@]}" apt-get update
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
