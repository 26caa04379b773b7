#!/usr/bin/env bash
# Throughput of the reading pipeline: tallyra-cli replay of a 100,000-line balance capture, and
# beside it, over the same file, grep -oP with the value pattern, as the measure of what merely
# reading the file and finding the values costs. Each is run RUNS times; the fastest run counts.
# Prints both, the lines per second of the replay and the ratio of the two times.
# Usage: bench/replay-throughput.sh [BUILD_DIR] [LINES] [RUNS]   (defaults build/release 100000 5)
set -euo pipefail
build=${1:-build/release}
lines=${2:-100000}
runs=${3:-5}
cli="$build/bin/tallyra-cli"
[ -x "$cli" ] || { echo "replay-throughput.sh: $cli not built" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
capture="$work/capture.bin"
python3 - "$capture" "$lines" <<'PY'
import sys
with open(sys.argv[1], "wb") as f:
    for i in range(int(sys.argv[2])):
        f.write(b"ST,%+010.2f  g\r\n" % ((i % 5000) / 7.0))
PY

# Seconds of the fastest of $runs runs of the command; its output lines go to $work/count.
fastest() {
    local best=""
    for _ in $(seq "$runs"); do
        local start end
        start=$(date +%s.%N)
        "$@" | wc -l > "$work/count"
        end=$(date +%s.%N)
        best=$(python3 -c "import sys; t=float(sys.argv[2])-float(sys.argv[1]); b=sys.argv[3]; print(t if not b or t < float(b) else b)" "$start" "$end" "$best")
    done
    echo "$best"
}

echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
replay=$(fastest "$cli" replay "$capture" 2>/dev/null)
replayed=$(cat "$work/count")
grepped_time=$(fastest grep -oP 'ST,\s*([-+]?\d+\.\d+)' "$capture")
grepped=$(cat "$work/count")
echo "load average after:  $(cut -d' ' -f1-3 /proc/loadavg)"
python3 - "$replayed" "$replay" "$grepped" "$grepped_time" <<'PY'
import sys
lines, t, glines, g = int(sys.argv[1]), float(sys.argv[2]), int(sys.argv[3]), float(sys.argv[4])
print(f"replay: {lines} lines in {t:.3f} s: {lines / t:,.0f} lines per second")
print(f"grep -oP: {glines} values in {g:.3f} s")
print(f"replay takes {t / g:.2f} times the time of grep")
PY
