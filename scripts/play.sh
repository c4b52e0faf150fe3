#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Vantoke developers
# SPDX-License-Identifier: MIT
# Builds Vantoke and starts it, installing what a fresh Debian 12 or 13 machine lacks.
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/common.sh

install_missing
cmake --preset default
cmake --build --preset default --target vantoke
exec build/default/app/vantoke
