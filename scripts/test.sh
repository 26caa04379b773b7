#!/usr/bin/env bash
# Installs what is missing, builds the debug configuration and runs the whole test suite
# (unit, GUI, end-to-end, slow and package tests), then prints the CTest summary.
# Extra arguments are passed to ctest (for example -L unit, or -LE 'e2e|slow|package').
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh
cmake --preset debug >/dev/null
cmake --build --preset debug -j "$(nproc)"
ctest --preset debug -j "$(nproc)" --timeout 600 "$@"
