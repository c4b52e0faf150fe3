#!/usr/bin/env bash
# Builds Vantoke and runs all its tests, installing what a fresh Debian 12 machine lacks.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake --preset default
cmake --build --preset default
ctest --preset default
