#!/usr/bin/env bash
# Throughput of the reading pipeline: tallyra-cli replay of a 100,000-line balance capture.
# Usage: bench/replay-throughput.sh [BUILD_DIR] [LINES]
set -euo pipefail
build=${1:-build/release}
lines=${2:-100000}
capture=$(mktemp)
trap 'rm -f "$capture"' EXIT
python3 - "$capture" "$lines" <<'PY'
import sys
with open(sys.argv[1], "wb") as f:
    for i in range(int(sys.argv[2])):
        f.write(b"ST,%+010.2f  g\r\n" % ((i % 5000) / 7.0))
PY
start=$(date +%s.%N)
"$build/bin/tallyra-cli" replay "$capture" 2>/dev/null | wc -l > /tmp/replay-count.$$
end=$(date +%s.%N)
count=$(cat /tmp/replay-count.$$); rm -f /tmp/replay-count.$$
python3 -c "import sys; c=int(sys.argv[1]); t=float(sys.argv[3])-float(sys.argv[2]); print(f'{c} lines in {t:.2f} s: {c/t:,.0f} lines per second')" "$count" "$start" "$end"
