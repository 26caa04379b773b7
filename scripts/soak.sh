#!/usr/bin/env bash
# Soak run: a balance streaming as fast as the reading worker takes its lines, through the
# worker and the keystroke engine (recording injector), for a given time. Prints lines per
# second, resident memory at start, after warm-up and at the end, and any lost or reordered
# line; exits 1 when a line was lost, reordered or mistyped, or a key stayed pressed.
#
# Usage: scripts/soak.sh [SECONDS=600] [BUILD_DIR=build/release] [harness options...]
#   e.g. scripts/soak.sh 180, or scripts/soak.sh 600 build/release --demo
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}
build=${2:-build/release}
shift $(( $# > 2 ? 2 : $# ))
if [ ! -f "$build/CMakeCache.txt" ]; then
    preset=$(basename "$build")
    cmake --preset "$preset" >/dev/null
fi
cmake --build "$build" -j2 --target soak_harness >/dev/null
exec "$build/bin/soak_harness" --seconds "$seconds" "$@"
