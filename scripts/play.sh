#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Vantoke developers
# SPDX-License-Identifier: MIT
# Builds Vantoke and starts it, installing what a fresh Debian 12 or 13 machine lacks. It builds
# what installing needs too (the manual page, the changelog), and installs what CPack needs to
# make the Debian package, so that README.md's install commands work after it.
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/common.sh

install_missing dpkg-dev file
cmake --preset default
cmake --build --preset default --target vantoke vantoke_documents
exec build/default/app/vantoke
